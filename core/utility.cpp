#include "core/utility.h"

#include "platform/error/error.h"

namespace brevora::core::Utility {

void AddTo(int16_t& value, int16_t amount) {
  const int32_t sum = int32_t{value} + int32_t{amount};
  if (sum < INT16_MIN || sum > INT16_MAX) RaiseRuntimeError(6);
  value = static_cast<int16_t>(sum);
}

std::string TrimAtNull(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return std::string(text);
  std::string result;
  size_t from = 0;
  for (size_t at = text.find(find); at != std::string_view::npos; at = text.find(find, from)) {
    result.append(text.substr(from, at - from));
    result.append(replacement);
    from = at + find.size();
  }
  result.append(text.substr(from));
  return result;
}

std::string StripLineBreaks(std::string_view text) {
  return ReplaceAll(ReplaceAll(text, "\r\n", ""), "\v", " ");
}

std::string LfToCrLf(std::string_view text) { return ReplaceAll(text, "\n", "\r\n"); }

}  // namespace brevora::core::Utility
