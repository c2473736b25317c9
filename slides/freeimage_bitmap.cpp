#include "slides/freeimage_bitmap.h"

#include <FreeImage.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
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
  if (format == FIF_TARGA && TargaFreeImageMisreads(native)) return nullptr;
  return Bitmap(FreeImage_Load(format, native.c_str(), 0));
}

bool TargaFreeImageMisreads(const std::string& native) {
  std::ifstream in(native, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 18) return true;  // not even the header
  const auto at = [&](std::size_t i) -> std::size_t { return static_cast<uint8_t>(b[i]); };
  const std::size_t type = at(2);
  if (type != 9 && type != 10 && type != 11) return false;  // not run-length
  const std::size_t mapType = at(1), mapLength = at(5) | at(6) << 8, mapBits = at(7);
  if (mapType != 1 && mapLength != 0) return true;
  // A colour map of 15-bit entries, or one beside true colour, is not skipped
  // as its size says.
  if (mapType == 1 && (type == 10 || (mapBits != 16 && mapBits != 24 && mapBits != 32)))
    return true;
  const std::size_t width = at(12) | at(13) << 8, height = at(14) | at(15) << 8;
  const std::size_t pixelBytes = (at(16) + 7) / 8;
  if (pixelBytes == 0) return true;
  // The packets after the ID field and the colour map: each one a count byte
  // (its high bit set for a run of one value), then its pixels.
  std::size_t p = 18 + at(0) + (mapType == 1 ? mapLength * ((mapBits + 7) / 8) : 0);
  for (std::size_t row = 0; row < height; ++row) {
    for (std::size_t left = width; left > 0;) {
      if (p >= b.size()) return true;
      const std::size_t packet = at(p++);
      const std::size_t count = (packet & 0x7F) + 1;
      if (count > left) return true;
      p += (packet & 0x80) != 0 ? pixelBytes : pixelBytes * count;
      left -= count;
    }
  }
  return p > b.size();
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
