#include "conduit-framework/sync_state.h"

#include "conduit-framework/main_db_format.h"

namespace brevora::conduit {

namespace fmt = conduit_format;

std::optional<SyncState> SyncState::Parse(std::span<const uint8_t> bytes) {
  if (bytes.size() < fmt::kSyncStateSize || bytes.size() > fmt::kSyncStateSize + fmt::kMaxPadding) {
    return std::nullopt;
  }
  auto word = [&](std::size_t i) {
    return static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  };
  return SyncState{word(0), word(1), word(2), word(3), word(4)};
}

std::vector<uint8_t> SyncState::Bytes() const {
  std::vector<uint8_t> bytes;
  for (const uint16_t w : {syncedBefore, pendingNewDesktop, pendingMode, pendingSlow, reserved}) {
    bytes.push_back(static_cast<uint8_t>(w));
    bytes.push_back(static_cast<uint8_t>(w >> 8));
  }
  return bytes;
}

}  // namespace brevora::conduit
