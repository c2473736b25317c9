#pragma once
// PdbReader: takes apart the bytes of a whole handheld database file.
// The constructor checks the structure and raises 321 "Invalid file format" when
// it does not hold together: a file shorter than its header, a record list past
// the end of the file, a block or record offset inside the header or record
// list, past the end of the file, or out of order (app-info, sort-info, records).
// An app-info or sort-info offset past the end of the file counts as no block.
// Nothing outside `file` is ever read; records read share `file` for their data.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace brevora::core {

class pdb;

class PdbReader {
 public:
  explicit PdbReader(std::shared_ptr<const std::vector<uint8_t>> file);
  PdbReader(const PdbReader&) = delete;
  PdbReader& operator=(const PdbReader&) = delete;

  // Replaces everything `db` holds by the file's contents; each record's data
  // runs to the next record's data (or the end of the file) and may be empty.
  // With readData false the records get no data. Records are keyed "K<id>"
  // (the first of a duplicate id only); with `keyed` false none is. Raises only
  // on lack of memory, and then leaves `db` unchanged.
  void Fill(pdb& db, bool readData, bool keyed = true) const;

 private:
  struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
  };

  std::shared_ptr<const std::vector<uint8_t>> file_;
  uint32_t appInfoID_ = 0;
  uint32_t sortInfoID_ = 0;
  Range appInfo_;
  Range sortInfo_;
  std::vector<Range> records_;
};

}  // namespace brevora::core
