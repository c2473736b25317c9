#include "slides/freeimage_image.h"

#include <FreeImage.h>

#include <optional>

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "slides/freeimage_reduce.h"

namespace brevora::slides {
namespace {

const ClassRegistration kRegistration(FreeImageImage::kProgId, FreeImageImage::kClsid,
                                      [] { return Ref<Dispatch>(MakeRef<FreeImageImage>()); });

constexpr int16_t kDone = 1;
constexpr int16_t kFailed = 0;

// The format each ChangeColors value names; nothing for an unknown value.
std::optional<ColourFormat> FormatForValue(int32_t value) {
  switch (value) {
    case 8:
      return ColourFormat::kGrey;
    case 256:
      return ColourFormat::kPalette;
    case 16:
      return ColourFormat::kHighColour;
    case 24:
      return ColourFormat::kRgb;
    case 32:
      return ColourFormat::kRgba;
    default:
      return std::nullopt;
  }
}

}  // namespace

const MemberTable<FreeImageImage>& FreeImageImage::Members() {
  using M = CallKind;
  static const MemberTable<FreeImageImage> table{
      {"Open", M::Method, [](FreeImageImage& i, Args a) { return Variant(i.Open(CStr(a[0]))); }, 1},
      {"ChangeColors", M::Method,
       [](FreeImageImage& i, Args a) { return Variant(i.ChangeColors(CLng(a[0]))); }, 1},
      {"Save", M::Method, [](FreeImageImage& i, Args a) { return Variant(i.Save(CStr(a[0]))); },
       1}};
  return table;
}

int16_t FreeImageImage::Open(std::string_view path) {
  picture_ = LoadPicture(path);
  return picture_ ? kDone : kFailed;
}

int16_t FreeImageImage::ChangeColors(int32_t value) {
  if (!picture_) return kFailed;
  const std::optional<ColourFormat> format = FormatForValue(value);
  if (!format) return kFailed;
  Bitmap converted = ConvertColours(picture_.get(), *format);
  if (!converted) return kFailed;
  picture_ = std::move(converted);
  return kDone;
}

int16_t FreeImageImage::Save(std::string_view path) {
  if (!picture_) return kFailed;
  try {
    return SavePng(picture_.get(), path) ? kDone : kFailed;
  } catch (const AutomationError&) {
    return kFailed;
  }
}

unsigned FreeImageImage::BitsPerPixel() const {
  return picture_ ? FreeImage_GetBPP(picture_.get()) : 0;
}

}  // namespace brevora::slides
