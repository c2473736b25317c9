#pragma once
// The line-based texts the system reads: its desktop files (.tbr, .scv and the
// conduits' own files) and the small files of the platform (a device's
// identity, a window's entry, the HotSync user list). LineReader hands out one
// line at a time without its break, KeyValue takes a "key value" line apart and
// DecimalNumber reads a number field. Every piece is a view into the text,
// which must outlive it; nothing raises, bad input is refused.
//
// Texts differ in what ends a line (LineEnds) and in whether the last line may
// end with the text instead of a break:
//   Lf        only LF; a CR is a byte of the line (the platform's own files);
//   CrLf      CR LF or LF; a CR anywhere else is a byte of the line, but one
//             right before the end of the text belongs to the break (the
//             HotSync user list, the conduits' desktop files and the cell lines
//             of workbooks);
//   CrLfOrCr  CR LF, LF or a lone CR (the desktop program's document files and
//             the value lists of its workbook headers).
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <optional>
#include <string_view>

namespace brevora::text {

enum class LineEnds { Lf, CrLf, CrLfOrCr };

struct LineRules {
  LineEnds ends = LineEnds::Lf;
  // The last line may end with the text; else a line that no break ends is
  // refused (the reader stops before it).
  bool openLastLine = false;
};

// The rules of the desktop files: every line ends at a break, or the text.
inline constexpr LineRules kDesktopLines{.ends = LineEnds::CrLf, .openLastLine = true};
inline constexpr LineRules kDesktopValueLines{.ends = LineEnds::CrLfOrCr, .openLastLine = true};

// The length of the line break that starts at `pos` of `text`: 2 for CR LF,
// 1 for LF or (CrLfOrCr) a lone CR, 0 when none starts there.
constexpr std::size_t LineBreakAt(std::string_view text, std::size_t pos, LineEnds ends) {
  if (pos >= text.size()) return 0;
  if (text[pos] == '\n') return 1;
  if (text[pos] != '\r' || ends == LineEnds::Lf) return 0;
  if (pos + 1 < text.size() && text[pos + 1] == '\n') return 2;
  return ends == LineEnds::CrLfOrCr ? 1 : 0;
}

class LineReader {
 public:
  explicit LineReader(std::string_view text, LineRules rules = {}, std::size_t start = 0)
      : text_(text), rules_(rules), pos_(std::min(start, text.size())) {}

  // True when nothing is left to read.
  bool AtEnd() const { return pos_ >= text_.size(); }
  // The byte position of the next line.
  std::size_t Position() const { return pos_; }

  // The next line without its break; nullopt at the end of the text and at a
  // last line that the rules refuse (the reader then stays there).
  std::optional<std::string_view> Next();
  // The same into `line`: false where Next gives nullopt (`line` untouched).
  bool Next(std::string_view& line) {
    const auto next = Next();
    if (next) line = *next;
    return next.has_value();
  }

  // How many lines Next would still hand out.
  std::size_t LinesLeft() const;

 private:
  std::string_view text_;
  LineRules rules_;
  std::size_t pos_;
};

// The value of a "key value" line (what follows the key and one space, possibly
// empty); nullopt when the line does not start with `key` and a space.
std::optional<std::string_view> KeyValue(std::string_view line, std::string_view key);

enum class LeadingZeros { kRefused, kAllowed };

// A number written in decimal digits only (no sign, no blank) that T can hold.
// Unless allowed, a leading zero is refused, so that a number has one spelling.
template <class T>
std::optional<T> DecimalNumber(std::string_view digits,
                               LeadingZeros zeros = LeadingZeros::kRefused) {
  if (digits.empty() ||
      (zeros == LeadingZeros::kRefused && digits.size() > 1 && digits[0] == '0')) {
    return std::nullopt;
  }
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  T value{};
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace brevora::text
