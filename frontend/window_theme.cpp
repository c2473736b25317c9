#include "frontend/window_theme.h"

#include <algorithm>

namespace brevora::frontend {
namespace {

constexpr std::array<int32_t, kThemeCount> kBaseColours = {
    RgbColour(99, 0, 82),    RgbColour(140, 48, 49),  RgbColour(189, 150, 107),
    RgbColour(49, 138, 82),  RgbColour(121, 73, 124), RgbColour(66, 85, 156),
    RgbColour(102, 102, 102)};

constexpr int kGreyTheme = 6;
constexpr int kLightTextTheme = 2;

// value * numerator / 2, halves rounded to the even number.
int HalfStepsToEven(int value, int numerator) {
  const int twice = value * numerator;
  const int whole = twice / 2;
  if (twice % 2 == 0) return whole;
  return whole % 2 == 0 ? whole : whole + 1;
}

int32_t Tint(int32_t base, int numerator) {
  const Rgb c = LongToRGB(base);
  auto scaled = [numerator](int component) {
    return std::min(255, HalfStepsToEven(component, numerator));
  };
  return RgbColour(scaled(c.red), scaled(c.green), scaled(c.blue));
}

}  // namespace

void LongToRGB(int32_t colour, int16_t& red, int16_t& green, int16_t& blue) {
  const auto bits = static_cast<uint32_t>(colour);
  red = static_cast<int16_t>(bits & 0xFF);
  green = static_cast<int16_t>((bits >> 8) & 0xFF);
  blue = static_cast<int16_t>((bits >> 16) & 0xFF);
}

Rgb LongToRGB(int32_t colour) {
  Rgb c;
  LongToRGB(colour, c.red, c.green, c.blue);
  return c;
}

int32_t ThemeBaseColour(int theme) {
  return theme >= 0 && theme < kThemeCount ? kBaseColours[static_cast<size_t>(theme)] : kBlack;
}

SideBarTints ThemeTints(int theme) {
  if (theme == kGreyTheme) return {kWhite, kBlack};
  const int32_t base = ThemeBaseColour(theme);
  return {Tint(base, 3), Tint(base, 1)};
}

int32_t BannerTextColour(int theme) { return theme == kLightTextTheme ? kBlack : kWhite; }

}  // namespace brevora::frontend
