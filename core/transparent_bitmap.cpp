#include "core/transparent_bitmap.h"

#include <algorithm>

namespace brevora::core {

void DrawTransparentBitmap(PixelSurface destination, ConstPixelSurface source, int x, int y,
                           int width, int height, int32_t transparentColour) {
  if (!destination.pixels || !source.pixels) return;
  const auto colour = static_cast<uint32_t>(transparentColour);
  // The same colour as a pixel: 0x00RRGGBB.
  const uint32_t key = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
  // Source rows and columns [0, w) x [0, h) land at [x, x + w) x [y, y + h).
  const int64_t columns = std::min<int64_t>({width, source.width, int64_t{destination.width} - x});
  const int64_t rows = std::min<int64_t>({height, source.height, int64_t{destination.height} - y});
  const int64_t firstColumn = std::max<int64_t>(0, -int64_t{x});
  const int64_t firstRow = std::max<int64_t>(0, -int64_t{y});
  for (int64_t row = firstRow; row < rows; ++row) {
    const uint32_t* from = source.pixels + row * source.stride;
    uint32_t* to = destination.pixels + (row + y) * destination.stride;
    for (int64_t column = firstColumn; column < columns; ++column) {
      uint32_t& pixel = to[column + x];
      if ((from[column] & 0xFFFFFF) != key)
        pixel = (pixel & 0xFF000000u) | (from[column] & 0xFFFFFF);
    }
  }
}

}  // namespace brevora::core
