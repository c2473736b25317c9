#include "platform/text/codepage.h"

#include <array>

namespace brevora::text {
namespace {

// Unicode values of the bytes 0x80-0x9F; the five undefined bytes map to the
// C1 control of the same number so that they round-trip.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out.push_back(static_cast<char>(ch));
  } else if (ch < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
    out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
  } else {
    // Every code-page character lies in the Basic Multilingual Plane.
    out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
    out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at `pos`; advances `pos` past it. Malformed input
// (bad lead byte, truncated or overlong sequence, surrogate, beyond U+10FFFF)
// gives nullopt and advances past the lead byte and its valid continuations.
std::optional<char32_t> DecodeOne(std::string_view s, size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos++]);
  if (lead < 0x80) return lead;
  int extra;
  char32_t ch;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    ch = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    ch = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    ch = lead & 0x07;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < extra; ++i) {
    if (pos >= s.size()) return std::nullopt;
    const auto c = static_cast<unsigned char>(s[pos]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    ch = (ch << 6) | (c & 0x3F);
    ++pos;
  }
  const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
  if (ch < minimum || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return std::nullopt;
  return ch;
}

template <class Sink>
bool Decode(std::string_view utf8, Sink sink) {
  bool exact = true;
  size_t pos = 0;
  while (pos < utf8.size()) {
    std::optional<unsigned char> byte;
    if (auto ch = DecodeOne(utf8, pos)) byte = UnicodeToCp(*ch);
    if (!byte) exact = false;
    sink(byte ? static_cast<char>(*byte) : '?');
  }
  return exact;
}

}  // namespace

char32_t CpToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

std::optional<unsigned char> UnicodeToCp(char32_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<unsigned char>(ch);
  for (size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == ch) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

std::string CpToUtf8(std::string_view cp) {
  std::string out;
  out.reserve(cp.size());
  for (char c : cp) AppendUtf8(out, CpToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  Decode(utf8, [&](char c) { out.push_back(c); });
  return out;
}

std::optional<std::string> Utf8ToCpExact(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  if (!Decode(utf8, [&](char c) { out.push_back(c); })) return std::nullopt;
  return out;
}

bool IsValidUtf8(std::string_view utf8) {
  size_t pos = 0;
  while (pos < utf8.size()) {
    if (!DecodeOne(utf8, pos)) return false;
  }
  return true;
}

}  // namespace brevora::text
