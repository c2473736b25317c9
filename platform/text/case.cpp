#include "platform/text/case.h"

namespace brevora::text {
namespace {

unsigned char Lower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // not the multiplication sign
  switch (c) {
    case 0x8A:
      return 0x9A;  // S caron
    case 0x8C:
      return 0x9C;  // OE
    case 0x8E:
      return 0x9E;  // Z caron
    case 0x9F:
      return 0xFF;  // Y diaeresis
    default:
      return c;
  }
}

unsigned char Upper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;  // not the division sign
  switch (c) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    default:
      return c;
  }
}

}  // namespace

std::string LCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
  return out;
}

std::string UCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(Upper(static_cast<unsigned char>(c)));
  return out;
}

int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int x = Lower(static_cast<unsigned char>(a[i]));
    const int y = Lower(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

}  // namespace brevora::text
