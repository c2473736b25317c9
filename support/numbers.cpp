// Unsigned 32-bit numbers as decimal text, their bitwise AND, and big-endian
// byte strings of 16- and 32-bit values. All arithmetic is 32-bit, whatever
// the width of the platform's long.
#include "support/tabrelc.h"

namespace tabrelc {
namespace {

constexpr uint32_t kMax = 4294967295u;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

uint32_t ParseUnsigned(const char* text) {
  if (text == nullptr) return 0;
  const char* s = text;
  while (IsSpace(*s)) ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  uint64_t value = 0;
  bool saturated = false;
  for (; *s >= '0' && *s <= '9'; ++s) {
    if (!saturated) {
      value = value * 10 + static_cast<uint64_t>(*s - '0');
      if (value > kMax) saturated = true;
    }
  }
  if (saturated) return kMax;
  const uint32_t v = static_cast<uint32_t>(value);
  return negative ? 0u - v : v;
}

// Writes value as decimal digits and a zero byte (at most 11 bytes).
void WriteUnsigned(uint32_t value, char* out) {
  if (out == nullptr) return;
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
  out[n] = '\0';
}

}  // namespace
}  // namespace tabrelc

extern "C" void ORX_BitAnd(const char* a, const char* b, char* out) {
  tabrelc::WriteUnsigned(tabrelc::ParseUnsigned(a) & tabrelc::ParseUnsigned(b), out);
}

extern "C" void LongToULongStr(int32_t value, char* out) {
  tabrelc::WriteUnsigned(static_cast<uint32_t>(value), out);
}

extern "C" uint32_t ULongStrToLong(const char* text, uint32_t* value) {
  const uint32_t v = tabrelc::ParseUnsigned(text);
  if (value) *value = v;
  return v;
}

extern "C" void FlipWordToStr(int32_t value, char* out) {
  if (out == nullptr) return;
  const auto v = static_cast<uint32_t>(value);
  out[0] = static_cast<char>((v >> 8) & 0xFF);
  out[1] = static_cast<char>(v & 0xFF);
}

extern "C" void FlipDWordToStr(int32_t value, char* out) {
  if (out == nullptr) return;
  const auto v = static_cast<uint32_t>(value);
  out[0] = static_cast<char>(v >> 24);
  out[1] = static_cast<char>((v >> 16) & 0xFF);
  out[2] = static_cast<char>((v >> 8) & 0xFF);
  out[3] = static_cast<char>(v & 0xFF);
}
