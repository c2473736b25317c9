#include "album/app/dib_qimage.h"

#include <new>

#include "album/picture_messages.h"

namespace brevora::album {

bool RenderDib(const DibSection& dib, QImage& out) {
  ClearPictureMessage();
  out = QImage();
  if (dib.Empty()) {
    SetPictureMessage("[FreeImage_RenderBitmap] No bitmap specified to draw");
    return false;
  }
  try {
    QImage image(dib.Width(), dib.Height(), QImage::Format_RGB888);
    if (image.isNull()) {
      SetPictureMessage("[FreeImage_RenderBitmap] Unable to create the image to draw");
      return false;
    }
    for (int32_t y = 0; y < dib.Height(); ++y) {
      // The section's row 0 is the bottom row; the image's is the top one.
      const uint8_t* source = dib.Row(dib.Height() - 1 - y);
      uchar* dest = image.scanLine(y);
      for (int32_t x = 0; x < dib.Width(); ++x) {
        dest[x * 3 + 0] = source[x * 3 + 2];
        dest[x * 3 + 1] = source[x * 3 + 1];
        dest[x * 3 + 2] = source[x * 3 + 0];
      }
    }
    out = std::move(image);
    return true;
  } catch (const std::bad_alloc&) {
    SetPictureMessage("[FreeImage_RenderBitmap] Out of memory");
    return false;
  }
}

}  // namespace brevora::album
