#pragma once
// The device's identity: the file "identity.txt" in the device folder, which
// tells whose handheld it is and which desktop it last had a HotSync with
// (one that reached the conduits). UTF-8 text, one field per line, each ending in LF:
//
//   brevora-handheld 1
//   user <name>          1 to 63 characters, no control characters
//   userid <decimal>     0 to 2147483647
//   desktop <16 hex>     the desktop of the last HotSync (line absent: none)
//
// ParseIdentity accepts exactly this form (lower-case hex) in at most
// kMaxIdentitySize bytes and refuses anything else; a device whose identity is
// missing or refused is a new one.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brevora::hotsync {

inline constexpr const char* kIdentityFileName = "identity.txt";
inline constexpr std::size_t kMaxIdentitySize = 4096;

struct DeviceIdentity {
  std::string userName;  // code page
  int32_t userId = 0;
  std::string desktop;  // 16 lower-case hex digits, or empty
  bool operator==(const DeviceIdentity&) const = default;
};

bool IsDesktopId(std::string_view text);
std::optional<DeviceIdentity> ParseIdentity(std::string_view text);
// The file text of an identity whose fields follow the rules (else nullopt).
std::optional<std::string> FormatIdentity(const DeviceIdentity& identity);

// The identity of the device folder `folder` (native path); nullopt when there
// is none or it is refused. Never raises.
std::optional<DeviceIdentity> ReadIdentity(const std::string& folder);
// Writes it through a temporary file + rename; raises AutomationError 5 for an
// identity that breaks the rules and the file error when it can't be written.
void WriteIdentity(const std::string& folder, const DeviceIdentity& identity);

}  // namespace brevora::hotsync
