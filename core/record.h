#pragma once
// record: one record of a handheld database: its attribute byte, its 24-bit
// unique id, the offset of its data in the file (set by pdb::WriteFile, read by
// pdb::ReadFile) and its data bytes. Callers hold records by reference (RecordRef);
// the database's Records collection shares them.
// A record read from a file views its data in the file's bytes, read once and
// shared by all its records (kept alive while any of them is); giving it new data
// makes it own that data.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/word.h"
#include "platform/automation/object.h"

namespace brevora::core {

class record : public Object {
 public:
  uint8_t Attributes() const { return attributes_; }
  void SetAttributes(uint8_t attributes) { attributes_ = attributes; }

  // The offset of the record's data in the file.
  DWord& LocalChunkID() { return localChunkID_; }
  const DWord& LocalChunkID() const { return localChunkID_; }

  // The data as code-page text, one character per byte.
  std::string recordData() const;
  void SetRecordData(std::string_view text);

  // The data as bytes; the view lasts until the record's data is set again or
  // the record ends.
  std::span<const uint8_t> RecordDataB() const { return data_; }
  void SetRecordDataB(std::vector<uint8_t> data);

  // The number of data bytes; 0 when the record has no data.
  int32_t recordLength() const { return static_cast<int32_t>(data_.size()); }

  // 0 to 16,777,215. The let keeps the low 24 bits; a negative value is an
  // overflow (6).
  int32_t UniqueID() const { return static_cast<int32_t>(uniqueID_); }
  void SetUniqueID(int32_t id);

  // For the file reader and writer: the 3 unique-id bytes, most significant
  // first, and the data as a slice of the bytes of a whole file.
  std::array<uint8_t, 3> UniqueIDBytes() const;
  void SetUniqueIDBytes(std::span<const uint8_t, 3> bytes);
  void SetRecordDataSlice(std::shared_ptr<const std::vector<uint8_t>> file, std::size_t offset,
                          std::size_t length);

 private:
  uint8_t attributes_ = 0;
  uint32_t uniqueID_ = 0;
  DWord localChunkID_;
  std::vector<uint8_t> owned_;                         // data the record owns, or
  std::shared_ptr<const std::vector<uint8_t>> file_;   // the file it was read from
  std::span<const uint8_t> data_;                      // in one of them
};

// Records are held by reference: by callers and by the database's collection.
using RecordRef = Ref<record>;

}  // namespace brevora::core
