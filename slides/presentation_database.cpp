// The storage of a presentation in its handheld database (layout in
// slides/presentation_format.h; encoding in presentation_writer.h, decoding in
// presentation_reader.h): free functions over PresentationModel, declared in
// slides/presentation_storage.h.
#include <optional>
#include <set>
#include <string>

#include "core/handheld_database.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/time/dates.h"
#include "slides/image_files.h"
#include "slides/member_key.h"
#include "slides/presentation_reader.h"
#include "slides/presentation_storage.h"

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

// One read of the records of a database into a model: where the pictures go,
// whether slides are added, and the pictures whose header record was seen.
class RecordReader {
 public:
  RecordReader(PresentationModel& model, std::string_view imageFolder, bool addSlides)
      : model_(model), imageFolder_(imageFolder), addSlides_(addSlides) {}

  void Read(const core::HandheldDatabase& db) {
    for (const core::RecordRef& r : db.Records()) {
      const Bytes data = r->Data();
      const std::optional<uint16_t> type = RecordTypeOf(data);
      if (!type) continue;  // no type: nothing of ours
      switch (*type) {
        case fmt::kInfoRecord:
          if (addSlides_) ReadInfo(data);
          break;
        case fmt::kSlidePictureRecord:
          ReadSlide(data);
          break;
        case fmt::kOutlineRecord:
          if (addSlides_) ReadOutline(data);
          break;
        case fmt::kNoteRecord:
          if (addSlides_) ReadNotes(data);
          break;
        case fmt::kThumbnailRecord:
          ReadThumbnail(data);
          break;
        case fmt::kVantaPictureRecord:
          ReadVanta(data);
          break;
        default:
          break;
      }
    }
  }

 private:
  std::string PicturePath(const char* name, int32_t slide) const {
    return imageFolder_ + name + std::to_string(slide) + fmt::kPictureExtension;
  }

  void ReadInfo(Bytes record) {
    InfoRecord info = ReadInfoRecord(record);
    model_.numSlides = ToInteger(info.slideCount);
    model_.fileName = std::move(info.name);
  }

  void ReadSlide(Bytes record) {
    const PictureRecord picture = ReadPictureRecord(record);
    const int16_t n = ToInteger(picture.slide);
    const std::string file = PicturePath(fmt::kSlidePictureName, n);
    if (picture.part == 0) {
      if (addSlides_) {
        Ref<Slide> slide = model_.slides->Add(n, static_cast<int16_t>(picture.compression), file);
        slide->SetID(picture.id);
      }
      CreateEmptyFile(file);
      started_.insert(file);
    } else if (started_.count(file) != 0) {
      AppendToFile(file, picture.bytes);
    }
  }

  void ReadOutline(Bytes record) {
    const OutlineRecord outline = ReadOutlineRecord(record);
    const int16_t n = ToInteger(outline.slide);
    Ref<Slide> slide = model_.slides->FindByIndex(n);
    if (!slide) slide = model_.slides->Add(n, 0, "");
    const OutlineFields& line = outline.line;
    slide->Outlines()->Add(static_cast<int16_t>(line.seqNum), static_cast<int16_t>(line.section),
                           static_cast<int16_t>(line.hierLevel), static_cast<int16_t>(line.bullet),
                           line.text);
  }

  void ReadNotes(Bytes record) {
    NoteRecord note = ReadNotesRecord(record);
    Ref<Slide> slide = model_.slides->FindByIndex(ToInteger(note.slide));
    if (!slide) return;
    slide->SetNoteModified(note.modified);
    slide->SetNoteText(std::move(note.text));
  }

  void ReadThumbnail(Bytes record) {
    const ThumbnailRecord thumbnail = ReadThumbnailRecord(record);
    const int16_t n = ToInteger(thumbnail.slide);
    Ref<Slide> slide = ExistingSlide(*model_.slides, n);
    const std::string file = PicturePath(fmt::kThumbnailName, n);
    WriteNewFile(file, thumbnail.png);
    slide->AddThumbnail(file, slide->Compression());
  }

