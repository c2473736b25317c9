#include "slides/freeimage_bitmap.h"

#include <FreeImage.h>

#include <string>

#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace brevora::slides {
namespace {

struct CloseMemory {
  void operator()(FIMEMORY* memory) const noexcept { FreeImage_CloseMemory(memory); }
};

}  // namespace

void FreeImageUnload::operator()(FIBITMAP* bitmap) const noexcept { FreeImage_Unload(bitmap); }

Bitmap LoadPicture(std::string_view path) {
  const std::string native = fs::NativePath(path);
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(native.c_str(), 16);
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return nullptr;
  return Bitmap(FreeImage_Load(format, native.c_str(), 0));
}

std::optional<std::vector<uint8_t>> EncodePng(FIBITMAP* bitmap) {
  if (!bitmap) return std::nullopt;
  // FreeImage's PNG encoder takes what the format holds and reads past the
  // pixels of anything else (a 16-bit colour picture is written as 24-bit rows
  // of its 16-bit bytes). 16-bit colour goes in as its 24-bit conversion, the
  // same colours; kinds of picture PNG has no form for are refused.
  Bitmap converted;
  if (FreeImage_GetImageType(bitmap) == FIT_BITMAP) {
    if (!FreeImage_FIFSupportsExportBPP(FIF_PNG, static_cast<int>(FreeImage_GetBPP(bitmap)))) {
      converted = Bitmap(FreeImage_ConvertTo24Bits(bitmap));
      if (!converted) return std::nullopt;
      bitmap = converted.get();
    }
  } else if (!FreeImage_FIFSupportsExportType(FIF_PNG, FreeImage_GetImageType(bitmap))) {
    return std::nullopt;
  }
  std::unique_ptr<FIMEMORY, CloseMemory> memory(FreeImage_OpenMemory());
  if (!memory || !FreeImage_SaveToMemory(FIF_PNG, bitmap, memory.get(), 0)) return std::nullopt;
  BYTE* data = nullptr;
  DWORD size = 0;
  if (!FreeImage_AcquireMemory(memory.get(), &data, &size)) return std::nullopt;
  return std::vector<uint8_t>(data, data + size);
}

bool SavePng(FIBITMAP* bitmap, std::string_view path) {
  std::optional<std::vector<uint8_t>> png = EncodePng(bitmap);
  if (!png) return false;
  fs::AtomicWrite(path, *png);
  return true;
}

}  // namespace brevora::slides
