#pragma once
// Visual Basic-style case folding for code-page text: LCase/UCase fold ASCII and
// the Latin-1 letters of Windows-1252 (and the few letters at 0x8A-0x9F), and
// case-insensitive comparison compares the folded bytes.
#include <string>
#include <string_view>

namespace brevora::text {

std::string LCase(std::string_view s);
std::string UCase(std::string_view s);
// <0, 0, >0 like strcmp, on the lower-case forms.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Strict weak order for sorting names without regard to case.
struct LessNoCase {
  bool operator()(std::string_view a, std::string_view b) const { return CompareNoCase(a, b) < 0; }
};

}  // namespace brevora::text
