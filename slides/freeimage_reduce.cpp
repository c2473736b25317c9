#include "slides/freeimage_reduce.h"

#include <FreeImage.h>

namespace brevora::slides {
namespace {

// NeuQuant takes 24-bit pictures; one that has them already is quantized as
// it is, without a copy.
Bitmap Quantize(FIBITMAP* picture) {
  if (FreeImage_GetImageType(picture) == FIT_BITMAP && FreeImage_GetBPP(picture) == 24) {
    return Bitmap(FreeImage_ColorQuantize(picture, FIQ_NNQUANT));
  }
  Bitmap rgb(FreeImage_ConvertTo24Bits(picture));
  return rgb ? Bitmap(FreeImage_ColorQuantize(rgb.get(), FIQ_NNQUANT)) : nullptr;
}

}  // namespace

Bitmap ConvertColours(FIBITMAP* picture, ColourFormat format) {
  if (!picture) return nullptr;
  switch (format) {
    case ColourFormat::kGrey:
      return Bitmap(FreeImage_ConvertTo8Bits(picture));
    case ColourFormat::kGreyPalette: {
      Bitmap grey(FreeImage_ConvertTo8Bits(picture));
      return grey ? Quantize(grey.get()) : nullptr;
    }
    case ColourFormat::kPalette:
      return Quantize(picture);
    case ColourFormat::kHighColour: {
      Bitmap reduced(FreeImage_ConvertTo16Bits565(picture));
      return reduced ? Bitmap(FreeImage_ConvertTo24Bits(reduced.get())) : nullptr;
    }
    case ColourFormat::kRgb:
      return Bitmap(FreeImage_ConvertTo24Bits(picture));
    case ColourFormat::kRgba:
      return Bitmap(FreeImage_ConvertTo32Bits(picture));
  }
  return nullptr;
}

std::optional<ColourFormat> FormatForDepth(int32_t depth) {
  if (depth >= 1 && depth <= 4) return ColourFormat::kGreyPalette;
  if (depth >= 5 && depth <= 8) return ColourFormat::kPalette;
  if (depth == 16 || depth == 24) return ColourFormat::kRgb;
  if (depth == 32) return ColourFormat::kRgba;
  return std::nullopt;
}

}  // namespace brevora::slides
