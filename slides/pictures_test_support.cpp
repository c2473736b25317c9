#include "slides/pictures_test_support.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <fstream>
#include <unordered_set>

#include "slides/freeimage_bitmap.h"
#include "slides/freeimage_init.h"

namespace brevora::slides::testing {
namespace {

Bitmap MakeGradient(int width, int height) {
  Bitmap rgb(FreeImage_Allocate(width, height, 24));
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(rgb.get(), y);
    for (int x = 0; x < width; ++x) {
      line[x * 3 + FI_RGBA_RED] = static_cast<BYTE>(x * 255 / (width > 1 ? width - 1 : 1));
      line[x * 3 + FI_RGBA_GREEN] = static_cast<BYTE>(y * 255 / (height > 1 ? height - 1 : 1));
      line[x * 3 + FI_RGBA_BLUE] = static_cast<BYTE>((x * 7 + y * 13) & 0xFF);
    }
  }
  return rgb;
}

Bitmap MakePicture(int width, int height, int bpp) {
  Bitmap rgb = MakeGradient(width, height);
  if (bpp == 24) return rgb;
  if (bpp == 32) {
    // Not all opaque, so that the PNG keeps its alpha channel: an opaque one
    // would be saved with 24 bits.
    Bitmap rgba(FreeImage_ConvertTo32Bits(rgb.get()));
    for (int y = 0; rgba && y < height; ++y) {
      BYTE* line = FreeImage_GetScanLine(rgba.get(), y);
      for (int x = 0; x < width; ++x)
        line[x * 4 + FI_RGBA_ALPHA] = static_cast<BYTE>(255 - (x + y) % 64);
    }
    return rgba;
  }
  if (bpp == 8) return Bitmap(FreeImage_ConvertTo8Bits(rgb.get()));
  ADD_FAILURE() << "no test picture of " << bpp << " bits";
  return nullptr;
}

}  // namespace

std::vector<uint8_t> TestPicturePng(int width, int height, int bpp) {
  FreeImageLibrary library;
  Bitmap picture = MakePicture(width, height, bpp);
  auto png = EncodePng(picture.get());
  EXPECT_TRUE(png.has_value());
  return png.value_or(std::vector<uint8_t>{});
}

void WriteTestPicture(const std::string& path, int width, int height, int bpp) {
  const std::vector<uint8_t> png = TestPicturePng(width, height, bpp);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  ASSERT_TRUE(out.good()) << path;
}

PictureInfo ReadPicture(const std::string& path) {
  FreeImageLibrary library;
  Bitmap picture = LoadPicture(path);
  if (!picture) {
    ADD_FAILURE() << path << " is not a picture";
    return {};
  }
  PictureInfo info;
  info.width = FreeImage_GetWidth(picture.get());
  info.height = FreeImage_GetHeight(picture.get());
  info.bpp = FreeImage_GetBPP(picture.get());
  if (const RGBQUAD* palette = FreeImage_GetPalette(picture.get())) {
    info.palette = true;
    info.paletteSize = FreeImage_GetColorsUsed(picture.get());
    info.greyPalette = true;
    for (unsigned i = 0; i < info.paletteSize; ++i) {
      const RGBQUAD& c = palette[i];
      if (c.rgbRed != c.rgbGreen || c.rgbGreen != c.rgbBlue) info.greyPalette = false;
    }
  }
  Bitmap rgb(FreeImage_ConvertTo24Bits(picture.get()));
  std::unordered_set<uint32_t> colours;
  for (unsigned y = 0; y < info.height; ++y) {
    const BYTE* line = FreeImage_GetScanLine(rgb.get(), static_cast<int>(y));
    for (unsigned x = 0; x < info.width; ++x) {
      const BYTE* p = line + x * 3;
      colours.insert(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16);
    }
  }
  info.colours = colours.size();
  return info;
}

}  // namespace brevora::slides::testing
