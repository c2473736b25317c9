#include "album/freeimage_bridge.h"

#include <FreeImage.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "album/picture_messages.h"

namespace brevora::album {
namespace {

constexpr const char* kToDib = "[FreeImage_BMP_From_DIB] ";
constexpr const char* kFromDib = "[FreeImage_DIB_From_BMP] ";

bool Fail(const char* prefix, const char* text) {
  SetPictureMessage(std::string(prefix) + text);
  return false;
}

// FreeImage keeps 24-bit pixels in the order of the machine's DIBs: blue,
// green, red on little-endian machines.
constexpr bool kBgrOrder = FI_RGBA_BLUE == 0 && FI_RGBA_GREEN == 1 && FI_RGBA_RED == 2;

// A 24-bit standard bitmap of any picture FreeImage holds; null when there is
// no way there.
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
  if (!bitmap) return Fail(kToDib, "No DIB specified to convert");
  if (!FreeImage_HasPixels(bitmap)) return Fail(kToDib, "The DIB holds no pixels");

  slides::Bitmap converted;
  FIBITMAP* rgb = bitmap;
  if (FreeImage_GetImageType(bitmap) != FIT_BITMAP || FreeImage_GetBPP(bitmap) != 24) {
    converted = To24Bits(bitmap);
    if (!converted) return Fail(kToDib, "Unable to convert the DIB to 24 bits");
    rgb = converted.get();
  }
  const unsigned width = FreeImage_GetWidth(rgb);
  const unsigned height = FreeImage_GetHeight(rgb);
  if (width > INT32_MAX || height > INT32_MAX ||
      !out.Create(static_cast<int32_t>(width), static_cast<int32_t>(height))) {
    return Fail(kToDib, "Unable to create the bitmap");
  }
  if (FreeImage_GetPitch(rgb) < width * 3) {
    out = DibSection();
    return Fail(kToDib, "The DIB's rows are shorter than its width");
  }
  for (int32_t y = 0; y < out.Height(); ++y) {
    const BYTE* source = FreeImage_GetScanLine(rgb, y);
    uint8_t* dest = out.Row(y);
    if constexpr (kBgrOrder) {
      std::memcpy(dest, source, width * 3u);
    } else {
      for (unsigned x = 0; x < width; ++x) {
        dest[x * 3 + 0] = source[x * 3 + FI_RGBA_BLUE];
        dest[x * 3 + 1] = source[x * 3 + FI_RGBA_GREEN];
        dest[x * 3 + 2] = source[x * 3 + FI_RGBA_RED];
      }
    }
  }
  return true;
}

bool BitmapToDib(slides::Bitmap bitmap, DibSection& out) {
  ClearPictureMessage();
  if (out.Adopt(bitmap)) return true;
  return BitmapToDib(bitmap.get(), out);
}

bool DibToBitmap(const DibSection& dib, slides::Bitmap& out) {
  ClearPictureMessage();
  out.reset();
  if (dib.Empty()) return Fail(kFromDib, "No bitmap specified to convert");
  slides::Bitmap bitmap(FreeImage_Allocate(dib.Width(), dib.Height(), 32));
  if (!bitmap) return Fail(kFromDib, "Unable to allocate the DIB");
  for (int32_t y = 0; y < dib.Height(); ++y) {
    const uint8_t* source = dib.Row(y);
    BYTE* dest = FreeImage_GetScanLine(bitmap.get(), y);
    for (int32_t x = 0; x < dib.Width(); ++x) {
      const uint8_t* p = source + static_cast<size_t>(x) * 3;
      BYTE* q = dest + static_cast<size_t>(x) * 4;
      q[FI_RGBA_BLUE] = p[0];
      q[FI_RGBA_GREEN] = p[1];
      q[FI_RGBA_RED] = p[2];
      q[FI_RGBA_ALPHA] = 0xFF;
    }
  }
  out = std::move(bitmap);
  return true;
}

}  // namespace brevora::album
