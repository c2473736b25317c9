#pragma once
// DatabaseWriter: the one writer of handheld database files (layout in
// database_format.h). It lays out a database and writes the bytes of its file:
// the header, the record list and its two-byte filler, the app-info and
// sort-info blocks, then the records' data one after the other. A database
// without blocks or records is its header alone.
//
// Aligned placement (the connectivity core's HandheldDatabase files) puts each
// block and the first record at the next multiple of 4; the zero bytes in
// between then read back as the end of the block before them, since a block
// runs to whatever comes next. Packed placement (the device folder's files)
// puts everything back to back, so the blocks read back at their exact sizes.
//
// The constructor plans the layout and refuses, with AutomationError 6
// (overflow), more than 65,535 records or a file of 4 GiB or more; a caller
// with errors of its own maps that one. The writer refers to the blocks' and
// records' bytes, which must outlive it.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/hotsync/database_reader.h"

namespace brevora::hotsync {

class DatabaseWriter {
 public:
  struct Record {
    uint8_t attributes = 0;
    uint32_t uniqueID = 0;  // the low 24 bits are written
    std::span<const uint8_t> data;
  };

  enum class Placement { Aligned, Packed };

  DatabaseWriter(const DatabaseHeader& header, std::span<const uint8_t> appInfo,
                 std::span<const uint8_t> sortInfo, std::vector<Record> records,
                 Placement placement = Placement::Aligned);
  DatabaseWriter(const DatabaseWriter&) = delete;
  DatabaseWriter& operator=(const DatabaseWriter&) = delete;

  // The header as written: record count and block offsets filled in.
  const DatabaseHeader& header() const { return header_; }
  // Where each record's data lands.
  const std::vector<uint32_t>& dataOffsets() const { return dataOffsets_; }
  uint64_t size() const { return size_; }

  // Hands the file's bytes to `sink` in order, in few large pieces (small
  // ones gathered into pieces of up to 256 KiB, larger ones as they are).
  void WriteTo(const std::function<void(std::span<const uint8_t>)>& sink) const;
  std::vector<uint8_t> Bytes() const;

 private:
  DatabaseHeader header_;
  std::span<const uint8_t> appInfo_;
  std::span<const uint8_t> sortInfo_;
  std::vector<Record> records_;
  std::vector<uint32_t> dataOffsets_;
  uint64_t size_ = 0;
};

}  // namespace brevora::hotsync
