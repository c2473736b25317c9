#pragma once
// The small line-based texts the platform reads (a device's identity, a
// window's entry, the HotSync user list): LineReader hands out one line at a
// time without its end, KeyValue takes a "key value" line apart and
// DecimalNumber reads a number field. Every piece is a view into the text,
// which must outlive it; nothing raises, bad input is refused.
#include <charconv>
#include <optional>
#include <string_view>

namespace brevora::text {

// How a text ends its lines.
struct LineRules {
  // CR LF ends a line as LF does (the CR is not part of the line); else a CR
  // is part of the line it stands in.
  bool crLf = false;
  // The last line may end with the text, without a LF; else a line that no LF
  // ends is refused.
  bool openLastLine = false;
};

class LineReader {
 public:
  explicit LineReader(std::string_view text, LineRules rules = {}) : rest_(text), rules_(rules) {}

  // The next line, without its end, into `line`. False at the end of the text
  // and at a last line that the rules refuse (the reader then stays there).
  bool Next(std::string_view& line);
  // True when nothing is left to read.
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
  LineRules rules_;
};

// The value of a "key value" line (what follows the key and one space, possibly
// empty); nullopt when the line does not start with `key` and a space.
std::optional<std::string_view> KeyValue(std::string_view line, std::string_view key);

enum class LeadingZeros { kRefused, kAllowed };

// A number written in decimal digits only (no sign, no blank) that T can hold.
// Unless allowed, a leading zero is refused, so that a number has one spelling.
template <class T>
std::optional<T> DecimalNumber(std::string_view digits, LeadingZeros zeros = LeadingZeros::kRefused) {
  if (digits.empty() || (zeros == LeadingZeros::kRefused && digits.size() > 1 && digits[0] == '0')) {
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
