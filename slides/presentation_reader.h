#pragma once
// Decoding of a presentation database's application-info block and records
// (layout in slides/presentation_format.h). Every function reads only inside
// the bytes it is given and returns plain values (views into those bytes where
// noted, valid while the bytes are); applying them to a presentation is the
// caller's part.
//
// A record too short for its layout raises 321 with a message naming the
// record kind. ReadHeader raises 32760 "Presentation.ReadHeader" with "The
// presentation header is corrupt." CR LF the cause, for a block shorter than
// 272 bytes, a link name without NUL, or a format version above 1 (whose cause
// is the newer-version message).
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "slides/presentation_format.h"
#include "slides/presentation_writer.h"

namespace brevora::slides {

using Bytes = std::span<const uint8_t>;

PresentationHeader ReadHeader(Bytes block);

// The record's type; nullopt for a record too short to hold one.
std::optional<uint16_t> RecordTypeOf(Bytes record);

struct InfoRecord {
  int32_t slideCount = 0;
  std::string name;  // up to the first NUL or the end of the record
};
InfoRecord ReadInfoRecord(Bytes record);

// Type 1 or 8. Part 0 carries compression and id; parts from 1 carry bytes.
struct PictureRecord {
  int32_t slide = 0;
  int32_t part = 0;
  int32_t compression = 0;  // part 0
  int32_t id = 0;           // part 0
  Bytes bytes;              // part >= 1: the picture bytes of this part
};
PictureRecord ReadPictureRecord(Bytes record);

struct OutlineRecord {
  int32_t slide = 0;
  OutlineFields line;  // text up to the first NUL
};
OutlineRecord ReadOutlineRecord(Bytes record);

struct NoteRecord {
  int32_t slide = 0;
  double modified = 0;  // handheld seconds
  std::string text;     // every LF turned into CR LF
};
NoteRecord ReadNotesRecord(Bytes record);

struct ThumbnailRecord {
  int32_t slide = 0;
  Bytes png;  // from byte 6 to the end
};
ThumbnailRecord ReadThumbnailRecord(Bytes record);

}  // namespace brevora::slides
