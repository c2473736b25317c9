#include "core/database_record.h"

#include "platform/error/error.h"
#include "platform/hotsync/database_format.h"

namespace brevora::core {

std::string DatabaseRecord::DataText() const { return std::string(data_.begin(), data_.end()); }

void DatabaseRecord::SetDataText(std::string_view text) {
  SetData(std::vector<uint8_t>(text.begin(), text.end()));
}

void DatabaseRecord::SetData(std::vector<uint8_t> data) {
  owned_ = std::move(data);
  file_.reset();
  data_ = owned_;
}

void DatabaseRecord::SetDataSlice(std::shared_ptr<const std::vector<uint8_t>> file,
                                  std::size_t offset, std::size_t length) {
  if (offset > file->size() || length > file->size() - offset) RaiseRuntimeError(9);
  data_ = std::span<const uint8_t>(*file).subspan(offset, length);
  file_ = std::move(file);
  owned_ = {};
}

void DatabaseRecord::SetUniqueID(int32_t id) {
  if (id < 0) RaiseRuntimeError(6);
  uniqueID_ = static_cast<uint32_t>(id) & hotsync::database_format::kMaxUniqueID;
}

}  // namespace brevora::core
