#pragma once
// HandheldDatabaseReader: fills a HandheldDatabase from the bytes of its file.
// The file is taken apart by the handheld database file reader
// (platform/hotsync/database_reader.h); the constructor raises 321 "Invalid
// file format" when that reader refuses it. Nothing outside `file` is ever
// read; records read share `file` for their data.
//
// A read without record data needs only the start of the file (header, record
// list and blocks: hotsync::DatabaseReader::HeadSize bytes); the reader is then
// given those bytes and the size of the whole file, which the offsets are
// checked against.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/hotsync/database_reader.h"

namespace brevora::core {

class HandheldDatabase;

class HandheldDatabaseReader {
 public:
  explicit HandheldDatabaseReader(std::shared_ptr<const std::vector<uint8_t>> file);
  // `start` holds the first bytes of a file of `fileSize` bytes, at least
  // HeadSize of them (else 321); only Fill without data may be used.
  HandheldDatabaseReader(std::shared_ptr<const std::vector<uint8_t>> start, uint64_t fileSize);
  HandheldDatabaseReader(const HandheldDatabaseReader&) = delete;
  HandheldDatabaseReader& operator=(const HandheldDatabaseReader&) = delete;

  // Replaces everything `db` holds by the file's contents; each record's data
  // runs to the next record's data (or the end of the file) and may be empty.
  // With readData false the records get no data; with it true the reader must
  // hold the whole file (else 321). Records are keyed "K<id>"
  // (the first of a duplicate id only); with `keyed` false none is. Raises only
  // on lack of memory, and then leaves `db` unchanged.
  void Fill(HandheldDatabase& db, bool readData, bool keyed = true) const;

 private:
  std::shared_ptr<const std::vector<uint8_t>> file_;
  uint64_t fileSize_ = 0;
  hotsync::DatabaseLayout layout_;
};

}  // namespace brevora::core
