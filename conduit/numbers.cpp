#include "conduit/numbers.h"

#include <charconv>

namespace brevora::tabrel {

std::optional<int64_t> ParseInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const bool plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  const bool minus = !text.empty() && text.front() == '-';
  if (plus && minus) return std::nullopt;
  const std::string_view digits = minus ? text.substr(1) : text;
  // At most 18 digits: every such number fits, and none of this conduit's
  // fields takes a longer one.
  if (digits.empty() || digits.size() > 18 || digits.front() < '0' || digits.front() > '9')
    return std::nullopt;
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

namespace {

std::optional<int64_t> InRange(std::string_view text, int64_t low, int64_t high) {
  const auto value = ParseInteger(text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int32_t> ParseInt32(std::string_view text) {
  const auto v = InRange(text, INT32_MIN, INT32_MAX);
  if (!v) return std::nullopt;
  return static_cast<int32_t>(*v);
}

std::optional<uint32_t> ParseUInt32(std::string_view text) {
  const auto v = InRange(text, 0, UINT32_MAX);
  if (!v) return std::nullopt;
  return static_cast<uint32_t>(*v);
}

std::optional<uint32_t> ParseDWord(std::string_view text) {
  const auto v = InRange(text, INT32_MIN, UINT32_MAX);
  if (!v) return std::nullopt;
  return static_cast<uint32_t>(*v);
}

std::optional<uint16_t> ParseWord(std::string_view text) {
  const auto v = InRange(text, INT16_MIN, UINT16_MAX);
  if (!v) return std::nullopt;
  return static_cast<uint16_t>(*v);
}

void AppendDecimal(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

}  // namespace brevora::tabrel
