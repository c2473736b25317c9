#pragma once
// DatabaseRecord: one record of a handheld database: its attribute byte, its
// 24-bit unique id, the offset of its data in the file (set by
// HandheldDatabase::WriteFile, read by HandheldDatabase::ReadFile) and its data
// bytes. Callers hold records by reference (RecordRef); the database's Records
// collection shares them.
// A record read from a file views its data in the file's bytes, read once and
// shared by all its records (kept alive while any of them is); giving it new data
// makes it own that data.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/big_endian_number.h"
#include "platform/automation/object.h"

namespace brevora::core {

class DatabaseRecord : public Object {
 public:
  uint8_t Attributes() const { return attributes_; }
  void SetAttributes(uint8_t attributes) { attributes_ = attributes; }

  // The offset of the record's data in the file.
  BigEndian32& DataOffset() { return dataOffset_; }
  const BigEndian32& DataOffset() const { return dataOffset_; }

  // The data as code-page text, one character per byte.
  std::string DataText() const;
  void SetDataText(std::string_view text);

  // The data as bytes; the view lasts until the record's data is set again or
  // the record ends.
  std::span<const uint8_t> Data() const { return data_; }
  void SetData(std::vector<uint8_t> data);

  // The number of data bytes; 0 when the record has no data.
  int32_t DataLength() const { return static_cast<int32_t>(data_.size()); }

  // 0 to 16,777,215. The let keeps the low 24 bits; a negative value is an
  // overflow (6).
  int32_t UniqueID() const { return static_cast<int32_t>(uniqueID_); }
  void SetUniqueID(int32_t id);

  // For the file reader: the data as a slice of the bytes of a whole file.
  void SetDataSlice(std::shared_ptr<const std::vector<uint8_t>> file, std::size_t offset,
                    std::size_t length);

 private:
  uint8_t attributes_ = 0;
  uint32_t uniqueID_ = 0;
  BigEndian32 dataOffset_;
  std::vector<uint8_t> owned_;                        // data the record owns, or
  std::shared_ptr<const std::vector<uint8_t>> file_;  // the file it was read from
  std::span<const uint8_t> data_;                     // in one of them
};

// Records are held by reference: by callers and by the database's collection.
using RecordRef = Ref<DatabaseRecord>;

}  // namespace brevora::core
