#pragma once
// DrawTransparentBitmap: copies a picture onto another with one colour left
// out, so that what lies beneath shows through wherever the picture has that
// colour (the banner picture's grey background over the banner's theme
// colour). It works on plain pixel memory, 32 bits a pixel laid out as
// 0xAARRGGBB in native byte order (the layout of Qt's RGB32 and ARGB32
// images); the alpha byte is neither compared nor changed.
#include <cstddef>
#include <cstdint>

namespace brevora::core {

template <class Pixel>
struct BasicPixelSurface {
  Pixel* pixels = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;  // pixels from one row to the next
};
using PixelSurface = BasicPixelSurface<uint32_t>;
using ConstPixelSurface = BasicPixelSurface<const uint32_t>;

// Copies the `width` x `height` pixels at the source's top-left corner to
// (`x`, `y`) of `destination`, leaving out the source pixels whose colour is
// `transparentColour` (a colour number, 0x00BBGGRR). Whatever falls outside
// either surface is cut off; negative sizes copy nothing.
void DrawTransparentBitmap(PixelSurface destination, ConstPixelSurface source, int x, int y,
                           int width, int height, int32_t transparentColour);

}  // namespace brevora::core
