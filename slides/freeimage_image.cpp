#include "slides/freeimage_image.h"

#include <FreeImage.h>

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"

namespace brevora::slides {
namespace {

const ClassRegistration kRegistration(FreeImageImage::kProgId, FreeImageImage::kClsid,
                                      [] { return Ref<Dispatch>(MakeRef<FreeImageImage>()); });

constexpr int16_t kDone = 1;
constexpr int16_t kFailed = 0;

Bitmap Convert(FIBITMAP* picture, int32_t value) {
  switch (value) {
    case 8:
      return Bitmap(FreeImage_ConvertTo8Bits(picture));
    case 256: {
      Bitmap rgb(FreeImage_ConvertTo24Bits(picture));
      return rgb ? Bitmap(FreeImage_ColorQuantize(rgb.get(), FIQ_NNQUANT)) : nullptr;
    }
    case 16: {
      Bitmap reduced(FreeImage_ConvertTo16Bits565(picture));
      return reduced ? Bitmap(FreeImage_ConvertTo24Bits(reduced.get())) : nullptr;
    }
    case 24:
      return Bitmap(FreeImage_ConvertTo24Bits(picture));
    case 32:
      return Bitmap(FreeImage_ConvertTo32Bits(picture));
    default:
      return nullptr;
  }
}

}  // namespace

const MemberTable<FreeImageImage>& FreeImageImage::Members() {
  using M = CallKind;
  static const MemberTable<FreeImageImage> table{
      {"Open", M::Method, [](FreeImageImage& i, Args a) { return Variant(i.Open(CStr(a[0]))); }, 1},
      {"ChangeColors", M::Method,
       [](FreeImageImage& i, Args a) { return Variant(i.ChangeColors(CLng(a[0]))); }, 1},
      {"Save", M::Method, [](FreeImageImage& i, Args a) { return Variant(i.Save(CStr(a[0]))); }, 1}};
  return table;
}

int16_t FreeImageImage::Open(std::string_view path) {
  picture_ = LoadPicture(path);
  return picture_ ? kDone : kFailed;
}

int16_t FreeImageImage::ChangeColors(int32_t value) {
  if (!picture_) return kFailed;
  Bitmap converted = Convert(picture_.get(), value);
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
