#pragma once
// Slide ("TabulynPC.Slide"): one slide of a presentation: its PNG picture
// (FilePath), number (index, its key in Slides), ID and compression code, note
// text (CR LF line ends) with its modification time in handheld seconds, the
// outline, annotations, thumbnail and optional large-screen picture. A new
// slide creates its Annotations, Outlines (holding the empty title), Thumbnail
// and VantaImage. The Write... operations add the slide's records to a
// presentation database being built (slides/presentation_writer.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/member_table.h"
#include "slides/annotation.h"
#include "slides/outline.h"
#include "slides/thumbnail.h"

namespace brevora::slides {

class PresentationWriter;

class Slide : public Dispatchable<Slide> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Slide";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B02}";
  static const MemberTable<Slide>& Members();

  // Seconds between 1904-01-01 (handheld) and 1970-01-01.
  static constexpr double kPalmToUnixSeconds = 2082844800.0;

  Slide();

  // Handheld seconds as milliseconds since 1970-01-01, a plain number (it used
  // to be typed as a date, which overflowed for any time after 1970).
  static double ConvertDateFromPalm(double palmSeconds) {
    return (palmSeconds - kPalmToUnixSeconds) * 1000;
  }
  // Milliseconds since 1970-01-01 as handheld seconds.
  static double ConvertDateToPalm(double milliseconds) {
    return milliseconds / 1000 + kPalmToUnixSeconds;
  }

  int32_t ID() const { return id_; }
  void SetID(int32_t v) { id_ = v; }
  const std::string& NoteText() const { return noteText_; }
  void SetNoteText(std::string v) { noteText_ = std::move(v); }
  double NoteModified() const { return noteModified_; }
  void SetNoteModified(double v) { noteModified_ = v; }
  const Ref<slides::Annotations>& Annotations() const { return annotations_; }
  void SetAnnotations(Ref<slides::Annotations> v) { annotations_ = std::move(v); }
  const Ref<slides::Thumbnail>& Thumbnail() const { return thumbnail_; }
  void SetThumbnail(Ref<slides::Thumbnail> v) { thumbnail_ = std::move(v); }
  const Ref<VantaImage>& VantaSlide() const { return vantaSlide_; }
  void SetVantaSlide(Ref<VantaImage> v) { vantaSlide_ = std::move(v); }
  const Ref<slides::Outlines>& Outlines() const { return outlines_; }
  void SetOutlines(Ref<slides::Outlines> v) { outlines_ = std::move(v); }
  const std::string& FilePath() const { return filePath_; }
  void SetFilePath(std::string v) { filePath_ = std::move(v); }
  int16_t Compression() const { return compression_; }
  void SetCompression(int16_t v) { compression_ = v; }
  int16_t Index() const { return index_; }
  void SetIndex(int16_t v) { index_ = v; }

  // Replace the thumbnail / large-screen picture by a new one with these values.
  void AddThumbnail(std::string_view path, int16_t compression);
  void AddVantaSlide(std::string_view path, int16_t compression, int32_t slideID);

  // Record writers: picture (header and parts of the file at FilePath), every
  // outline line in order, the note (also when empty), annotations (nothing),
  // the thumbnail, and the large-screen picture (only when its ImagePath is set).
  void WriteSlideImage(PresentationWriter& writer) const;
  void WriteOutlines(PresentationWriter& writer) const;
  void WriteNotes(PresentationWriter& writer) const;
  void WriteAnnotations(PresentationWriter& writer) const;
  void WriteThumbnail(PresentationWriter& writer) const;
  void WriteVantaSlide(PresentationWriter& writer) const;

 private:
  int32_t id_ = 0;
  std::string noteText_;
  double noteModified_ = 0;
  Ref<slides::Annotations> annotations_;
  Ref<slides::Thumbnail> thumbnail_;
  Ref<VantaImage> vantaSlide_;
  Ref<slides::Outlines> outlines_;
  std::string filePath_;
  int16_t compression_ = 0;
  int16_t index_ = 0;
};

}  // namespace brevora::slides
