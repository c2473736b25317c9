#include "office/link_settings.h"

#include "platform/error/error.h"

namespace brevora::office {

namespace {
constexpr int32_t kLastSyncValue = 3;
}

std::string LinkSettings::SyncMethodText(int32_t method) const {
  switch (method) {
    case 1:
      return "Palm to " + std::string(office_);
    case 2:
      return std::string(office_) + " to Palm";
    case 3:
      return "Do Nothing";
    default:
      return "Synchronize";
  }
}

int16_t LinkSettings::SyncMethodFromText(std::string_view text) const {
  for (int16_t method = 0; method <= kLastSyncValue; ++method) {
    if (text == SyncMethodText(method)) return method;
  }
  return 0;
}

void LinkSettings::CheckSyncValue(int32_t value, std::string_view what) const {
  if (value < 0 || value > kLastSyncValue) {
    RaiseError(kWrapError, std::string(source_),
               "Invalid " + std::string(what) + ".  Must be between 0 and 3");
  }
}

}  // namespace brevora::office
