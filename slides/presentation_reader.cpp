#include "slides/presentation_reader.h"

#include <algorithm>

#include "core/format_errors.h"
#include "platform/bytes/big_endian.h"
#include "platform/error/error.h"
#include "platform/hotsync/database_format.h"

namespace brevora::slides {
namespace {

namespace fmt = presentation_format;
using bytes::LoadBigEndian16;
using bytes::LoadBigEndian32;

void RequireSize(Bytes record, size_t size, const char* kind) {
  if (record.size() < size) {
    RaiseError(core::kInvalidFileFormat, "",
               std::string("Invalid file format: a ") + kind + " record is too short.");
  }
}

// The bytes from `offset` up to the first NUL or the end.
std::string TextFrom(Bytes bytes, size_t offset) {
  if (offset >= bytes.size()) return {};
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
  const auto end = std::find(begin, bytes.end(), uint8_t{0});
  return std::string(begin, end);
}

int32_t SlideOf(Bytes record) { return LoadBigEndian16(record.data() + fmt::kTypeSize); }

}  // namespace

PresentationHeader ReadHeader(Bytes block) {
  try {
    if (block.size() < fmt::kAppInfoSize) {
      RaiseError(core::kInvalidFileFormat, "", "The header block is too short.");
    }
    if (LoadBigEndian16(block.data() + fmt::kFormatVersionOffset) > fmt::kFormatVersion) {
      RaiseError(kWrapError, "Presentation.ReadHeader",
                 "This Presentation is of a newer version than this module.  Please contact "
                 "Orvanex, Inc.");
    }
    PresentationHeader header;
    header.isModified = block[fmt::kModifiedOffset] != 0;
    const Bytes name = block.subspan(fmt::kLinkNameOffset, fmt::kLinkNameSize);
    const auto nul = std::find(name.begin(), name.end(), uint8_t{0});
    if (nul == name.end()) {
      RaiseError(core::kInvalidFileFormat, "", "The linked file name has no end.");
    }
    header.link.fileName.assign(name.begin(), nul);
    header.link.syncMethod = LoadBigEndian16(block.data() + fmt::kSyncMethodOffset);
    header.link.syncOption = LoadBigEndian16(block.data() + fmt::kSyncOptionOffset);
    header.link.modDateTime = LoadBigEndian32(block.data() + fmt::kLinkTimeOffset);
    header.reserved.assign(block.begin() + fmt::kReservedFieldOffset,
                           block.begin() + fmt::kReservedFieldOffset + fmt::kReservedFieldSize);
    return header;
  } catch (...) {
    throw WrapAlways(CurrentError(), "Presentation.ReadHeader",
                     "The presentation header is corrupt.");
  }
}

std::optional<uint16_t> RecordTypeOf(Bytes record) {
  if (record.size() < fmt::kTypeSize) return std::nullopt;
  return LoadBigEndian16(record.data());
}

InfoRecord ReadInfoRecord(Bytes record) {
  RequireSize(record, fmt::kInfoHeaderSize, "presentation info");
  return {LoadBigEndian16(record.data() + 2), TextFrom(record, fmt::kInfoHeaderSize)};
}

PictureRecord ReadPictureRecord(Bytes record) {
  RequireSize(record, fmt::kPicturePartHeaderSize, "picture");
  PictureRecord p;
  p.slide = SlideOf(record);
  p.part = record[fmt::kPartOffset];
  if (p.part == 0) {
    RequireSize(record, fmt::kPictureHeaderSize, "picture header");
    p.compression = record[fmt::kPictureCompressionOffset];
    p.id = LoadBigEndian16(record.data() + fmt::kPictureIdOffset);
  } else {
    p.bytes = record.subspan(fmt::kPicturePartHeaderSize);
  }
  return p;
}

OutlineRecord ReadOutlineRecord(Bytes record) {
  RequireSize(record, fmt::kOutlineHeaderSize, "outline");
  OutlineRecord o;
  o.slide = SlideOf(record);
  o.line.seqNum = record[4];
  o.line.section = record[5];
  o.line.hierLevel = record[6];
  o.line.bullet = record[7];
  o.line.text = TextFrom(record, fmt::kOutlineHeaderSize);
  return o;
}

NoteRecord ReadNotesRecord(Bytes record) {
  RequireSize(record, fmt::kNoteHeaderSize, "note");
  NoteRecord n;
  n.slide = SlideOf(record);
  n.modified = LoadBigEndian32(record.data() + fmt::kNoteTimeOffset);
  for (char c : TextFrom(record, fmt::kNoteHeaderSize)) {
    if (c == '\n') n.text.push_back('\r');
    n.text.push_back(c);
  }
  return n;
}

ThumbnailRecord ReadThumbnailRecord(Bytes record) {
  RequireSize(record, fmt::kThumbnailHeaderSize, "thumbnail");
  return {SlideOf(record), record.subspan(fmt::kThumbnailHeaderSize)};
}

}  // namespace brevora::slides
