#pragma once
// The last bridge of the picture code: a DibSection as a QImage, ready to be
// drawn unscaled. Like the other bridge functions it never raises: it empties
// the picture message when it starts, stores its failure there
// ("[FreeImage_RenderBitmap] ...") and reports false.
#include <QImage>

#include "album/dib_section.h"

namespace brevora::album {

// `out` becomes the section's picture (top row first, as Qt draws), or a null
// image on failure.
bool RenderDib(const DibSection& dib, QImage& out);

}  // namespace brevora::album
