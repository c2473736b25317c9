#include "conduit-doc/scv_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "conduit-doc/scv_format.h"
#include "doc/line_cursor.h"

namespace brevora::scriv {
namespace {

namespace fmt = scriv_format;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<int64_t> Integer(std::string_view line) {
  line = TrimBlanks(line);
  if (!line.empty() && line.front() == '+') line.remove_prefix(1);
  if (line.empty() || line.size() > 19) return std::nullopt;
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (ec != std::errc() || end != line.data() + line.size()) return std::nullopt;
  return value;
}

// The line without its double quotes, cut to `limit` bytes.
std::string Unquoted(std::string_view line, std::size_t limit) {
  std::string text;
  for (char c : line) {
    if (c != fmt::kQuote) text += c;
  }
  if (text.size() > limit) text.resize(limit);
  return text;
}

// The header lines in order, each numbered for the problem texts.
class Lines {
 public:
  Lines(std::string_view file, std::string& problem) : cursor_(file), problem_(problem) {}

  std::optional<std::string_view> Next() {
    auto line = cursor_.Next();
    ++number_;
    if (!line)
      problem_ = "the file ends at line " + std::to_string(number_) + ", inside its header.";
    return line;
  }
  // The next line as a number from `low` to `high`.
  std::optional<int64_t> Number(int64_t low, int64_t high) {
    const auto line = Next();
    if (!line) return std::nullopt;
    const auto value = Integer(*line);
    if (!value || *value < low || *value > high) {
      problem_ = "line " + std::to_string(number_) + " is not a number from " +
                 std::to_string(low) + " to " + std::to_string(high) + ".";
      return std::nullopt;
    }
    return value;
  }
  // A 32-bit field: a signed or an unsigned number, kept as its 32 bits.
  std::optional<uint32_t> Bits32() {
    const auto value =
        Number(std::numeric_limits<int32_t>::min(), std::numeric_limits<uint32_t>::max());
    if (!value) return std::nullopt;
    return static_cast<uint32_t>(*value);
  }
  // Seconds: a decimal number ("." or "," before a fraction), rounded.
  std::optional<uint32_t> Seconds() {
    const auto line = Next();
    if (!line) return std::nullopt;
    std::string text(TrimBlanks(*line));
    if (text.find('.') == std::string::npos) {
      if (const std::size_t comma = text.find(','); comma != std::string::npos) text[comma] = '.';
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value) || value < 0 ||
        std::llround(value) > int64_t{std::numeric_limits<uint32_t>::max()}) {
      problem_ = "line " + std::to_string(number_) + " is not a link date.";
      return std::nullopt;
    }
    return static_cast<uint32_t>(std::llround(value));
  }

  std::size_t number() const { return number_; }
  doc::LineCursor& cursor() { return cursor_; }

 private:
  doc::LineCursor cursor_;
  std::string& problem_;
  std::size_t number_ = 0;
};

struct HeaderRead {
  CDocumentHeader header;
  bool hasHeader = false;
  bool more = false;  // lines 8 on follow (line 3 was "1")
};

// Lines 1 to 7: nullopt with `problem` when they can't be read.
std::optional<HeaderRead> ReadFirstLines(Lines& lines) {
  HeaderRead read;
  const auto first = lines.Next();
  if (!first) return read;  // an empty file: no header, no text
  if (*first != "1" && *first != "0") return read;
  read.hasHeader = true;
  read.header.modified = *first == "1";
  const auto version = lines.Number(0, std::numeric_limits<uint16_t>::max());
  if (!version) return std::nullopt;
  read.header.version = static_cast<uint16_t>(*version);
  const auto third = lines.Next();
  if (!third) return std::nullopt;
  if (*third != fmt::kHeaderPresent) return read;
  read.more = true;
  read.header.valid = true;
  if (read.header.version >= fmt::kFirstVersionWithLink) {
    const auto method = lines.Number(0, std::numeric_limits<uint16_t>::max());
    if (!method) return std::nullopt;
    const auto path = lines.Next();
    if (!path) return std::nullopt;
    const auto date = lines.Seconds();
    if (!date) return std::nullopt;
    const auto option = lines.Number(0, std::numeric_limits<uint16_t>::max());
    if (!option) return std::nullopt;
    read.header.linkMethod = static_cast<uint16_t>(*method);
    read.header.linkPath = Unquoted(*path, fmt::kMaxLinkPathLength);
    read.header.linkDate = *date;
    read.header.linkOption = static_cast<uint16_t>(*option);
  }
  return read;
}

}  // namespace

