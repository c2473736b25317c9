#include "conduit-doc/html_records.h"

#include <algorithm>
#include <optional>

#include "conduit-doc/document_db_format.h"
#include "platform/text/line_reader.h"

namespace brevora::scriv {
namespace {

constexpr std::string_view kHead = "<html><head></head><body>";
constexpr std::string_view kTail = "</body></html>";
constexpr std::size_t kEntityLookBack = 11;
constexpr std::size_t kTagLookBack = 349;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool HoldsNoCase(std::string_view text, std::string_view word) {
  return std::search(text.begin(), text.end(), word.begin(), word.end(),
                     [](char a, char b) { return Lower(a) == b; }) != text.end();
}

// The position of the first of `mark` or `stop` met looking back from `end`
// over at most `count` bytes, when it is `mark`.
std::optional<std::size_t> OpenMark(std::string_view text, std::size_t end, std::size_t count,
                                    char mark, char stop) {
  const std::size_t from = end > count ? end - count : 0;
  for (std::size_t i = end; i > from; --i) {
    const char c = text[i - 1];
    if (c == stop) return std::nullopt;
    if (c == mark) return i - 1;
  }
  return std::nullopt;
}

}  // namespace

bool IsHtml(std::string_view text) {
  const std::string_view first = text.substr(0, scriv_format::kTextRecordSize);
  return HoldsNoCase(first, "<html") || HoldsNoCase(first, "<p") || HoldsNoCase(first, "<br");
}

namespace {

// A line break of the desktop file (CR LF, CR or LF, as its lines end) as
// the handheld's line feed: true at one, `i` then at its last byte.
bool LineBreakAt(std::string_view text, std::size_t& i) {
  const std::size_t length = text::LineBreakAt(text, i, text::LineEnds::CrLfOrCr);
  if (length == 0) return false;
  i += length - 1;
  return true;
}

void AppendLines(std::string_view text, std::string& out) {
  out.reserve(out.size() + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) out += LineBreakAt(text, i) ? '\n' : text[i];
}

void AppendEscaped(std::string_view text, std::string& out) {
  out.reserve(out.size() + text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (LineBreakAt(text, i)) {
      out += "<br>";
      continue;
    }
    const char c = text[i];
    switch (c) {
      case '\t':
        out += "    ";
        break;
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string out;
  AppendEscaped(text, out);
  return out;
}

std::string DeviceText(std::string_view desktopText) {
  std::string out;
  if (IsHtml(desktopText)) {
    AppendLines(desktopText, out);
    return out;
  }
  out = kHead;
  AppendEscaped(desktopText, out);
  out += kTail;
  return out;
}

std::size_t AdjustRecordEnd(std::string_view text, std::size_t end) {
  end = std::min(end, text.size());
  if (const auto amp = OpenMark(text, end, kEntityLookBack, '&', ';')) return *amp > 0 ? *amp : end;
  if (const auto lt = OpenMark(text, end, kTagLookBack, '<', '>')) return *lt > 0 ? *lt : end;
  return end;
}

std::vector<std::string_view> CutRecords(std::string_view text) {
  std::vector<std::string_view> records;
  while (!text.empty()) {
    std::size_t size = text.size();
    if (size > scriv_format::kTextRecordSize)
      size = AdjustRecordEnd(text, scriv_format::kTextRecordSize);
    records.push_back(text.substr(0, size));
    text.remove_prefix(size);
  }
  return records;
}

}  // namespace brevora::scriv
