#pragma once
// The bridge from whatever FreeImage loaded to the pipeline's one buffer, the
// 24-bit DibSection. Neither function raises: each empties the picture message
// (picture_messages.h) when it starts, stores its first failure there
// ("[FreeImage_BMP_From_DIB] ...") and reports false.
#include "album/dib_section.h"
#include "slides/freeimage_bitmap.h"

namespace brevora::album {

// The picture as a 24-bit section: palettes, 16-bit pixels and 16 bits a
// channel become blue, green, red bytes; an alpha channel is dropped (the
// colours stay as stored). The bitmap is left as it is; `out` is replaced.
bool BitmapToDib(FIBITMAP* bitmap, DibSection& out);
// The same for a bitmap the caller gives up: a 24-bit one becomes the section
// without a copy (DibSection::Adopt); any other is converted as above and
// released.
bool BitmapToDib(slides::Bitmap bitmap, DibSection& out);

}  // namespace brevora::album
