#pragma once
// FreeImage bitmaps held by RAII (released once, on every path), and the two
// file steps the picture code needs: loading a picture in the format FreeImage
// detects, and saving one as PNG so that the target is replaced only when the
// new picture is complete (encoded in memory, then temporary file + rename).
// Paths are system paths (platform/fs/paths.h). Callers start the library first
// (FreeImageLibrary, slides/freeimage_init.h).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct FIBITMAP;

namespace brevora::slides {

struct FreeImageUnload {
  void operator()(FIBITMAP* bitmap) const noexcept;
};
using Bitmap = std::unique_ptr<FIBITMAP, FreeImageUnload>;

// The picture in `path`, in the format FreeImage reports for the file; null when
// the file is missing or not a picture FreeImage can read (TargaFreeImageMisreads
// included).
Bitmap LoadPicture(std::string_view path);

// True for a TARGA file (`native`: native path) that FreeImage's reader would
// write past its bitmap for: a run-length one whose packets cross a scan line
// or end before its last pixel, or whose colour map is described without one,
// has 15-bit entries or stands beside true colour.
// Such a file is taken for one FreeImage can't read, before it reaches it.
bool TargaFreeImageMisreads(const std::string& native);

// The picture encoded as PNG (flags 0); nullopt when FreeImage cannot encode
// it. PNG holds no 16-bit colour: such a picture (5-5-5 or 5-6-5) is encoded
// from its 24-bit conversion, which has the same colours.
std::optional<std::vector<uint8_t>> EncodePng(FIBITMAP* bitmap);

// Replaces (or creates) `path` with the picture as PNG. False, with the file
// untouched, when the picture cannot be encoded; file errors raise (platform/fs).
bool SavePng(FIBITMAP* bitmap, std::string_view path);

}  // namespace brevora::slides