  void ReadVanta(Bytes record) {
    const PictureRecord picture = ReadPictureRecord(record);
    const int16_t n = ToInteger(picture.slide);
    const std::string file = PicturePath(fmt::kVantaPictureName, n);
    if (picture.part == 0) {
      Ref<Slide> slide = ExistingSlide(*model_.slides, n);
      slide->AddVantaSlide(file, static_cast<int16_t>(picture.compression), picture.id);
      CreateEmptyFile(file);
      started_.insert(file);
    } else if (started_.count(file) != 0) {
      AppendToFile(file, picture.bytes);
    }
  }

  PresentationModel& model_;
  const std::string imageFolder_;
  const bool addSlides_;
  std::set<std::string> started_;
};

}  // namespace

void WritePresentationDatabase(const PresentationModel& model, std::string_view file,
                               core::HandheldDatabase& db) {
  db.SetName(DatabaseNameOf(file));
  db.Attributes().SetValue(fmt::kDatabaseAttributes);
  db.Version().SetValue(model.version);
  db.SetCreationDate(dates::NowVbDate());
  db.SetType(fmt::kType);
  db.SetCreator(fmt::kCreator);
  db.SetAppInfoBlock(BuildAppInfo(HeaderFromModel(model)));

  PresentationWriter writer(db);
  const Slides& slides = *model.slides;
  writer.AddInfo(slides.Count(), model.fileName);
  for (const Ref<Slide>& s : slides) s->WriteSlideImage(writer);
  for (const Ref<Slide>& s : slides) s->WriteOutlines(writer);
  for (const Ref<Slide>& s : slides) s->WriteNotes(writer);
  for (const Ref<Slide>& s : slides) s->WriteAnnotations(writer);
  for (const Ref<Slide>& s : slides) s->WriteThumbnail(writer);
  for (const Ref<Slide>& s : slides) s->WriteVantaSlide(writer);
  db.WriteFile(file);
}

void RewritePresentationHeader(const PresentationModel& model, core::HandheldDatabase& db,
                               std::string_view file) {
  db.SetAppInfoBlock(BuildAppInfo(HeaderFromModel(model)));
  db.WriteFile(file);
}

PresentationHeader ReadPresentationHeader(std::string_view file, bool withRecords,
                                          core::HandheldDatabase& db, PresentationModel& model) {
  db.ReadFile(file, withRecords);
  RequirePresentation(db);
  model.fileName = db.Name();
  const std::string& block = db.AppInfoBlock();
  PresentationHeader header =
      ReadHeader(Bytes(reinterpret_cast<const uint8_t*>(block.data()), block.size()));
  model.isModified = header.isModified;
  model.reserved = header.reserved;
  return header;
}

void ReadPresentationRecords(const core::HandheldDatabase& db, std::string_view imageFolder,
                             PresentationModel& model) {
  RecordReader(model, imageFolder, /*addSlides=*/true).Read(db);
}

void UnpackPresentationPictures(std::string_view file, std::string_view imageFolder,
                                PresentationModel& model) {
  core::HandheldDatabase db;
  db.ReadFile(file, true);
  RecordReader(model, imageFolder, /*addSlides=*/false).Read(db);
}

void WritePresentationHeader(const PresentationModel& model, std::string_view file) {
  core::HandheldDatabase db;
  db.ReadFile(file, true);
  RequirePresentation(db);
  db.SetAppInfoBlock(BuildAppInfo(HeaderFromModel(model)));
  db.WriteFile(file);
}

bool IsPresentationFile(std::string_view file) {
  try {
    core::HandheldDatabase db;
    db.ReadFile(file, false);
    return db.Creator() == fmt::kCreator;
  } catch (...) {
    return false;
  }
}

}  // namespace brevora::slides
