#include "platform/automation/convert.h"

#include <cctype>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/error/error.h"
#include "platform/text/case.h"
#include "platform/time/dates.h"

namespace brevora {
namespace {

constexpr double kMinDate = -657434.0;          // 100-01-01
constexpr double kMaxDate = 2958466.0;          // 10000-01-01, exclusive
constexpr int64_t kEpochFromUnixDays = -25569;  // 1899-12-30 counted from 1970-01-01

[[noreturn]] void Mismatch() { RaiseRuntimeError(13); }

// Raises for the kinds no conversion accepts: Null (94), Missing, arrays and
// objects (13; Nothing 91).
[[noreturn]] void Refuse(const Variant& v) {
  if (v.IsNull()) RaiseRuntimeError(94);
  if (v.IsObject() && !v.AsObject()) RaiseRuntimeError(91);
  Mismatch();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "&H..." or "&O..." (or "&..." octal) after the '&'; nullopt when malformed.
std::optional<double> ParseRadix(std::string_view s) {
  int base = 8;
  if (!s.empty() && (s[0] == 'H' || s[0] == 'h')) {
    base = 16;
    s.remove_prefix(1);
  } else if (!s.empty() && (s[0] == 'O' || s[0] == 'o')) {
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : s) {
    int digit;
    if (IsDigit(c))
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) RaiseRuntimeError(6);
  }
  // Like a literal in code: a 16-bit value when it fits in 16 bits, else 32-bit.
  if (value <= 0xFFFF)
    return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(value)));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// A number in text: blanks around it, an optional sign, digits with an optional
// decimal point, an optional exponent (E or D). nullopt when the text is not one.
std::optional<double> ParseNumber(std::string_view text) {
  std::string_view s = Trim(text);
  if (s.size() >= 2 && s[0] == '&') return ParseRadix(s.substr(1));
  std::string clean;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') clean += '-';
    ++i;
  }
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    clean += s[i++];
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    clean += s[i++];
    while (i < s.size() && IsDigit(s[i])) {
      clean += s[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    clean += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) clean += s[i++];
    size_t expDigits = 0;
    while (i < s.size() && IsDigit(s[i])) {
      clean += s[i++];
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow is zero; overflow is an error.
    size_t e = clean.find('e');
    if (e != std::string::npos && clean[e + 1] == '-') return 0.0;
    RaiseRuntimeError(6);
  }
  if (ec != std::errc() || end != clean.data() + clean.size()) return std::nullopt;
  if (!std::isfinite(value)) RaiseRuntimeError(6);
  return value;
}

unsigned DaysInMonth(int64_t y, unsigned m) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

// Reads an unsigned number of 1 to `maxDigits` digits.
bool ReadInt(std::string_view& s, int maxDigits, int& out, int* digitCount = nullptr) {
  int n = 0, value = 0;
  while (n < maxDigits && !s.empty() && IsDigit(s.front())) {
    value = value * 10 + (s.front() - '0');
    s.remove_prefix(1);
    ++n;
  }
  if (n == 0) return false;
  out = value;
  if (digitCount) *digitCount = n;
  return true;
}

bool Eat(std::string_view& s, char c) {
  if (s.empty() || s.front() != c) return false;
  s.remove_prefix(1);
  return true;
}

// "h:mm[:ss][ AM|PM]" -> fraction of a day.
std::optional<double> ParseTime(std::string_view s) {
  int h, mi, sec = 0;
  if (!ReadInt(s, 2, h) || !Eat(s, ':') || !ReadInt(s, 2, mi)) return std::nullopt;
  if (Eat(s, ':') && !ReadInt(s, 2, sec)) return std::nullopt;
  s = Trim(s);
  if (!s.empty()) {
    const std::string ampm = text::UCase(s);
    if (ampm != "AM" && ampm != "PM") return std::nullopt;
    if (h < 1 || h > 12) return std::nullopt;
    h = h % 12 + (ampm == "PM" ? 12 : 0);
  }
  if (h > 23 || mi > 59 || sec > 59) return std::nullopt;
  return (h * 3600 + mi * 60 + sec) / 86400.0;
}

// "m/d/yyyy", "yyyy-mm-dd" or "yyyy/mm/dd", optionally followed by a time; or a
// time alone. Two-digit years: 00-29 are 2000-2029, 30-99 are 1930-1999.
std::optional<double> ParseDate(std::string_view text) {
  std::string_view s = Trim(text);
  if (s.find_first_of("/-") == std::string_view::npos) return ParseTime(s);
  int a, b, c, aDigits, cDigits;
  if (!ReadInt(s, 4, a, &aDigits)) return std::nullopt;
  if (s.empty()) return std::nullopt;
  const char sep = s.front();
  if ((sep != '/' && sep != '-') || !Eat(s, sep) || !ReadInt(s, 2, b) || !Eat(s, sep) ||
      !ReadInt(s, 4, c, &cDigits)) {
    return std::nullopt;
  }
  int year, month, day;
  if (aDigits > 2) {
    year = a;
    month = b;
    day = c;
  } else {
    month = a;
    day = b;
    year = c;
  }
  if (aDigits <= 2 && cDigits <= 2) year += year < 30 ? 2000 : 1900;
  if (year < 100 || month < 1 || month > 12 || day < 1 ||
      day > static_cast<int>(DaysInMonth(year, month))) {
    return std::nullopt;
  }
  double days = static_cast<double>(dates::DaysFromCivil(year, month, day) - kEpochFromUnixDays);
  if (s.empty()) return days;
  if (!IsBlank(s.front())) return std::nullopt;
  std::optional<double> time = ParseTime(Trim(s));
  if (!time) return std::nullopt;
  // A time is added away from day 0, as the fraction of negative dates counts back.
  return days < 0 ? days - *time : days + *time;
}

double StringToDouble(const std::string& s) {
  std::optional<double> d = ParseNumber(s);
  if (!d) Mismatch();
  return *d;
}

}  // namespace

