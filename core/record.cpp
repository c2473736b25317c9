#include "core/record.h"

#include "platform/error/error.h"
#include "platform/hotsync/database_format.h"

namespace brevora::core {

std::string record::recordData() const { return std::string(data_.begin(), data_.end()); }

void record::SetRecordData(std::string_view text) {
  SetRecordDataB(std::vector<uint8_t>(text.begin(), text.end()));
}

void record::SetRecordDataB(std::vector<uint8_t> data) {
  owned_ = std::move(data);
  file_.reset();
  data_ = owned_;
}

void record::SetRecordDataSlice(std::shared_ptr<const std::vector<uint8_t>> file,
                                std::size_t offset, std::size_t length) {
  if (offset > file->size() || length > file->size() - offset) RaiseRuntimeError(9);
  data_ = std::span<const uint8_t>(*file).subspan(offset, length);
  file_ = std::move(file);
  owned_ = {};
}

void record::SetUniqueID(int32_t id) {
  if (id < 0) RaiseRuntimeError(6);
  uniqueID_ = static_cast<uint32_t>(id) & hotsync::database_format::kMaxUniqueID;
}

std::array<uint8_t, 3> record::UniqueIDBytes() const {
  std::array<uint8_t, 3> bytes{};
  hotsync::database_format::PutU24(bytes.data(), uniqueID_);
  return bytes;
}

void record::SetUniqueIDBytes(std::span<const uint8_t, 3> bytes) {
  uniqueID_ = hotsync::database_format::GetU24(bytes.data());
}

}  // namespace brevora::core
