// Fuzzes the album's resampler and colour reduction on fuzzed sizes and
// pixels: a source of up to 96 x 96 pixels (the bytes after a small header,
// repeated), resampled to up to 160 x 160 (48 x 48 for the palette depths, so
// that the colour quantizer leaves time for many inputs) and, as the FreeImage
// bitmap the section is, reduced to a slide depth. Checks: the result has
// exactly the size asked; every byte lies between the smallest and largest of
// its channel in the source (a blend never leaves them); the same size copies
// every byte; FreeImage sees the section's own bytes as a 24-bit bitmap, and
// the bridge brings it back unchanged; the reduction gives the bits a pixel
// its depth promises.
#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "album/dib_section.h"
#include "album/freeimage_bridge.h"
#include "album/image_pipeline.h"
#include "album/picture_messages.h"
#include "fuzz/fuzz_target.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  std::vector<Seed> seeds;
  const auto header = [](int sw, int sh, int tw, int th, int depth) {
    return std::string{char(sw),        char(sh),      char(tw & 0xFF), char(tw >> 8),
                       char(th & 0xFF), char(th >> 8), char(depth)};
  };
  seeds.push_back({"shrink", header(64, 48, 20, 15, 8) + std::string(64 * 48 * 3, '\x80')});
  std::string gradient;
  for (int i = 0; i < 30 * 20 * 3; ++i) gradient.push_back(char(i * 7));
  seeds.push_back({"enlarge", header(30, 20, 0x90, 0x00, 24) + gradient});
  seeds.push_back(
      {"one-wide", header(1, 9, 5, 17, 32) + std::string("\x01\x02\x03\xFE\xFD\xFC", 6)});
  seeds.push_back({"same", header(7, 5, 7, 5, 16) + gradient});
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  static album::PictureLibrary library;
  if (size < 8) return 0;
  const int32_t sourceWidth = data[0] % 96 + 1;
  const int32_t sourceHeight = data[1] % 96 + 1;
  const int32_t depthAsked = static_cast<int8_t>(data[6]);
  // The palette reduction (NeuQuant, in FreeImage) costs far more a pixel than
  // all the rest: the sizes it gets stay smaller, so that inputs keep coming.
  const int32_t sizes = depthAsked <= 8 ? 49 : 161;
  const int32_t width = (data[2] | data[3] << 8) % sizes;  // 0 is refused
  const int32_t height = (data[4] | data[5] << 8) % sizes;
  const uint8_t* pixels = data + 7;
  const size_t count = size - 7;

  album::DibSection source;
  Check(source.Create(sourceWidth, sourceHeight), "a small section could not be made");
  std::array<uint8_t, 3> low{255, 255, 255}, high{0, 0, 0};
  size_t k = 0;
  for (int32_t y = 0; y < sourceHeight; ++y) {
    for (int32_t x = 0; x < sourceWidth * 3; ++x, ++k) {
      const uint8_t v = pixels[k % count];
      source.Row(y)[x] = v;
      low[x % 3] = std::min(low[x % 3], v);
      high[x % 3] = std::max(high[x % 3], v);
    }
  }

  auto out = source.Resample(height, width);
  if (width < 1 || height < 1) {
    Check(!out, "a size below 1 was made");
    return 0;
  }
  Check(out.has_value(), "a resample failed");
  Check(out->Width() == width && out->Height() == height, "the result has another size");
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width * 3; ++x) {
      const uint8_t v = out->Row(y)[x];
      Check(v >= low[x % 3] && v <= high[x % 3], "a value outside its channel's range");
      if (width == sourceWidth && height == sourceHeight)
        Check(v == source.Row(y)[x], "a same-size copy differs");
    }
  }

  FIBITMAP* bitmap = out->Bitmap();
  Check(bitmap && FreeImage_GetBPP(bitmap) == 24, "the section is not a 24-bit bitmap");
  Check(FreeImage_GetWidth(bitmap) == static_cast<unsigned>(width) &&
            FreeImage_GetHeight(bitmap) == static_cast<unsigned>(height),
        "the bitmap has another size than the section");
  for (int32_t y = 0; y < height; ++y) {
    Check(FreeImage_GetScanLine(bitmap, y) == out->Row(y), "FreeImage reads another row");
  }
  album::DibSection back;
  Check(album::BitmapToDib(bitmap, back), "the bridge back failed: " + album::PictureMessage());
  Check(back.Width() == width && back.Height() == height, "the bridge back changed the size");
  for (int32_t y = 0; y < height; ++y) {
    Check(std::equal(back.Row(y), back.Row(y) + width * 3, out->Row(y)),
          "the bridge back changed a pixel");
  }

  int32_t depth = depthAsked;
  slides::Bitmap reduced = album::OptimizeDibColors(out->Release(), depth);
  Check(reduced != nullptr, "the reduction failed");
  const unsigned bpp = FreeImage_GetBPP(reduced.get());
  // The section has 24 bits: 16 reads 24, any deeper depth leaves it so.
  if (depthAsked <= 8) Check(bpp == 8 && depth == 8, "not reduced to 8 bits");
  if (depthAsked > 8)
    Check(bpp == 24 && depth == (depthAsked == 16 ? 24 : depthAsked), "not left at 24 bits");
  return 0;
}
