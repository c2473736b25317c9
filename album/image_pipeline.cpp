#include "album/image_pipeline.h"

#include <FreeImage.h>

#include <string>

#include "album/decoded_picture.h"
#include "album/freeimage_bridge.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "slides/freeimage_bitmap.h"
#include "slides/freeimage_reduce.h"

namespace brevora::album {
namespace {

constexpr int32_t kPaletteDepth = 8;
constexpr int32_t kRgbDepth = 24;
constexpr int32_t kHighColourDepth = 16;

[[noreturn]] void RaisePictureError(const std::string& description) {
  RaiseError(kPictureError, kPictureSource, description);
}

std::string PictureFile(std::string_view folder, int16_t slideNumber, const char* suffix) {
  return std::string(folder) + "image" + std::to_string(slideNumber) + suffix;
}

// Saves the bitmap as PNG at `path` (temporary file, then rename); any failure
// raises 32751 naming the file.
void SaveOrRaise(FIBITMAP* bitmap, const std::string& path) {
  const std::string message = "Unable to save the picture '" + path + "'.";
  bool saved = false;
  try {
    saved = bitmap && slides::SavePng(bitmap, path);
  } catch (...) {
    RaisePictureError(message + "\r\n" + CurrentError().description());
  }
  if (!saved) RaisePictureError(message);
}

// Resizes, reduces and saves one picture of an entry: the resampled section
// goes to the reduction as it is.
void MakeImage(const DibSection& picture, int32_t width, int32_t height, int32_t& depth,
               const std::string& path) {
  const slides::Bitmap reduced =
      OptimizeDibColors(ResizeDib(picture, width, height).Release(), depth);
  SaveOrRaise(reduced.get(), path);
}

}  // namespace

bool IsSupportedImageFile(std::string_view path) {
  const std::string native = fs::NativePath(path);
  return FreeImage_GetFileType(native.c_str(), 16) != FIF_UNKNOWN;
}

slides::Bitmap LoadDibFromPath(std::string_view path) {
  const std::string native = fs::NativePath(path);
  const FREE_IMAGE_FORMAT type = FreeImage_GetFileType(native.c_str(), 16);
  if (type == FIF_UNKNOWN)
    RaisePictureError("loadDIBFromPath: Attempted to load invalid image file");
  if (type == FIF_TARGA && slides::TargaFreeImageMisreads(native)) {
    RaisePictureError("loadDIBFromPath: Error in loading DIB");
  }
  slides::Bitmap bitmap(FreeImage_Load(type, native.c_str(), 0));
  if (!bitmap) RaisePictureError("loadDIBFromPath: Error in loading DIB");
  return bitmap;
}

DibSection DecodePicture(std::string_view path) {
  DibSection picture;
  if (!BitmapToDib(LoadDibFromPath(path), picture)) {
    RaisePictureError("loadDIBFromPath: Unable to convert image to 24 bits");
  }
  return picture;
}

DibSection ResizeDib(const DibSection& picture, int32_t width, int32_t height) {
  std::optional<DibSection> resized = picture.Resample(height, width);
  if (!resized) RaisePictureError("resizeDIB: Unable to create dest DIB Section");
  return std::move(*resized);
}

slides::Bitmap OptimizeDibColors(slides::Bitmap bitmap, int32_t& depth) {
  if (!bitmap) return nullptr;
  const int32_t bpp = static_cast<int32_t>(FreeImage_GetBPP(bitmap.get()));
  if (depth >= bpp || bpp <= kPaletteDepth) return bitmap;
  if (depth < kPaletteDepth) depth = kPaletteDepth;
  if (depth == kHighColourDepth) depth = kRgbDepth;
  const std::optional<slides::ColourFormat> format = slides::FormatForDepth(depth);
  if (!format) return bitmap;
  return slides::ConvertColours(bitmap.get(), *format);
}

void MakeThumbnailImage(std::string_view folder, SlideNode& entry, int32_t& depth,
                        const DibSection& picture) {
  const std::string path = PictureFile(folder, entry.slideNumber, "_thumb.png");
  MakeImage(picture, kThumbnailWidth, kThumbnailHeight, depth, path);
  entry.thumbnailPath = path;
}

void MakeSlideImage(std::string_view folder, SlideNode& entry, int32_t width, int32_t height,
                    int32_t& depth, const DibSection& picture) {
  const std::string path = PictureFile(folder, entry.slideNumber, ".png");
  MakeImage(picture, width, height, depth, path);
  entry.presImagePath = path;
}

std::vector<std::string> MakeAllSlideImages(std::string_view folder,
                                            std::vector<SlideNode>& entries, int32_t width,
                                            int32_t height, int32_t depth,
                                            const DecodedPicture* decoded) {
  std::vector<std::string> written;
  for (SlideNode& entry : entries) {
    const DibSection* held = decoded ? decoded->Find(entry.fullPath) : nullptr;
    DibSection own;
    if (!held) {
      own = DecodePicture(entry.fullPath);
      held = &own;
    }
    const DibSection& picture = *held;
    MakeThumbnailImage(folder, entry, depth, picture);
    written.push_back(entry.thumbnailPath);
    MakeSlideImage(folder, entry, width, height, depth, picture);
    written.push_back(entry.presImagePath);
  }
  return written;
}

std::optional<DibSection> DecodeForPreview(std::string_view path) {
  try {
    if (!IsSupportedImageFile(path)) return std::nullopt;
    return DecodePicture(path);
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<DibSection> FitPreview(const DibSection& picture, int32_t boxWidth,
                                     int32_t boxHeight) {
  if (picture.Width() > boxWidth || picture.Height() > boxHeight) {
    return picture.Resample(boxHeight, boxWidth);
  }
  return picture.Resample(picture.Height(), picture.Width());
}

std::optional<DibSection> PreviewPicture(std::string_view path, int32_t boxWidth,
                                         int32_t boxHeight) {
  const std::optional<DibSection> picture = DecodeForPreview(path);
  if (!picture) return std::nullopt;
  return FitPreview(*picture, boxWidth, boxHeight);
}

}  // namespace brevora::album
