#include "slides/presentation_writer.h"

#include <cmath>
#include <utility>

#include "core/database_record.h"
#include "core/handheld_database.h"
#include "platform/bytes/big_endian.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/database_format.h"

namespace brevora::slides {
namespace {

namespace fmt = presentation_format;

// Bytes of a record being built.
class RecordBytes {
 public:
  void Word(int32_t value, int32_t max = 0xFFFF) {
    if (value < 0 || value > max) RaiseRuntimeError(6);
    bytes_.push_back(static_cast<char>(value >> 8));
    bytes_.push_back(static_cast<char>(value & 0xFF));
  }
  void Byte(int32_t value) {
    if (value < 0 || value > fmt::kMaxByteField) RaiseRuntimeError(6);
    bytes_.push_back(static_cast<char>(value));
  }
  void DWord(double value) {
    const double whole = std::trunc(value);
    if (!(whole >= 0 && whole <= 4294967295.0)) RaiseRuntimeError(6);
    uint8_t b[4];
    bytes::StoreBigEndian32(b, static_cast<uint32_t>(whole));
    bytes_.append(reinterpret_cast<const char*>(b), 4);
  }
  void Text(std::string_view text) { bytes_.append(text); }
  void Bytes(std::span<const uint8_t> data) {
    bytes_.append(reinterpret_cast<const char*>(data.data()), data.size());
  }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

// The name part's extension cut: everything before its last full stop.
std::string Stem(std::string_view fullPath) {
  std::string name = fs::FileNamePart(fullPath);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string WithoutLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      continue;
    }
    out.push_back(text[i] == '\v' ? ' ' : text[i]);
  }
  return out;
}

std::string WithoutCr(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != '\r') out.push_back(c);
  }
  return out;
}

}  // namespace

void PresentationWriter::Add(std::string data) {
  core::RecordRef r = MakeRef<core::DatabaseRecord>();
  r->SetAttributes(fmt::kRecordAttributes);
  r->SetUniqueID(db_.Records().Count() + 1);
  r->SetDataText(data);
  db_.Records().Add(std::move(r));
}

void PresentationWriter::AddInfo(int32_t slideCount, std::string_view name) {
  RecordBytes r;
  r.Word(fmt::kInfoRecord);
  r.Word(slideCount);
  r.Text(name);
  r.Byte(0);
  Add(r.Take());
}

void PresentationWriter::AddPicture(fmt::RecordType type, int32_t slide, int32_t compression,
                                    int32_t id, std::span<const uint8_t> png) {
  RecordBytes header;
  header.Word(type);
  header.Word(slide, fmt::kMaxSlideNumber);
  header.Byte(0);
  header.Byte(compression);
  header.Word(id, fmt::kMaxSlideNumber);
  const size_t parts = fmt::PartCount(png.size());
  if (parts > fmt::kMaxByteField) RaiseRuntimeError(6);
  Add(header.Take());
  for (size_t p = 1; p <= parts; ++p) {
    RecordBytes part;
    part.Word(type);
    part.Word(slide);
    part.Byte(static_cast<int32_t>(p));
    part.Bytes(
        png.subspan((p - 1) * fmt::kMaxPartBytes,
                    std::min(fmt::kMaxPartBytes, png.size() - (p - 1) * fmt::kMaxPartBytes)));
    Add(part.Take());
  }
}

void PresentationWriter::AddOutline(int32_t slide, const OutlineFields& line) {
  RecordBytes r;
  r.Word(fmt::kOutlineRecord);
  r.Word(slide, fmt::kMaxSlideNumber);
  r.Byte(line.seqNum);
  r.Byte(line.section);
  r.Byte(line.hierLevel);
  r.Byte(line.bullet);
  r.Byte(0);
  r.Byte(0);
  r.Text(WithoutLineBreaks(line.text));
  r.Byte(0);
  Add(r.Take());
}

void PresentationWriter::AddNote(int32_t slide, double modified, std::string_view text) {
  RecordBytes r;
  r.Word(fmt::kNoteRecord);
  r.Word(slide, fmt::kMaxSlideNumber);
  r.DWord(modified);
  r.Text(WithoutCr(text));
  r.Byte(0);
  Add(r.Take());
}

void PresentationWriter::AddThumbnail(int32_t slide, int32_t compression,
                                      std::span<const uint8_t> png) {
  if (png.size() > fmt::kMaxThumbnailBytes) {
    RaiseError(6, "Thumbnail.WriteRecord",
               "The thumbnail picture of slide " + std::to_string(slide) + " has " +
                   std::to_string(png.size()) + " bytes; it must be shorter than 32768 bytes.");
  }
  RecordBytes r;
  r.Word(fmt::kThumbnailRecord);
  r.Word(slide, fmt::kMaxSlideNumber);
  r.Word(compression);
  r.Bytes(png);
  Add(r.Take());
}

std::string BuildAppInfo(const PresentationHeader& header) {
  try {
    // The field keeps a NUL after the name: a longer name is refused, as a cut
    // one would link to another file.
    const std::string& name = header.link.fileName;
    if (name.size() > fmt::kMaxStoredLinkName) {
      RaiseError(6, "",
                 "The linked file name (LinkedPPTFileName) has " + std::to_string(name.size()) +
                     " characters; at most " + std::to_string(fmt::kMaxStoredLinkName) +
                     " can be stored.");
    }
    if (header.reserved.size() != fmt::kReservedFieldSize) RaiseRuntimeError(5);
    RecordBytes r;
    r.Word(fmt::kFormatVersion);
    r.Byte(header.isModified ? 1 : 0);
    r.Byte(0);
    r.Text(name);
    r.Text(std::string(fmt::kLinkNameSize - name.size(), '\0'));
    r.Word(header.link.syncMethod);
    r.Word(header.link.syncOption);
    r.DWord(header.link.modDateTime);
    r.Text(header.reserved);
    return r.Take();
  } catch (...) {
    throw Wrap32760(CurrentError(), "Presentation.WriteHeader", "Could not write header.");
  }
}

std::string DatabaseNameOf(std::string_view fullPath) { return Stem(fullPath); }

std::string ImageFolderOf(std::string_view fullPath) {
  return fs::FolderPart(fullPath) + Stem(fullPath) + fmt::kImageFolderSuffix;
}

}  // namespace brevora::slides