int32_t DoubleToLong(double d) {
  if (std::isnan(d)) RaiseRuntimeError(6);
  const double r = std::nearbyint(d);  // the default rounding mode: halves to even
  if (r < -2147483648.0 || r > 2147483647.0) RaiseRuntimeError(6);
  return static_cast<int32_t>(r);
}

int16_t DoubleToInteger(double d) {
  if (std::isnan(d)) RaiseRuntimeError(6);
  const double r = std::nearbyint(d);
  if (r < -32768.0 || r > 32767.0) RaiseRuntimeError(6);
  return static_cast<int16_t>(r);
}

std::string FormatDouble(double d) {
  if (d == 0) return "0";  // also -0
  // printf's "%.15G" would follow the process locale (a Qt program sets it from
  // the environment, and a German one writes "1,5"); to_chars is printf's %g in
  // the C locale whatever the process locale is.
  char buf[40];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
  if (ec != std::errc()) RaiseRuntimeError(6);
  std::string text(buf, end);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string FormatDate(double days) {
  // A Date holds the years 100 to 9999; anything else (and NaN) is no date to
  // show, and would overflow the day count below.
  if (!(days >= kMinDate && days < kMaxDate)) RaiseRuntimeError(6);
  int64_t day;
  double fraction;
  if (days >= 0) {
    day = static_cast<int64_t>(std::floor(days));
    fraction = days - static_cast<double>(day);
  } else {
    day = static_cast<int64_t>(std::ceil(days));
    fraction = static_cast<double>(day) - days;
  }
  int64_t seconds = std::llround(fraction * 86400.0);
  if (seconds >= 86400) {
    seconds = 0;
    day += days >= 0 ? 1 : -1;
  }
  char dateText[32] = "";
  char timeText[32] = "";
  if (day != 0) {
    int64_t y;
    unsigned m, d;
    dates::CivilFromDays(day + kEpochFromUnixDays, y, m, d);
    std::snprintf(dateText, sizeof dateText, "%u/%u/%lld", m, d, static_cast<long long>(y));
  }
  if (seconds != 0 || day == 0) {
    const int h = static_cast<int>(seconds / 3600);
    const int mi = static_cast<int>(seconds / 60 % 60);
    const int s = static_cast<int>(seconds % 60);
    std::snprintf(timeText, sizeof timeText, "%d:%02d:%02d %s", h % 12 == 0 ? 12 : h % 12, mi, s,
                  h < 12 ? "AM" : "PM");
  }
  if (day == 0) return timeText;
  if (seconds == 0) return dateText;
  return std::string(dateText) + " " + timeText;
}

std::string CStr(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return "";
    case VarType::Boolean:
      return v.AsBoolean() ? "True" : "False";
    case VarType::Integer:
      return std::to_string(v.AsInteger());
    case VarType::Long:
      return std::to_string(v.AsLong());
    case VarType::Double:
      return FormatDouble(v.AsDouble());
    case VarType::Date:
      return FormatDate(v.AsDate());
    case VarType::String:
      return v.AsString();
    case VarType::Bytes: {
      const std::vector<uint8_t>& b = v.AsBytes();
      return std::string(b.begin(), b.end());
    }
    default:
      Refuse(v);
  }
}

double CDbl(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return 0;
    case VarType::Boolean:
      return v.AsBoolean() ? -1 : 0;
    case VarType::Integer:
      return v.AsInteger();
    case VarType::Long:
      return v.AsLong();
    case VarType::Double:
      return v.AsDouble();
    case VarType::Date:
      return v.AsDate();
    case VarType::String:
      return StringToDouble(v.AsString());
    default:
      Refuse(v);
  }
}

int32_t CLng(const Variant& v) {
  switch (v.type()) {
    case VarType::Integer:
      return v.AsInteger();
    case VarType::Long:
      return v.AsLong();
    default:
      return DoubleToLong(CDbl(v));
  }
}

int16_t CInt(const Variant& v) {
  switch (v.type()) {
    case VarType::Integer:
      return v.AsInteger();
    default:
      return DoubleToInteger(CDbl(v));
  }
}

bool CBool(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean:
      return v.AsBoolean();
    case VarType::String: {
      std::string_view s = Trim(v.AsString());
      if (text::EqualsNoCase(s, "True")) return true;
      if (text::EqualsNoCase(s, "False")) return false;
      return StringToDouble(v.AsString()) != 0;
    }
    default:
      return CDbl(v) != 0;
  }
}

double CDate(const Variant& v) {
  double days;
  if (v.type() == VarType::String) {
    std::optional<double> d = ParseNumber(v.AsString());
    if (!d) d = ParseDate(v.AsString());
    if (!d) Mismatch();
    days = *d;
  } else {
    days = CDbl(v);
  }
  if (!(days >= kMinDate && days < kMaxDate)) RaiseRuntimeError(6);
  return days;
}

std::vector<uint8_t> CBytes(const Variant& v) {
  switch (v.type()) {
    case VarType::Bytes:
      return v.AsBytes();
    case VarType::String:
      return std::vector<uint8_t>(v.AsString().begin(), v.AsString().end());
    default:
      Refuse(v);
  }
}

}  // namespace brevora
