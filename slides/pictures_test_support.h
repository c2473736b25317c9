#pragma once
// Test support: pictures made with FreeImage in the test itself, and what a
// decoded picture file holds (size, bits per pixel, distinct colours), so tests
// check pictures rather than PNG bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brevora::slides::testing {

// Writes a PNG of width x height: at 24 or 32 bits a gradient of thousands of
// colours, at 8 bits the same picture as 256 greys.
void WriteTestPicture(const std::string& path, int width, int height, int bpp);
// The PNG bytes of such a picture.
std::vector<uint8_t> TestPicturePng(int width, int height, int bpp);

struct PictureInfo {
  unsigned width = 0;
  unsigned height = 0;
  unsigned bpp = 0;
  std::size_t colours = 0;   // distinct RGB values of the pixels
  bool palette = false;      // an 8-bit (or less) picture with a palette
  bool greyPalette = false;  // every palette entry is a grey
  unsigned paletteSize = 0;
};

// Decodes the file; fails the test (and returns an empty info) when it is not a
// picture.
PictureInfo ReadPicture(const std::string& path);

}  // namespace brevora::slides::testing
