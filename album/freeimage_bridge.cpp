#include "album/freeimage_bridge.h"

#include <FreeImage.h>

#include <string>

#include "album/picture_messages.h"

namespace brevora::album {
namespace {

constexpr const char* kToDib = "[FreeImage_BMP_From_DIB] ";

bool Fail(const char* text) {
  SetPictureMessage(std::string(kToDib) + text);
  return false;
}

// A new 24-bit standard bitmap of any picture FreeImage holds; null when there
// is no way there.
slides::Bitmap To24Bits(FIBITMAP* bitmap) {
  switch (FreeImage_GetImageType(bitmap)) {
    case FIT_BITMAP:
    case FIT_RGB16:
    case FIT_RGBA16:
      return slides::Bitmap(FreeImage_ConvertTo24Bits(bitmap));
    case FIT_RGBF:
    case FIT_RGBAF:
      return slides::Bitmap(FreeImage_ToneMapping(bitmap, FITMO_DRAGO03, 0, 0));
    default: {
      // One channel of 16 or 32 bits, or floating point: scaled to 8 bits first.
      slides::Bitmap standard(FreeImage_ConvertToStandardType(bitmap, TRUE));
      return standard ? slides::Bitmap(FreeImage_ConvertTo24Bits(standard.get())) : nullptr;
    }
  }
}

}  // namespace

bool BitmapToDib(FIBITMAP* bitmap, DibSection& out) {
  ClearPictureMessage();
  out = DibSection();
  if (!bitmap) return Fail("No DIB specified to convert");
  if (!FreeImage_HasPixels(bitmap)) return Fail("The DIB holds no pixels");
  slides::Bitmap rgb = To24Bits(bitmap);
  if (!rgb) return Fail("Unable to convert the DIB to 24 bits");
  if (!out.Adopt(rgb)) return Fail("Unable to create the bitmap");
  return true;
}

bool BitmapToDib(slides::Bitmap bitmap, DibSection& out) {
  ClearPictureMessage();
  if (out.Adopt(bitmap)) return true;
  return BitmapToDib(bitmap.get(), out);
}

}  // namespace brevora::album
