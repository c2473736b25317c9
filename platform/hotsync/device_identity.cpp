#include "platform/hotsync/device_identity.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/unique_fd.h"
#include "platform/text/codepage.h"
#include "platform/text/line_reader.h"

namespace brevora::hotsync {
namespace {

constexpr std::string_view kMagic = "brevora-handheld 1";
constexpr std::size_t kMaxUserName = 63;

bool IsUserName(std::string_view cp) {
  if (cp.empty() || cp.size() > kMaxUserName) return false;
  for (const char c : cp) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) return false;
  }
  return true;
}

}  // namespace

bool IsDesktopId(std::string_view text) {
  if (text.size() != 16) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::optional<DeviceIdentity> ParseIdentity(std::string_view text) {
  if (text.size() > kMaxIdentitySize) return std::nullopt;
  text::LineReader lines(text);  // every line ends with LF
  std::string_view line;
  if (!lines.Next(line) || line != kMagic) return std::nullopt;
  DeviceIdentity identity;
  std::optional<std::string_view> value;
  if (!lines.Next(line) || !(value = text::KeyValue(line, "user")) || !text::IsValidUtf8(*value)) {
    return std::nullopt;
  }
  const auto name = text::Utf8ToCpExact(*value);
  if (!name || !IsUserName(*name)) return std::nullopt;
  identity.userName = *name;
  if (!lines.Next(line) || !(value = text::KeyValue(line, "userid"))) return std::nullopt;
  const auto id = text::DecimalNumber<int32_t>(*value);
  if (!id) return std::nullopt;
  identity.userId = *id;
  if (!lines.AtEnd()) {
    if (!lines.Next(line) || !(value = text::KeyValue(line, "desktop")) || !IsDesktopId(*value) ||
        !lines.AtEnd()) {
      return std::nullopt;
    }
    identity.desktop = std::string(*value);
  }
  return identity;
}

std::optional<std::string> FormatIdentity(const DeviceIdentity& identity) {
  if (!IsUserName(identity.userName) || identity.userId < 0 ||
      !(identity.desktop.empty() || IsDesktopId(identity.desktop))) {
    return std::nullopt;
  }
  std::string text(kMagic);
  text += "\nuser " + text::CpToUtf8(identity.userName);
  text += "\nuserid " + std::to_string(identity.userId) + "\n";
  if (!identity.desktop.empty()) text += "desktop " + identity.desktop + "\n";
  return text;
}

std::optional<DeviceIdentity> ReadIdentity(const std::string& folder) {
  const std::string path = folder + "/" + kIdentityFileName;
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd) return std::nullopt;
  std::string text(kMaxIdentitySize + 1, '\0');
  std::size_t size = 0;
  while (size < text.size()) {
    const ssize_t n = read(fd.get(), text.data() + size, text.size() - size);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return std::nullopt;
      break;
    }
    size += static_cast<std::size_t>(n);
  }
  text.resize(size);
  return ParseIdentity(text);
}

void WriteIdentity(const std::string& folder, const DeviceIdentity& identity) {
  const auto text = FormatIdentity(identity);
  if (!text)
    RaiseError(5, "WriteIdentity", "The handheld's identity can't hold this user name or id.");
  fs::AtomicWrite(fs::SystemPath(folder + "/" + kIdentityFileName), *text);
}

}  // namespace brevora::hotsync
