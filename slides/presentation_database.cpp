// Presentation: reading and writing its handheld database (layout in
// slides/presentation_format.h; encoding in presentation_writer.h, decoding in
// presentation_reader.h).
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "core/handheld_database.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/time/dates.h"
#include "slides/image_files.h"
#include "slides/member_key.h"
#include "slides/presentation.h"
#include "slides/presentation_reader.h"

namespace brevora::slides {
namespace {

namespace fmt = presentation_format;

// A stored number in a 16-bit property; 6 "Overflow" above 32767.
int16_t ToInteger(int32_t value) { return DoubleToInteger(value); }

void RequirePresentation(const core::HandheldDatabase& db) {
  if (db.Type() != fmt::kType || db.Creator() != fmt::kCreator) {
    RaiseError(kWrapError, "Presentation.OpenFromDisk", "PDB Is not a Slidora presentation");
  }
}

// The slide numbered `n`; 5 when there is none.
Ref<Slide> ExistingSlide(Slides& slides, int32_t n) {
  Ref<Slide> slide = slides.FindByIndex(n);
  if (!slide) RaiseRuntimeError(5);
  return slide;
}

}  // namespace

std::string Presentation::PicturePath(const char* name, int32_t slide) const {
  return ImageDirectory() + name + std::to_string(slide) + fmt::kPictureExtension;
}

void Presentation::WriteToDisk(std::string_view fileView, bool updateLink) {
  const std::string file(fileView);  // the view may be of fullPath_ itself
  try {
    if (!file.empty()) fullPath_ = file;
    if (fullPath_.empty()) {
      RaiseError(kWrapError, "Presentation.WriteToDisk",
                 "Please name the Presentation before saving it.");
    }
    core::HandheldDatabase db;
    db.SetName(DatabaseNameOf(fullPath_));
    db.Attributes().SetValue(fmt::kDatabaseAttributes);
    db.Version().SetValue(version_);
    db.SetCreationDate(dates::NowVbDate());
    db.SetType(fmt::kType);
    db.SetCreator(fmt::kCreator);
    db.SetAppInfoBlock(BuildAppInfo(HeaderFromProperties()));

    PresentationWriter writer(db);
    writer.AddInfo(slides_->Count(), fileName_);
    for (const Ref<Slide>& s : *slides_) s->WriteSlideImage(writer);
    for (const Ref<Slide>& s : *slides_) s->WriteOutlines(writer);
    for (const Ref<Slide>& s : *slides_) s->WriteNotes(writer);
    for (const Ref<Slide>& s : *slides_) s->WriteAnnotations(writer);
    for (const Ref<Slide>& s : *slides_) s->WriteThumbnail(writer);
    for (const Ref<Slide>& s : *slides_) s->WriteVantaSlide(writer);
    db.WriteFile(fullPath_);

    if (updateLink && linkStep_) {
      PresentationLinkInfo link = GetLinkInfo();
      if (!link.fileName.empty()) {
        linkStep_->SyncLinkedFile(*this, link, /*onOpen=*/false);
        if (link.modDateTime != link_.modDateTime) {
          link_.modDateTime = link.modDateTime;
          // The renewed time goes into the file now: else the next open would
          // find the linked file newer and convert it back for nothing.
          db.SetAppInfoBlock(BuildAppInfo(HeaderFromProperties()));
          db.WriteFile(fullPath_);
        }
      }
    }
  } catch (...) {
    throw WrapAlways(CurrentError(), "Presentation.WriteToDisk",
                     "Could not save Presentation '" + fullPath_ + "'.");
  }
}

// Reads the file at FullPath (the records only when `withRecords`), checks its
// kind, takes the name, the modified flag and the reserved field, and returns
// the header.
PresentationHeader Presentation::ReadDatabase(core::HandheldDatabase& db, bool withRecords) {
  db.ReadFile(fullPath_, withRecords);
  RequirePresentation(db);
  fileName_ = db.Name();
  const std::string& block = db.AppInfoBlock();
  PresentationHeader header =
      ReadHeader(Bytes(reinterpret_cast<const uint8_t*>(block.data()), block.size()));
  isModified_ = header.isModified;
  reserved_ = header.reserved;
  return header;
}

bool Presentation::OpenFromDisk(std::string_view fileView, bool readRecords, bool updateFromLink) {
  const std::string file(fileView);  // the view may be of fullPath_ itself
  try {
    if (!file.empty()) fullPath_ = file;
    // Without the slides only the header is read: no record data, no pictures.
    auto db = std::make_unique<core::HandheldDatabase>();
    PresentationHeader header = ReadDatabase(*db, readRecords);
    if (readRecords) {
      const std::string folder = ImageDirectory();
      fs::MakeFolder(folder);
      unpackedFolder_ = folder;
    }
    PresentationLinkInfo link = header.link;
    if (updateFromLink && linkStep_ && linkStep_->SyncLinkedFile(*this, link, /*onOpen=*/true)) {
      db = std::make_unique<core::HandheldDatabase>();
      link = ReadDatabase(*db, readRecords).link;
    }
    ApplyLinkInfo(link);
    if (readRecords) ReadRecords(*db, /*addSlides=*/true);
    return true;
  } catch (...) {
    throw WrapAlways(CurrentError(), "Presentation.OpenFromDisk",
                     "Could not open Presentation '" + file + "'.");
  }
}

void Presentation::ReadRecords(const core::HandheldDatabase& db, bool addSlides) {
  std::set<std::string> started;
  for (const core::RecordRef& r : db.Records()) {
    const Bytes data = r->Data();
    const std::optional<uint16_t> type = RecordTypeOf(data);
    if (!type) continue;  // no type: nothing of ours
    switch (*type) {
      case fmt::kInfoRecord:
        if (addSlides) ReadInfoRecord(data);
        break;
      case fmt::kSlidePictureRecord:
        ReadSlideRecord(data, addSlides, started);
        break;
      case fmt::kOutlineRecord:
        if (addSlides) ReadOutlineRecord(data);
        break;
      case fmt::kNoteRecord:
        if (addSlides) ReadNotesRecord(data);
        break;
      case fmt::kThumbnailRecord:
        ReadThumbnailRecord(data);
        break;
      case fmt::kVantaPictureRecord:
        ReadVantaRecord(data, started);
        break;
      default:
        break;
    }
  }
}

void Presentation::ReadInfoRecord(Bytes record) {
  InfoRecord info = slides::ReadInfoRecord(record);
  numSlides_ = ToInteger(info.slideCount);
  fileName_ = std::move(info.name);
}

void Presentation::ReadSlideRecord(Bytes record, bool addSlides, std::set<std::string>& started) {
  const PictureRecord picture = ReadPictureRecord(record);
  const int16_t n = ToInteger(picture.slide);
  const std::string file = PicturePath(fmt::kSlidePictureName, n);
  if (picture.part == 0) {
    if (addSlides) {
      Ref<Slide> slide = slides_->Add(n, static_cast<int16_t>(picture.compression), file);
      slide->SetID(picture.id);
    }
    CreateEmptyFile(file);
    started.insert(file);
  } else if (started.count(file) != 0) {
    AppendToFile(file, picture.bytes);
  }
}

void Presentation::ReadOutlineRecord(Bytes record) {
  const OutlineRecord outline = slides::ReadOutlineRecord(record);
  const int16_t n = ToInteger(outline.slide);
  Ref<Slide> slide = slides_->FindByIndex(n);
  if (!slide) slide = slides_->Add(n, 0, "");
  const OutlineFields& line = outline.line;
  slide->Outlines()->Add(static_cast<int16_t>(line.seqNum), static_cast<int16_t>(line.section),
                         static_cast<int16_t>(line.hierLevel), static_cast<int16_t>(line.bullet),
                         line.text);
}

void Presentation::ReadNotesRecord(Bytes record) {
  NoteRecord note = slides::ReadNotesRecord(record);
  Ref<Slide> slide = slides_->FindByIndex(ToInteger(note.slide));
  if (!slide) return;
  slide->SetNoteModified(note.modified);
  slide->SetNoteText(std::move(note.text));
}

void Presentation::ReadThumbnailRecord(Bytes record) {
  const ThumbnailRecord thumbnail = slides::ReadThumbnailRecord(record);
  const int16_t n = ToInteger(thumbnail.slide);
  Ref<Slide> slide = ExistingSlide(*slides_, n);
  const std::string file = PicturePath(fmt::kThumbnailName, n);
  WriteNewFile(file, thumbnail.png);
  slide->AddThumbnail(file, slide->Compression());
}

void Presentation::ReadVantaRecord(Bytes record, std::set<std::string>& started) {
  const PictureRecord picture = ReadPictureRecord(record);
  const int16_t n = ToInteger(picture.slide);
  const std::string file = PicturePath(fmt::kVantaPictureName, n);
  if (picture.part == 0) {
    Ref<Slide> slide = ExistingSlide(*slides_, n);
    slide->AddVantaSlide(file, static_cast<int16_t>(picture.compression), picture.id);
    CreateEmptyFile(file);
    started.insert(file);
  } else if (started.count(file) != 0) {
    AppendToFile(file, picture.bytes);
  }
}

void Presentation::UpdateHeader() {
  try {
    core::HandheldDatabase db;
    db.ReadFile(fullPath_, true);
    RequirePresentation(db);
    db.SetAppInfoBlock(BuildAppInfo(HeaderFromProperties()));
    db.WriteFile(fullPath_);
  } catch (...) {
    throw WrapAlways(CurrentError(), "Presentation.UpdateHeader", "Could not update header.");
  }
}

void Presentation::CreateImages() {
  const std::string folder = ImageDirectory();
  fs::MakeFolder(folder);
  unpackedFolder_ = folder;
  core::HandheldDatabase db;
  db.ReadFile(fullPath_, true);
  ReadRecords(db, /*addSlides=*/false);
}

}  // namespace brevora::slides
