#include "conduit-framework/modified_line.h"

#include <vector>

#include "platform/fs/files.h"

namespace brevora::conduit {

std::optional<bool> ParseModifiedLine(std::string_view line) {
  if (line == "1") return true;
  if (line == "0" || line == "2") return false;
  return std::nullopt;
}

bool SetModifiedFlag(const std::string& path, bool modified) {
  try {
    std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
    const bool lineEnds = bytes.size() >= 2 && (bytes[1] == '\n' || bytes[1] == '\r');
    if (!lineEnds || !ParseModifiedLine(std::string_view(reinterpret_cast<const char*>(bytes.data()), 1))) {
      return false;
    }
    const uint8_t flag = modified ? '1' : '0';
    if (bytes[0] == flag || (!modified && bytes[0] == '2')) return true;
    bytes[0] = flag;
    fs::AtomicWrite(path, bytes);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace brevora::conduit