std::optional<ScvHeader> ScvReader::ReadHeader(std::string& problem) const {
  Lines lines(file_, problem);
  auto read = ReadFirstLines(lines);
  if (!read) return std::nullopt;
  if (read->more) {
    const auto serverSync =
        lines.Number(std::numeric_limits<int16_t>::min(), std::numeric_limits<uint16_t>::max());
    if (!serverSync) return std::nullopt;
    read->header.serverSync = *serverSync != 0 ? 1 : 0;
  }
  return ScvHeader{read->hasHeader, read->header};
}

std::optional<ScvDocument> ScvReader::Read(const ScvDefaults& defaults,
                                           std::string& problem) const {
  ScvDocument doc;
  doc.info.editable = defaults.writable ? 1 : 0;
  doc.info.firstName =
      defaults.fileName.substr(0, defaults.fileName.find('.')).substr(0, fmt::kMaxNameLength);

  Lines lines(file_, problem);
  auto read = ReadFirstLines(lines);
  if (!read) return std::nullopt;
  doc.hasHeader = read->hasHeader;
  doc.header = read->header;
  if (!doc.hasHeader) {
    doc.text = file_;
    return doc;
  }
  if (!read->more) {
    doc.text = file_.substr(lines.cursor().Position());
    return doc;
  }
  doc.info.version = doc.header.version;
  constexpr int64_t kByte = std::numeric_limits<uint8_t>::max();
  constexpr int64_t kMinLong = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMaxLong = std::numeric_limits<uint32_t>::max();
  const auto serverSync =
      lines.Number(std::numeric_limits<int16_t>::min(), std::numeric_limits<uint16_t>::max());
  if (!serverSync) return std::nullopt;
  doc.header.serverSync = *serverSync != 0 ? 1 : 0;
  const auto editable = lines.Next();
  if (!editable) return std::nullopt;
  doc.info.editable = *editable == "1" && defaults.writable ? 1 : 0;
  const auto compression = lines.Number(0, kByte);
  if (!compression) return std::nullopt;
  const auto mode = lines.Number(0, kByte);
  if (!mode) return std::nullopt;
  const auto firstName = lines.Next();
  if (!firstName) return std::nullopt;
  const auto secondName = lines.Next();
  if (!secondName) return std::nullopt;
  const auto position = lines.Bits32();
  if (!position) return std::nullopt;
  const auto wordA = lines.Number(kMinLong, kMaxLong);
  if (!wordA) return std::nullopt;
  const auto wordB = lines.Number(kMinLong, kMaxLong);
  if (!wordB) return std::nullopt;
  const auto count = lines.Number(0, kMaxLong);
  if (!count) return std::nullopt;
  doc.info.compression = static_cast<uint8_t>(*compression);
  doc.info.mode = static_cast<uint8_t>(*mode);
  doc.info.firstName = Unquoted(*firstName, fmt::kMaxNameLength);
  doc.info.secondName = Unquoted(*secondName, fmt::kMaxNameLength);
  doc.info.position = *position;
  // The words hold 16 bits: a larger number is kept as the largest they hold.
  const auto word = [](int64_t v) {
    return static_cast<uint16_t>(std::clamp<int64_t>(v, 0, 0xFFFF));
  };
  doc.info.wordA = word(*wordA);
  doc.info.wordB = word(*wordB);

  bool separatorRead = false;
  for (int64_t i = 0; i < *count; ++i) {
    const auto name = lines.Next();
    if (!name) {
      problem = "the file states " + std::to_string(*count) + " bookmarks but holds " +
                std::to_string(i) + ".";
      return std::nullopt;
    }
    if (name->empty()) {  // the separator: fewer pairs than stated
      separatorRead = true;
      break;
    }
    const auto bookmarkPosition = lines.Bits32();
    if (!bookmarkPosition) return std::nullopt;
    doc.bookmarks.push_back({Unquoted(*name, fmt::kMaxBookmarkName), *bookmarkPosition});
  }
  doc.info.bookmarkCount = static_cast<uint32_t>(doc.bookmarks.size());

  const doc::LineCursor& cursor = lines.cursor();
  doc.text = file_.substr(separatorRead ? cursor.Position() : doc::scv_format::TextStart(cursor));
  return doc;
}

}  // namespace brevora::scriv
