#include "conduit-framework/modified_line.h"

#include <vector>

#include "platform/fs/files.h"
#include "platform/text/line_reader.h"

namespace brevora::conduit {

std::optional<bool> ParseModifiedLine(std::string_view line) {
  if (line == "1") return true;
  if (line == "0" || line == "2") return false;
  return std::nullopt;
}

std::optional<bool> ModifiedFlagOf(std::string_view text) {
  text::LineReader lines(text, text::kDesktopLines);
  const auto first = lines.Next();
  return first ? ParseModifiedLine(*first) : std::nullopt;
}

bool SetModifiedFlag(const std::string& path, bool modified) {
  try {
    std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
    // The same first line as the reader's (a CR that no LF follows is a byte
    // of its line): a flag line is its one byte, the file's first.
    if (!ModifiedFlagOf(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
      return false;
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
