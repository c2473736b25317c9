#pragma once
// The system code page (Windows-1252). Model strings hold text one byte per
// character in this code page; UTF-8 appears only at the Linux edges (paths, the
// registry file, Qt, the console). The five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081 etc., so every byte round-trips.
#include <optional>
#include <string>
#include <string_view>

namespace brevora::text {

// The Unicode scalar value of one code-page byte.
char32_t CpToUnicode(unsigned char byte);
// The code-page byte of a Unicode scalar value; nullopt when the code page lacks it.
std::optional<unsigned char> UnicodeToCp(char32_t ch);

// Code page -> UTF-8 (always possible).
std::string CpToUtf8(std::string_view cp);
// UTF-8 -> code page; characters the code page cannot hold (and malformed
// sequences) become '?'.
std::string Utf8ToCp(std::string_view utf8);
// UTF-8 -> code page; nullopt when any character cannot be represented exactly
// (used for file names, which are refused rather than silently renamed).
std::optional<std::string> Utf8ToCpExact(std::string_view utf8);
// True when `utf8` is well-formed UTF-8 (no overlong forms, surrogates or values
// past U+10FFFF), whether or not the code page holds its characters.
bool IsValidUtf8(std::string_view utf8);

}  // namespace brevora::text
