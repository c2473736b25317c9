#include "conduit-doc/image_capture.h"

#include <FreeImage.h>

#include <algorithm>
#include <cstring>

#include "conduit-doc/document_db_format.h"
#include "conduit-doc/image_records.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "slides/freeimage_bitmap.h"

namespace brevora::scriv {
namespace {

namespace fmt = scriv_format;
using slides::Bitmap;

uint32_t Half(uint32_t side) { return std::max<uint32_t>(1, side / 2); }

// Whether the halved picture's bitmap file image fits into the image records.
bool Fits(uint32_t width, uint32_t height) {
  const uint64_t bytes =
      fmt::kBitmapBitsOffset + uint64_t{BitmapStride(Half(width))} * Half(height);
  return width > 0 && height > 0 && bytes <= uint64_t{fmt::kMaxChunks} * fmt::kMaxChunkData;
}

// The picture as a standard bitmap (8 to 32 bits per pixel); null when it can't be made one.
Bitmap Standard(Bitmap picture) {
  if (!picture || FreeImage_GetImageType(picture.get()) == FIT_BITMAP) return picture;
  Bitmap converted(FreeImage_ConvertTo24Bits(picture.get()));
  if (!converted) converted.reset(FreeImage_ConvertToStandardType(picture.get(), TRUE));
  return converted;
}

}  // namespace

ImageObject CreateImageObject() { return std::make_unique<slides::FreeImageLibrary>(); }

std::optional<std::vector<uint8_t>> CaptureImageBits(const ImageObject& images,
                                                     const std::string& path) {
  if (!images || !fs::FileExists(path)) return std::nullopt;
  const std::string native = fs::NativePath(path);
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(native.c_str(), 0);
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return std::nullopt;
  // A picture too large for the records is refused before its pixels are decoded.
  if (FreeImage_FIFSupportsNoPixels(format)) {
    const Bitmap header(FreeImage_Load(format, native.c_str(), FIF_LOAD_NOPIXELS));
    if (!header || !Fits(FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get())))
      return std::nullopt;
  }
  const Bitmap picture = Standard(slides::LoadPicture(path));
  if (!picture || !FreeImage_HasPixels(picture.get())) return std::nullopt;
  const uint32_t width = FreeImage_GetWidth(picture.get());
  const uint32_t height = FreeImage_GetHeight(picture.get());
  if (!Fits(width, height)) return std::nullopt;
  const Bitmap half(FreeImage_Rescale(picture.get(), static_cast<int>(Half(width)),
                                      static_cast<int>(Half(height)), FILTER_BOX));
  if (!half) return std::nullopt;
  const Bitmap pixels(FreeImage_ConvertTo16Bits565(half.get()));
  if (!pixels || FreeImage_GetBPP(pixels.get()) != fmt::kBitmapBitsPerPixel) return std::nullopt;

  const uint32_t w = FreeImage_GetWidth(pixels.get());
  const uint32_t h = FreeImage_GetHeight(pixels.get());
  const std::size_t stride = BitmapStride(w);
  if (FreeImage_GetPitch(pixels.get()) < stride) return std::nullopt;
  std::vector<uint8_t> rows(stride * h);  // the padding after each row stays 0
  // FreeImage keeps its rows bottom-up, as a bitmap file does.
  for (uint32_t y = 0; y < h; ++y) {
    std::memcpy(rows.data() + stride * y, FreeImage_GetScanLine(pixels.get(), static_cast<int>(y)),
                std::size_t{w} * 2);
  }
  return BitmapFileImage(w, h, rows);
}

}  // namespace brevora::scriv
