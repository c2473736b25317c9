#include "core/text_cleanup.h"

namespace brevora::core {

std::string Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
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

}  // namespace brevora::core
