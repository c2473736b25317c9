#include "bench/pictures.h"

#include <FreeImage.h>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace brevora::bench {

slides::Bitmap MakePicture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  slides::Bitmap rgb(FreeImage_Allocate(width, height, 24));
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(rgb.get(), y);
    for (int x = 0; x < width; ++x) {
      const int noise = static_cast<int>(random() % 24);
      line[x * 3 + FI_RGBA_RED] = static_cast<BYTE>((x * 255 / width + noise) & 0xFF);
      line[x * 3 + FI_RGBA_GREEN] = static_cast<BYTE>((y * 255 / height + noise) & 0xFF);
      line[x * 3 + FI_RGBA_BLUE] = static_cast<BYTE>((x + y + seed * 40) & 0xFF);
    }
  }
  return rgb;
}

void SavePicture(const slides::Bitmap& rgb, bool reduce, const std::string& path) {
  slides::Bitmap reduced;
  if (reduce) reduced = slides::Bitmap(FreeImage_ColorQuantize(rgb.get(), FIQ_NNQUANT));
  if (!slides::SavePng(reduce ? reduced.get() : rgb.get(), path)) {
    std::fprintf(stderr, "cannot save %s\n", path.c_str());
    std::exit(1);
  }
}

}  // namespace brevora::bench
