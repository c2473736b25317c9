#pragma once
// Trim: Visual Basic's Trim, which removes blanks (spaces only, not tabs) at
// both ends of a text. User names and friendly names are trimmed this way.
#include <string>
#include <string_view>

namespace brevora::core {

inline std::string Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace brevora::core
