#include "slides/dialog/option_texts.h"

#include <algorithm>
#include <cctype>

#include "core/text_cleanup.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora::slides::dialog {
namespace {

struct DepthText {
  int32_t depth;
  const char* text;
};
constexpr DepthText kDepthTexts[] = {
    {4, "Greyscale (4 bit)"}, {8, "256 Color (8 bit)"}, {16, "Hi Color (16 bit)"}};
constexpr int32_t kDefaultDepth = 8;

constexpr int32_t kBadResolution = 1869;

// Trimmed of blanks and in small letters, as the lists compare entries.
std::string Folded(std::string_view text) {
  std::string folded = core::Trim(text);
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return folded;
}

int16_t ReadSide(std::string_view side) { return CInt(Variant(core::Trim(side))); }

}  // namespace

std::string DepthToText(int32_t depth) {
  for (const DepthText& d : kDepthTexts) {
    if (d.depth == depth) return d.text;
  }
  return DepthToText(kDefaultDepth);
}

int32_t TextToDepth(std::string_view text) {
  for (const DepthText& d : kDepthTexts) {
    if (text == d.text) return d.depth;
  }
  return kDefaultDepth;
}

std::string ResolutionText(int32_t width, int32_t height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

void ParseResolution(std::string_view text, int16_t& width, int16_t& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) {
    RaiseError(kObjectError + kBadResolution, "parseResolutionFromString",
               "String format is invalid, expect type (WIDTHxHEIGHT)");
  }
  width = ReadSide(text.substr(0, x));
  height = ReadSide(text.substr(x + 1));
}

int SelectComboText(std::span<const std::string> items, int current, std::string_view text,
                    std::string_view fallback) {
  for (std::string_view wanted : {text, fallback}) {
    const std::string folded = Folded(wanted);
    for (size_t i = 0; i < items.size(); ++i) {
      if (Folded(items[i]) == folded) return static_cast<int>(i);
    }
  }
  return current;
}

}  // namespace brevora::slides::dialog
