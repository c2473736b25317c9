#pragma once
// SyncState: what the conduit keeps between runs in its main database's
// sort-info block (main_db_format.h): five 16-bit words, little-endian.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace brevora::conduit {

// The run mode.
enum class SyncMode : uint16_t {
  DoNothing = 0,
  HandheldOverwrites = 1,
  DesktopOverwrites = 2,
  Synchronize = 3
};

struct SyncState {
  uint16_t syncedBefore = 0;
  uint16_t pendingNewDesktop = 0;
  uint16_t pendingMode = 0;  // a SyncMode, 0 when none is pending
  uint16_t pendingSlow = 0;
  uint16_t reserved = 0;
  bool operator==(const SyncState&) const = default;

  // From 10 bytes (plus at most 3 of padding); nullopt for any other length.
  static std::optional<SyncState> Parse(std::span<const uint8_t> bytes);
  std::vector<uint8_t> Bytes() const;
};

}  // namespace brevora::conduit
