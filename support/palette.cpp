// The handheld's 8-bit system palette and the conversions in both directions.
//
// Entries 0..214 are the colour cube of the levels FF CC 99 66 33 00 without
// black: entry 108h + 18r + 6k + g has red L[r], green L[g], blue L[3h + k].
// Then ten greys, five named colours, and black up to 255.
#include <array>
#include <cstdlib>

#include "support/tabrelc.h"

namespace tabrelc {
namespace {

struct Rgb {
  int16_t red, green, blue;
};

constexpr std::array<Rgb, 256> MakePalette() {
  std::array<Rgb, 256> palette{};
  constexpr int16_t kLevels[6] = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
  for (int h = 0; h < 2; ++h) {
    for (int r = 0; r < 6; ++r) {
      for (int k = 0; k < 3; ++k) {
        for (int g = 0; g < 6; ++g) {
          const int index = 108 * h + 18 * r + 6 * k + g;
          if (index < 215) palette[index] = {kLevels[r], kLevels[g], kLevels[3 * h + k]};
        }
      }
    }
  }
  constexpr int16_t kGreys[10] = {0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE};
  for (int i = 0; i < 10; ++i) palette[215 + i] = {kGreys[i], kGreys[i], kGreys[i]};
  palette[225] = {0xC0, 0xC0, 0xC0};
  palette[226] = {0x80, 0x00, 0x00};
  palette[227] = {0x80, 0x00, 0x80};
  palette[228] = {0x00, 0x80, 0x00};
  palette[229] = {0x00, 0x80, 0x80};
  // 230..255 stay black.
  return palette;
}

constexpr std::array<Rgb, 256> kPalette = MakePalette();

}  // namespace
}  // namespace tabrelc

extern "C" void PalmIndexToRGB(int32_t index, int16_t* red, int16_t* green, int16_t* blue) {
  const int16_t i = static_cast<int16_t>(index);
  tabrelc::Rgb c{0, 0, 0};
  if (i >= 0 && i <= 255) c = tabrelc::kPalette[static_cast<size_t>(i)];
  if (red) *red = c.red;
  if (green) *green = c.green;
  if (blue) *blue = c.blue;
}

extern "C" int32_t RGBToPalmIndex(int32_t red, int32_t green, int32_t blue) {
  const int r = static_cast<int16_t>(red);
  const int g = static_cast<int16_t>(green);
  const int b = static_cast<int16_t>(blue);
  int best = 1024;
  int32_t answer = 0;
  for (int i = 0; i < 256; ++i) {
    const tabrelc::Rgb& c = tabrelc::kPalette[static_cast<size_t>(i)];
    const int distance = std::abs(c.red - r) + std::abs(c.green - g) + std::abs(c.blue - b);
    if (distance < best) {
      best = distance;
      answer = i;
    }
  }
  return answer;
}
