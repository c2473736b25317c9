#pragma once
// The property file's reader and writer (property_file_format.h). Each call
// opens the file, works through its records from the first and closes it; the
// file is shared with other users and not locked (the last record written
// wins). The file must exist: these calls never create one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brevora::frontend {

// Reads the records of a property file in order.
class PropertyFileReader {
 public:
  struct Found {
    uint64_t index;     // the record's number, from 0
    std::string value;  // blanks trimmed at both ends
  };

  // `path` is a system path of an existing file; file errors are raised.
  explicit PropertyFileReader(std::string path) : path_(std::move(path)) {}

  // The first record whose key matches `key` (KeyMatches); nullopt when none does.
  std::optional<Found> Find(std::string_view key) const;

 private:
  std::string path_;
};

// Writes one record of a property file in place.
class PropertyFileWriter {
 public:
  explicit PropertyFileWriter(std::string path) : path_(std::move(path)) {}

  // Stores `value` under `key` (both as given, padded or cut to their fields)
  // in the first record whose key matches, else in the record after the last
  // whole one (over a partial record at the end). Returns the record's number.
  uint64_t Set(std::string_view key, std::string_view value);

 private:
  std::string path_;
};

}  // namespace brevora::frontend
