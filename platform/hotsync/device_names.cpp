#include "platform/hotsync/device_names.h"

namespace brevora::hotsync {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool PassesAsIs(unsigned char b, bool first) {
  if (b <= 0x20 || b >= 0x7F) return b == ' ' && !first;
  return b != '%' && b != '/' && b != '\\' && !(first && b == '.');
}

}  // namespace

bool IsDatabaseName(std::string_view name) {
  return !name.empty() && name.size() <= 31 && name.find('\0') == std::string_view::npos;
}

std::string DatabaseFileName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string file;
  file.reserve(name.size() + kDatabaseExtension.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto b = static_cast<unsigned char>(name[i]);
    if (PassesAsIs(b, i == 0)) {
      file.push_back(static_cast<char>(b));
    } else {
      file.push_back('%');
      file.push_back(kHex[b >> 4]);
      file.push_back(kHex[b & 0xF]);
    }
  }
  file += kDatabaseExtension;
  return file;
}

std::optional<std::string> DatabaseNameOfFile(std::string_view fileName) {
  if (fileName.size() <= kDatabaseExtension.size() || !fileName.ends_with(kDatabaseExtension)) {
    return std::nullopt;
  }
  fileName.remove_suffix(kDatabaseExtension.size());
  std::string name;
  for (std::size_t i = 0; i < fileName.size(); ++i) {
    if (fileName[i] != '%') {
      name.push_back(fileName[i]);
      continue;
    }
    if (i + 2 >= fileName.size()) return std::nullopt;
    const int high = HexValue(fileName[i + 1]);
    const int low = HexValue(fileName[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    name.push_back(static_cast<char>(high << 4 | low));
    i += 2;
  }
  return name;
}

}  // namespace brevora::hotsync
