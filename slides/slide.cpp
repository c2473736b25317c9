#include "slides/slide.h"

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "slides/presentation_writer.h"

namespace brevora::slides {
namespace {

const ClassRegistration kSlide(Slide::kProgId, Slide::kClsid,
                               [] { return Ref<Dispatch>(MakeRef<Slide>()); });

}  // namespace

const MemberTable<Slide>& Slide::Members() {
  using M = CallKind;
  using S = Slide;
  static const MemberTable<Slide> table{
      {"ConvertDateFromPalm", M::Method,
       [](S&, Args a) { return Variant(ConvertDateFromPalm(CDbl(a[0]))); }, 1},
      {"ConvertDateToPalm", M::Method,
       [](S&, Args a) { return Variant(ConvertDateToPalm(CDbl(a[0]))); }, 1},
      {"ID", M::Let, [](S& s, Args a) { s.SetID(CLng(a[0])); }},
      {"ID", M::Get, [](S& s, Args) { return Variant(s.ID()); }},
      {"NoteText", M::Let, [](S& s, Args a) { s.SetNoteText(CStr(a[0])); }},
      {"NoteText", M::Get, [](S& s, Args) { return Variant(s.NoteText()); }},
      {"NoteModified", M::Let, [](S& s, Args a) { s.SetNoteModified(CDbl(a[0])); }},
      {"NoteModified", M::Get, [](S& s, Args) { return Variant(s.NoteModified()); }},
      {"Annotations", M::Set,
       [](S& s, Args a) { s.SetAnnotations(ObjectArg<slides::Annotations>(a[0])); }},
      {"Annotations", M::Get, [](S& s, Args) { return Variant(s.Annotations()); }},
      {"Thumbnail", M::Set,
       [](S& s, Args a) { s.SetThumbnail(ObjectArg<slides::Thumbnail>(a[0])); }},
      {"Thumbnail", M::Get, [](S& s, Args) { return Variant(s.Thumbnail()); }},
      {"VantaSlide", M::Get, [](S& s, Args) { return Variant(s.VantaSlide()); }},
      {"VantaSlide", M::Set, [](S& s, Args a) { s.SetVantaSlide(ObjectArg<VantaImage>(a[0])); }},
      {"Outlines", M::Set, [](S& s, Args a) { s.SetOutlines(ObjectArg<slides::Outlines>(a[0])); }},
      {"Outlines", M::Get, [](S& s, Args) { return Variant(s.Outlines()); }},
      {"FilePath", M::Let, [](S& s, Args a) { s.SetFilePath(CStr(a[0])); }},
      {"FilePath", M::Get, [](S& s, Args) { return Variant(s.FilePath()); }},
      {"compression", M::Let, [](S& s, Args a) { s.SetCompression(CInt(a[0])); }},
      {"compression", M::Get, [](S& s, Args) { return Variant(s.Compression()); }},
      {"index", M::Let, [](S& s, Args a) { s.SetIndex(CInt(a[0])); }},
      {"index", M::Get, [](S& s, Args) { return Variant(s.Index()); }},
      {"addThumbnail", M::Method, [](S& s, Args a) { s.AddThumbnail(CStr(a[0]), CInt(a[1])); }, 2},
      {"addVantaSlide", M::Method,
       [](S& s, Args a) { s.AddVantaSlide(CStr(a[0]), CInt(a[1]), CLng(a[2])); }, 3}};
  return table;
}

Slide::Slide()
    : annotations_(MakeRef<slides::Annotations>()),
      thumbnail_(MakeRef<slides::Thumbnail>()),
      vantaSlide_(MakeRef<VantaImage>()),
      outlines_(MakeRef<slides::Outlines>()) {}

void Slide::AddThumbnail(std::string_view path, int16_t compression) {
  Ref<slides::Thumbnail> t = MakeRef<slides::Thumbnail>();
  t->SetImagePath(std::string(path));
  t->SetCompression(compression);
  thumbnail_ = std::move(t);
}

void Slide::AddVantaSlide(std::string_view path, int16_t compression, int32_t slideID) {
  Ref<VantaImage> v = MakeRef<VantaImage>();
  v->SetCompression(compression);
  v->SetImagePath(std::string(path));
  v->SetID(slideID);
  vantaSlide_ = std::move(v);
}

void Slide::WriteSlideImage(PresentationWriter& writer) const {
  writer.AddPicture(presentation_format::kSlidePictureRecord, index_, compression_, id_,
                    fs::ReadWholeFile(filePath_));
}

void Slide::WriteOutlines(PresentationWriter& writer) const {
  for (const Ref<Outline>& line : *outlines_) line->WriteRecord(writer, index_);
}

void Slide::WriteNotes(PresentationWriter& writer) const {
  writer.AddNote(index_, noteModified_, noteText_);
}

void Slide::WriteAnnotations(PresentationWriter&) const {}

void Slide::WriteThumbnail(PresentationWriter& writer) const {
  thumbnail_->WriteRecord(writer, index_);
}

void Slide::WriteVantaSlide(PresentationWriter& writer) const {
  if (!vantaSlide_->ImagePath().empty()) vantaSlide_->WriteRecords(writer, index_);
}

}  // namespace brevora::slides
