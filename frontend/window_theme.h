#pragma once
// The colour themes of the main window: each theme is one base colour from
// which the banner strip and the file-mode side bar are painted, a light and a
// dark tint for the side bar's edges, and the text colour on the banner.
// Colour numbers are 0x00BBGGRR (red in the lowest byte), as the settings and
// the drawing code pass them around.
#include <array>
#include <cstdint>

namespace brevora::frontend {

inline constexpr int kThemeCount = 7;

// The View menu's theme entries, in theme order (index = theme number).
inline constexpr std::array<const char*, kThemeCount> kThemeCaptions = {
    "<default>",     "&Crimson Rose", "&Desert Sand", "&Emerald Forest",
    "&Spring Lilac", "&The Blues",    "Classic &Grey"};

inline constexpr int32_t kWhite = 0xFFFFFF;
inline constexpr int32_t kBlack = 0;

struct Rgb {
  int16_t red = 0;
  int16_t green = 0;
  int16_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// A colour number from its three components (each 0..255).
constexpr int32_t RgbColour(int red, int green, int blue) {
  return red | (green << 8) | (blue << 16);
}

// Splits a colour number into its three bytes: red from the lowest byte, then
// green, then blue (higher bits are ignored).
void LongToRGB(int32_t colour, int16_t& red, int16_t& green, int16_t& blue);
Rgb LongToRGB(int32_t colour);

// The theme's base colour; a theme outside 0..6 has black.
int32_t ThemeBaseColour(int theme);

struct SideBarTints {
  int32_t light = 0;
  int32_t dark = 0;
  bool operator==(const SideBarTints&) const = default;
};
// The side bar's edge tints: each component of the base colour times 1.5
// (light, at most 255) and times 0.5 (dark), halves rounded to the even
// number; the grey theme 6 uses white and black instead.
SideBarTints ThemeTints(int theme);

// The text colour of the labels on the banner: black on the light "Desert
// Sand" (theme 2), white on every other theme.
int32_t BannerTextColour(int theme);

}  // namespace brevora::frontend
