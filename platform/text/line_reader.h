#pragma once
// LineReader: the lines of a text held in memory, one at a time, for the
// readers of desktop text files (.tbr, .scv and the conduits' own files).
// The text must outlive the reader; a line is handed out without its line
// break, and the last line may end without one.
//
// A line ends at CR LF or at LF. Readers differ on a CR that no LF follows,
// and say which rule is theirs (LoneCr):
//   EndsLine  it is a line break too: the desktop program's document files and
//             the value lists of its workbook headers;
//   InLine    it is a byte of the line, but a CR right before the line's end
//             (the LF, or the end of the text) belongs to the break: the
//             conduits' desktop files and the cell lines of workbooks.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

namespace brevora::text {

enum class LoneCr { EndsLine, InLine };

// The length of the line break that starts at `pos` of `text`: 2 for CR LF,
// 1 for LF or (EndsLine) a lone CR, 0 when none starts there.
constexpr std::size_t LineBreakAt(std::string_view text, std::size_t pos, LoneCr rule) {
  if (pos >= text.size()) return 0;
  if (text[pos] == '\n') return 1;
  if (text[pos] != '\r') return 0;
  if (pos + 1 < text.size() && text[pos + 1] == '\n') return 2;
  return rule == LoneCr::EndsLine ? 1 : 0;
}

class LineReader {
 public:
  LineReader(std::string_view text, LoneCr rule, std::size_t start = 0) : text_(text), rule_(rule), pos_(start) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  // The byte position of the next line.
  std::size_t Position() const { return pos_; }

  // The next line without its line break; nullopt at the end of the text.
  std::optional<std::string_view> Next() {
    if (AtEnd()) return std::nullopt;
    const std::string_view rest = text_.substr(pos_);
    const std::size_t end = rest.find_first_of(rule_ == LoneCr::EndsLine ? "\r\n" : "\n");
    if (end == std::string_view::npos) {
      pos_ = text_.size();
      return rule_ == LoneCr::InLine && rest.back() == '\r' ? rest.substr(0, rest.size() - 1) : rest;
    }
    if (rule_ == LoneCr::InLine) {
      pos_ += end + 1;
      return rest.substr(0, end > 0 && rest[end - 1] == '\r' ? end - 1 : end);
    }
    pos_ += end + LineBreakAt(rest, end, rule_);
    return rest.substr(0, end);
  }

  // How many lines Next would still hand out.
  std::size_t LinesLeft() const {
    if (AtEnd()) return 0;
    const std::string_view rest = text_.substr(pos_);
    if (rule_ == LoneCr::InLine) {
      return static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '\n')) + (rest.back() != '\n');
    }
    LineReader copy = *this;
    std::size_t lines = 0;
    while (copy.Next()) ++lines;
    return lines;
  }

 private:
  std::string_view text_;
  LoneCr rule_;
  std::size_t pos_;
};

}  // namespace brevora::text
