// Fuzzes the slide pictures' colour reduction where a picture file reaches
// FreeImage: the bytes after a two-byte header as the source picture, reduced
// to the depth the first byte asks (as a signed number) by both paths of
// png_reduction.h, the library path and the "FreeImage.Image" class path,
// into another file that held something else, or (the second byte odd) into
// the source itself. The library path never raises here; the class path
// raises only its 32760. Checks: a depth of 16 reads 24 afterwards once the
// source opened; the target is never removed; a source that is not a picture
// is copied unchanged to another target and left as it is when it is the
// target; otherwise the target holds what it held, the source (a failed
// conversion) or a PNG, which on the library path has the bits a pixel of its
// depth class.
#include <FreeImage.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/file_input.h"
#include "fuzz/pictures.h"
#include "slides/freeimage_bitmap.h"
#include "slides/freeimage_init.h"
#include "slides/freeimage_reduce.h"
#include "slides/png_reduction.h"

namespace brevora::fuzz {
namespace {

const std::string kOld = "what the target held";

bool IsPng(const std::string& bytes) { return bytes.starts_with("\x89PNG\r\n\x1A\n"); }

unsigned BitsOf(const std::string& path) {
  const slides::Bitmap b = slides::LoadPicture(path);
  return b ? FreeImage_GetBPP(b.get()) : 0;
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  slides::FreeImageLibrary library;
  std::vector<Seed> seeds;
  const char depths[] = {8, 4, 16, 24, 32, 1, 12};
  int n = 0;
  for (Seed& s : PictureSeeds()) {
    seeds.push_back({s.name, std::string{depths[n % 7], static_cast<char>(n % 3 == 0)} + s.bytes});
    ++n;
  }
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  static const bool started = [] {
    static slides::FreeImageLibrary library;
    LeaveOutCameraRaw();
    return true;
  }();
  (void)started;
  if (size < 2) return 0;
  const int16_t depthAsked = static_cast<int8_t>(data[0]);
  const bool same = data[1] & 1;
  const std::string picture(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string source = WriteInput("source.pic", data + 2, size - 2);
  if (!SmallEnough(source)) return 0;
  const std::string target = same ? source : WorkFolder() + "/files/target.png";

  const slides::Bitmap loaded = slides::LoadPicture(source);
  const unsigned bpp = loaded ? FreeImage_GetBPP(loaded.get()) : 0;
  for (const bool classPath : {false, true}) {
    WriteInput("source.pic", data + 2, size - 2);
    if (!same) WriteInput("target.png", reinterpret_cast<const uint8_t*>(kOld.data()), kOld.size());
    const std::string before = same ? picture : kOld;
    int16_t depth = depthAsked;
    if (classPath) {
      AcceptsWrapped([&] { slides::OptimizePngFile(source, target, depth); });
    } else {
      Must("the library path", [&] { slides::OptimizePngFileDLL(source, target, depth); });
    }
    Check(std::filesystem::is_regular_file(target), "the target was removed");
    const std::string after = FileBytes(target);
    if (!loaded) {
      Check(after == picture,
            same ? "a source that is not a picture was changed" : "not copied unchanged");
      Check(depth == depthAsked, "the depth changed for a file that is not a picture");
      continue;
    }
    Check(depth == (depthAsked == 16 ? 24 : depthAsked), "the depth read back");
    Check(after == before || after == picture || IsPng(after), "the target holds something else");
    if (classPath || after == before || !IsPng(after)) continue;
    // The library path wrote: the depth was below the picture's.
    Check(depth < 0 || static_cast<unsigned>(depth) < bpp,
          "written though the depth was not below the picture's");
    const auto format = slides::FormatForDepth(depth);
    const unsigned bits = BitsOf(target);
    if (format == slides::ColourFormat::kPalette || format == slides::ColourFormat::kGreyPalette) {
      Check(bits == 8, "a palette depth not written as 8 bits");
    } else if (format == slides::ColourFormat::kRgb) {
      Check(bits == 24, "24 bits not written as 24");
    } else if (format == slides::ColourFormat::kRgba) {
      Check(bits == 32, "32 bits not written as 32");
    }
  }
  return 0;
}
