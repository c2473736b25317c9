#pragma once
// The texts of the presentation options dialog: the items of its four lists,
// the colour-depth texts, resolution texts "WIDTHxHEIGHT" and how a list entry
// is chosen by its text. Plain functions, no widgets.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace brevora::slides::dialog {

inline constexpr const char* kResolutionItems[] = {"800x600", "640x480", "436x320", "320x240",
                                                   "160x120"};
inline constexpr const char* kDepthItems[] = {"256 Color (8 bit)", "Hi Color (16 bit)"};
inline constexpr const char* kVantaResolutionItems[] = {"1024x768", "800x600", "640x480"};

// 4 "Greyscale (4 bit)", 8 "256 Color (8 bit)", 16 "Hi Color (16 bit)"; any
// other depth gives the 8-bit text.
std::string DepthToText(int32_t depth);
// The depth of one of those texts (exact, case-sensitive); any other text: 8.
int32_t TextToDepth(std::string_view text);

// "320x240": both numbers in decimal without leading zeros.
std::string ResolutionText(int32_t width, int32_t height);

// Splits "WIDTHxHEIGHT" at its first "x" or "X"; each side, trimmed of blanks,
// is read as a 16-bit integer (13 when it is no number, 6 when it is too big).
// No "x": kObjectError + 1869, source "parseResolutionFromString".
void ParseResolution(std::string_view text, int16_t& width, int16_t& height);

// The entry of `items` to select for `text`: the first whose text, trimmed of
// blanks and in small letters, equals `text` the same way; else the first that
// equals `fallback` that way; else `current` (the selection does not change).
int SelectComboText(std::span<const std::string> items, int current, std::string_view text,
                    std::string_view fallback);

}  // namespace brevora::slides::dialog
