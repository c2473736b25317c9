// The handheld palette: its telling rows, both conversions, and the way both
// read their arguments as signed 16-bit numbers.
#include <gtest/gtest.h>

#include <array>

#include "support/tabrelc.h"

namespace {

std::array<int, 3> Rgb(int32_t index) {
  int16_t r = -7, g = -7, b = -7;
  PalmIndexToRGB(index, &r, &g, &b);
  return {r, g, b};
}

TEST(PalmIndexToRGB, TellingRows) {
  const struct {
    int32_t index;
    std::array<int, 3> rgb;
  } rows[] = {
      {0, {0xFF, 0xFF, 0xFF}},
      {1, {0xFF, 0xCC, 0xFF}},
      {5, {0xFF, 0x00, 0xFF}},
      {6, {0xFF, 0xFF, 0xCC}},
      {18, {0xCC, 0xFF, 0xFF}},
      {107, {0x00, 0x00, 0x99}},
      {108, {0xFF, 0xFF, 0x66}},
      {214, {0x00, 0x33, 0x00}},
      {215, {0x11, 0x11, 0x11}},
      {224, {0xEE, 0xEE, 0xEE}},
      {225, {0xC0, 0xC0, 0xC0}},
      {226, {0x80, 0x00, 0x00}},
      {227, {0x80, 0x00, 0x80}},
      {228, {0x00, 0x80, 0x00}},
      {229, {0x00, 0x80, 0x80}},
      {230, {0, 0, 0}},
      {255, {0, 0, 0}},
      // Outside 0..255 (the low 16 bits read as signed): all zero.
      {256, {0, 0, 0}},
      {300, {0, 0, 0}},
      {-1, {0, 0, 0}},
      {0xFFFF, {0, 0, 0}},
      // Only the low 16 bits count.
      {0x10000 + 215, {0x11, 0x11, 0x11}},
  };
  for (const auto& row : rows) EXPECT_EQ(Rgb(row.index), row.rgb) << row.index;
}

TEST(PalmIndexToRGB, CubeHoldsEveryLevelMixOnce) {
  // The 215 cube entries are the 6 x 6 x 6 level mixes without black, each once.
  std::array<int, 216> seen{};
  for (int i = 0; i < 215; ++i) {
    const auto c = Rgb(i);
    const auto level = [](int v) { return (0xFF - v) / 0x33; };
    for (int v : c) ASSERT_EQ((0xFF - v) % 0x33, 0) << i;
    ++seen[static_cast<size_t>(level(c[0]) * 36 + level(c[1]) * 6 + level(c[2]))];
  }
  for (size_t k = 0; k < 215; ++k) EXPECT_EQ(seen[k], 1) << k;
  EXPECT_EQ(seen[215], 0);  // black is not in the cube
}

TEST(RGBToPalmIndex, NearestEntry) {
  const struct {
    int32_t r, g, b;
    int32_t index;
  } rows[] = {
      {0, 0, 0, 230},  // the first black entry
      {255, 255, 255, 0},
      {16, 16, 16, 215},
      {0, 17, 34, 209},     // 209 (00 00 33) and 215 (11 11 11) both at 34: the lower index wins
      {200, 200, 200, 25},  // CC CC CC is nearer than C0 C0 C0
      {0x80, 0x00, 0x80, 227},
      {300, 300, 300, 0},
      {-1, -1, -1, 230},                 // signed: 3 from black
      {0xFFFF, 0xFFFF, 0xFFFF, 230},     // the same as -1
      {0x10000, 0x10000, 0x10000, 230},  // low 16 bits: 0
      {-1000, -1000, -1000, 0},          // nothing nearer than 1024
  };
  for (const auto& row : rows)
    EXPECT_EQ(RGBToPalmIndex(row.r, row.g, row.b), row.index)
        << row.r << "," << row.g << "," << row.b;
}

TEST(RGBToPalmIndex, EveryEntryFindsItsFirstOccurrence) {
  for (int i = 0; i < 256; ++i) {
    const auto c = Rgb(i);
    EXPECT_EQ(RGBToPalmIndex(c[0], c[1], c[2]), i < 230 ? i : 230) << i;
  }
}

}  // namespace
