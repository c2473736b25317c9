#include "slides/png_reduction.h"

#include <FreeImage.h>
#include <sys/stat.h>

#include <optional>
#include <string>

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "slides/freeimage_bitmap.h"
#include "slides/freeimage_init.h"
#include "slides/freeimage_reduce.h"

namespace brevora::slides {
namespace {

constexpr int16_t kRgbDepth = 24;
constexpr int32_t kPathFileAccessError = 75;

void CopySourceToTarget(std::string_view source, std::string_view target) {
  fs::CopyFile(source, target, /*replace=*/true);
}

bool Succeeded(const Variant& result) { return CInt(result) != 0; }

}  // namespace

bool SameFile(std::string_view a, std::string_view b) {
  const std::string na = fs::NativePath(a), nb = fs::NativePath(b);
  if (na == nb) return true;
  struct stat sa {
  }, sb{};
  if (stat(na.c_str(), &sa) != 0 || stat(nb.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int32_t ChangeColorsValue(int32_t depth) {
  if (depth <= 4) return 8;
  if (depth <= 8) return 256;
  if (depth <= 16) return 16;
  if (depth <= 24) return 24;
  return 32;
}

void OptimizePngFileDLL(std::string_view source, std::string_view target, int16_t& depth) {
  FreeImageLibrary library;
  const bool sameFile = SameFile(source, target);
  Bitmap loaded = LoadPicture(source);
  if (!loaded) {
    if (!sameFile) CopySourceToTarget(source, target);
    return;
  }
  const unsigned bpp = FreeImage_GetBPP(loaded.get());
  if (depth == 16) depth = kRgbDepth;
  // Nothing to reduce: nothing is written, whichever the target.
  if (depth >= 0 && static_cast<unsigned>(depth) >= bpp) return;
  // A depth the ladder has no format for keeps the picture as loaded.
  const std::optional<ColourFormat> format = FormatForDepth(depth);
  const Bitmap reduced = format ? ConvertColours(loaded.get(), *format) : nullptr;
  FIBITMAP* result = format ? reduced.get() : loaded.get();
  if (result) SavePng(result, target);
}

void OptimizePngFile(std::string_view source, std::string_view target, int16_t& depth) {
  try {
    const bool sameFile = SameFile(source, target);
    Ref<Dispatch> image = CreateObject("FreeImage.Image");
    if (!Succeeded(CallByName(image, "Open", CallKind::Method, source))) {
      if (!sameFile) CopySourceToTarget(source, target);
      return;
    }
    if (depth == 16) depth = kRgbDepth;
    if (!Succeeded(CallByName(image, "ChangeColors", CallKind::Method, int32_t{kRgbDepth})) &&
        !sameFile) {
      CopySourceToTarget(source, target);
      return;
    }
    if (Succeeded(CallByName(image, "ChangeColors", CallKind::Method, ChangeColorsValue(depth)))) {
      // The target keeps what it held when the save fails: the caller must hear of it.
      if (!Succeeded(CallByName(image, "Save", CallKind::Method, target))) {
        RaiseRuntimeError(kPathFileAccessError);
      }
    } else if (!sameFile) {
      CopySourceToTarget(source, target);
    }
  } catch (...) {
    throw Wrap32760(CurrentError(), "Presentation.optimizePngFile",
                    "Could not optimize the picture '" + std::string(source) + "'.");
  }
}

}  // namespace brevora::slides
