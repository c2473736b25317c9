#pragma once
// For the targets where user pictures reach FreeImage: small pictures of the
// kinds people have (colour, palette, grey, 1-bit, with alpha, 16-bit
// channels), each in the formats FreeImage writes and reads, as seeds; the
// size limit of an input picture; and the memory of such a target.
#include <FreeImage.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "slides/freeimage_bitmap.h"

namespace brevora::fuzz {

// A picture's pixels a target decodes at most (as its header says, when the
// format can tell without decoding): a larger one costs a decode (and a colour
// quantization) of many times the time and no new path, so it is left out.
inline constexpr unsigned kMaxPicturePixels = 128 * 128;

// Called once a target has started FreeImage: camera RAW detection off. For a
// file no other format takes, LibRaw's look at it costs half a millisecond
// (30 times the rest of the type check), and a RAW picture reaches our code
// as the 16-bit-a-channel colour bitmap a PNG seed gives already.
inline void LeaveOutCameraRaw() { FreeImage_SetPluginEnabled(FIF_RAW, FALSE); }

// The pixels of a GIF's first frame, which is what FreeImage decodes (and
// allocates) of it: its header's size is only the logical screen's, which a
// frame may pass many times over. Nullopt when the blocks end before a frame.
inline std::optional<unsigned long long> GifFramePixels(const std::string& native) {
  std::ifstream in(native, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto at = [&](std::size_t i) { return static_cast<unsigned>(static_cast<uint8_t>(b[i])); };
  if (b.size() < 13) return std::nullopt;
  std::size_t p = 13;
  if (at(10) & 0x80) p += std::size_t{3} << ((at(10) & 7) + 1);  // the global colour table
  while (p < b.size()) {
    if (at(p) == 0x2C) {  // an image descriptor: left, top, width, height
      if (p + 9 > b.size()) return std::nullopt;
      return static_cast<unsigned long long>(at(p + 5) | at(p + 6) << 8) *
             (at(p + 7) | at(p + 8) << 8);
    }
    if (at(p) != 0x21)
      return std::nullopt;  // else an extension: its label, then sub-blocks up to a 0
    p += 2;
    while (p < b.size() && at(p) != 0) p += at(p) + std::size_t{1};
    ++p;
  }
  return std::nullopt;
}

// False for a file whose header declares more than kMaxPicturePixels pixels
// (for a GIF, whose first frame has more).
inline bool SmallEnough(const std::string& native) {
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(native.c_str(), 16);
  if (format == FIF_GIF) {
    const auto pixels = GifFramePixels(native);
    if (pixels && *pixels > kMaxPicturePixels) return false;
  }
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsNoPixels(format)) return true;
  const slides::Bitmap header(FreeImage_Load(format, native.c_str(), FIF_LOAD_NOPIXELS));
  if (!header) return true;
  const unsigned long long pixels =
      static_cast<unsigned long long>(FreeImage_GetWidth(header.get())) *
      FreeImage_GetHeight(header.get());
  return pixels <= kMaxPicturePixels;
}

// A few bytes can declare a picture of gigabytes, and FreeImage allocates
// what a header says before it reads the pixels (the formats that can't tell
// their size without decoding escape SmallEnough). Here a single allocation
// of more than 21 MB fails, as it may on a small machine: FreeImage reports
// the picture as not loaded and the callers' refusal is what gets checked,
// within the run's memory and time. (21 MB is what libFuzzer itself takes in
// one piece at its start; the program's own ASAN_OPTIONS come on top.)
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=21";
}

inline std::vector<Seed> PictureSeeds() {
  std::vector<Seed> seeds;
  const auto save = [&](FIBITMAP* picture, FREE_IMAGE_FORMAT format, const std::string& name,
                        int flags = 0) {
    FIMEMORY* memory = FreeImage_OpenMemory();
    if (FreeImage_SaveToMemory(format, picture, memory, flags)) {
      BYTE* data = nullptr;
      DWORD size = 0;
      FreeImage_AcquireMemory(memory, &data, &size);
      seeds.push_back({name, std::string(reinterpret_cast<const char*>(data), size)});
    }
    FreeImage_CloseMemory(memory);
  };
  slides::Bitmap rgb(FreeImage_Allocate(12, 9, 24));
  for (unsigned y = 0; y < 9; ++y) {
    BYTE* line = FreeImage_GetScanLine(rgb.get(), static_cast<int>(y));
    for (unsigned x = 0; x < 12 * 3; ++x) line[x] = static_cast<BYTE>(x * 7 + y * 29);
  }
  save(rgb.get(), FIF_PNG, "rgb.png");
  save(rgb.get(), FIF_BMP, "rgb.bmp");
  save(rgb.get(), FIF_JPEG, "rgb.jpg", JPEG_QUALITYNORMAL);
  save(rgb.get(), FIF_TIFF, "rgb.tif", TIFF_NONE);
  save(rgb.get(), FIF_TARGA, "rgb.tga");
  save(rgb.get(), FIF_PPM, "rgb.ppm", PNM_SAVE_RAW);
  const slides::Bitmap palette(FreeImage_ColorQuantize(rgb.get(), FIQ_WUQUANT));
  save(palette.get(), FIF_PNG, "palette.png");
  save(palette.get(), FIF_GIF, "palette.gif");
  save(palette.get(), FIF_BMP, "palette_rle.bmp", BMP_SAVE_RLE);
  save(palette.get(), FIF_PCX, "palette.pcx");
  const slides::Bitmap grey(FreeImage_ConvertToGreyscale(rgb.get()));
  save(grey.get(), FIF_PNG, "grey.png");
  const slides::Bitmap mono(FreeImage_Threshold(grey.get(), 128));
  save(mono.get(), FIF_PNG, "mono.png");
  save(mono.get(), FIF_BMP, "mono.bmp");
  const slides::Bitmap rgba(FreeImage_ConvertTo32Bits(rgb.get()));
  save(rgba.get(), FIF_PNG, "rgba.png");
  save(rgba.get(), FIF_TIFF, "rgba.tif", TIFF_NONE);
  const slides::Bitmap wide(FreeImage_ConvertToType(rgb.get(), FIT_RGB16));
  save(wide.get(), FIF_PNG, "rgb16.png");
  const slides::Bitmap high(FreeImage_ConvertTo16Bits565(rgb.get()));
  save(high.get(), FIF_BMP, "rgb565.bmp");
  return seeds;
}

}  // namespace brevora::fuzz
