#include "slides/thumbnail.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "slides/presentation_writer.h"

namespace brevora::slides {
namespace {

const ClassRegistration kThumbnail(Thumbnail::kProgId, Thumbnail::kClsid,
                                   [] { return Ref<Dispatch>(MakeRef<Thumbnail>()); });
const ClassRegistration kVantaImage(VantaImage::kProgId, VantaImage::kClsid,
                                    [] { return Ref<Dispatch>(MakeRef<VantaImage>()); });

}  // namespace

const MemberTable<Thumbnail>& Thumbnail::Members() {
  using M = CallKind;
  using T = Thumbnail;
  static const MemberTable<Thumbnail> table{
      {"compression", M::Let, [](T& t, Args a) { t.SetCompression(CInt(a[0])); }},
      {"compression", M::Get, [](T& t, Args) { return Variant(t.Compression()); }},
      {"ImagePath", M::Let, [](T& t, Args a) { t.SetImagePath(CStr(a[0])); }},
      {"ImagePath", M::Get, [](T& t, Args) { return Variant(t.ImagePath()); }}};
  return table;
}

void Thumbnail::WriteRecord(PresentationWriter& writer, int32_t slideIndex) const {
  writer.AddThumbnail(slideIndex, compression_, fs::ReadWholeFile(imagePath_));
}

const MemberTable<VantaImage>& VantaImage::Members() {
  using M = CallKind;
  using V = VantaImage;
  static const MemberTable<VantaImage> table{
      {"ID", M::Let, [](V& v, Args a) { v.SetID(CLng(a[0])); }},
      {"ID", M::Get, [](V& v, Args) { return Variant(v.ID()); }},
      {"compression", M::Let, [](V& v, Args a) { v.SetCompression(CInt(a[0])); }},
      {"compression", M::Get, [](V& v, Args) { return Variant(v.Compression()); }},
      {"ImagePath", M::Let, [](V& v, Args a) { v.SetImagePath(CStr(a[0])); }},
      {"ImagePath", M::Get, [](V& v, Args) { return Variant(v.ImagePath()); }}};
  return table;
}

void VantaImage::WriteRecords(PresentationWriter& writer, int32_t slideIndex) const {
  writer.AddPicture(presentation_format::kVantaPictureRecord, slideIndex, compression_, id_,
                    fs::ReadWholeFile(imagePath_));
}

}  // namespace brevora::slides
