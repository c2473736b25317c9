#pragma once
// HandheldDatabaseReader: takes apart the bytes of a whole handheld database file.
// The constructor checks the structure and raises 321 "Invalid file format" when
// it does not hold together: a file shorter than its header, a record list past
// the end of the file, a block or record offset inside the header or record
// list, past the end of the file, or out of order (app-info, sort-info, records).
// An app-info or sort-info offset past the end of the file counts as no block.
// Nothing outside `file` is ever read; records read share `file` for their data.
//
// A read without record data needs only the start of the file (header, record
// list and blocks: HeaderPartSize bytes); the reader is then given those bytes
// and the size of the whole file, which the offsets are checked against.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace brevora::core {

class HandheldDatabase;

class HandheldDatabaseReader {
 public:
  explicit HandheldDatabaseReader(std::shared_ptr<const std::vector<uint8_t>> file);
  // `start` holds the first bytes of a file of `fileSize` bytes, at least
  // HeaderPartSize of them (else 321); only Fill without data may be used.
  HandheldDatabaseReader(std::shared_ptr<const std::vector<uint8_t>> start, std::size_t fileSize);

  // How many bytes from the start a read without record data needs, given the
  // first bytes of the file (the header and the first record entry, or all of
  // a shorter file) and its size: everything before the first record's data,
  // at least the record list, at most the file.
  static std::size_t HeaderPartSize(std::span<const uint8_t> first, std::size_t fileSize);
  // The first bytes HeaderPartSize looks at.
  static constexpr std::size_t kFirstBytes = 78 + 8;
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
  struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
  };

  std::shared_ptr<const std::vector<uint8_t>> file_;
  std::size_t fileSize_ = 0;
  uint32_t appInfoID_ = 0;
  uint32_t sortInfoID_ = 0;
  Range appInfo_;
  Range sortInfo_;
  std::vector<Range> records_;
};

}  // namespace brevora::core
