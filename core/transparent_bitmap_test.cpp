// Copying a picture with one colour left out, pixel by pixel.
#include "core/transparent_bitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevora::core {
namespace {

struct Image {
  int width;
  int height;
  std::vector<uint32_t> pixels;
  Image(int w, int h, uint32_t fill)
      : width(w), height(h), pixels(static_cast<size_t>(w * h), fill) {}
  uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; }
  PixelSurface surface() { return {pixels.data(), width, height, width}; }
  ConstPixelSurface view() const { return {pixels.data(), width, height, width}; }
};

constexpr uint32_t kGrey = 0xFF666666;  // the transparent colour as a pixel
constexpr int32_t kGreyColour = 0x666666;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kPurple = 0xFF630052;  // theme 0

TEST(DrawTransparentBitmap, LeavesTheTransparentColourOut) {
  // A 3 x 2 picture: red, grey, blue / grey, red, grey.
  Image picture(3, 2, kGrey);
  picture.at(0, 0) = kRed;
  picture.at(2, 0) = kBlue;
  picture.at(1, 1) = kRed;
  Image banner(5, 4, kPurple);
  DrawTransparentBitmap(banner.surface(), picture.view(), 1, 1, 3, 2, kGreyColour);
  const uint32_t P = kPurple, R = kRed, B = kBlue;
  EXPECT_EQ(banner.pixels, (std::vector<uint32_t>{P, P, P, P, P,  //
                                                  P, R, P, B, P,  //
                                                  P, P, R, P, P,  //
                                                  P, P, P, P, P}));
}

TEST(DrawTransparentBitmap, TheColourNumberIsBlueGreenRedAndAlphaIsIgnored) {
  Image picture(2, 1, 0x00112233);  // 0x112233 as a pixel: red 0x11, blue 0x33
  picture.at(1, 0) = 0xFF332211;
  Image target(2, 1, kPurple);
  DrawTransparentBitmap(target.surface(), picture.view(), 0, 0, 2, 1,
                        0x332211);  // red 0x11, blue 0x33
  EXPECT_EQ(target.pixels, (std::vector<uint32_t>{kPurple, 0xFF332211}));
}

TEST(DrawTransparentBitmap, CutsOffWhatFallsOutside) {
  Image picture(3, 3, kRed);
  struct Case {
    int x, y, w, h;
    int painted;
  };
  const Case cases[] = {{-1, -1, 3, 3, 4}, {3, 3, 3, 3, 1},      {0, 0, 10, 10, 9},
                        {4, 0, 3, 3, 0},   {0, -3, 3, 3, 0},     {0, 0, -1, 3, 0},
                        {0, 0, 2, 1, 2},   {-100000, 0, 3, 3, 0}};
  for (const Case& k : cases) {
    Image target(4, 4, kPurple);
    DrawTransparentBitmap(target.surface(), picture.view(), k.x, k.y, k.w, k.h, kGreyColour);
    int painted = 0;
    for (uint32_t p : target.pixels) painted += p == kRed;
    EXPECT_EQ(painted, k.painted) << k.x << "," << k.y << " " << k.w << "x" << k.h;
  }
  Image target(4, 4, kPurple);
  DrawTransparentBitmap(target.surface(), {nullptr, 3, 3, 3}, 0, 0, 3, 3, kGreyColour);
  EXPECT_EQ(target.pixels, std::vector<uint32_t>(16, kPurple));
}

}  // namespace
}  // namespace brevora::core
