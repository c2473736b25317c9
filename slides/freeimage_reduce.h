#pragma once
// The one ladder of colour reductions over FreeImage. Each picture code that
// reduces a picture's colours names the format it wants (ColourFormat) and
// converts through ConvertColours: the PNG reduction's library path and the
// album's slide pictures choose the format from a depth (FormatForDepth), the
// picture class "FreeImage.Image" from its ChangeColors value.
#include <cstdint>
#include <optional>

#include "slides/freeimage_bitmap.h"

namespace brevora::slides {

enum class ColourFormat {
  kGrey,         // 8-bit grey
  kGreyPalette,  // 8-bit grey, then a 256-colour NeuQuant palette of it
  kPalette,      // a 256-colour NeuQuant palette of the colours
  kHighColour,   // 5-6-5 colour precision, kept in 24 bits (PNG holds no 16-bit colour)
  kRgb,          // 24 bits a pixel
  kRgba,         // 32 bits a pixel
};

// The picture in that format, as a new bitmap (the picture itself is left as
// it is); null when FreeImage can't convert it.
Bitmap ConvertColours(FIBITMAP* picture, ColourFormat format);

// The format a depth below a picture's own asks for: 1 to 4 a grey palette,
// 5 to 8 a colour palette, 16 and 24 24 bits, 32 32 bits; nothing (the
// picture kept as it is) for any other depth.
std::optional<ColourFormat> FormatForDepth(int32_t depth);

}  // namespace brevora::slides
