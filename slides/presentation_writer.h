#pragma once
// Encoding of a presentation into its handheld database (layout in
// slides/presentation_format.h).
//
// PresentationWriter adds records to a HandheldDatabase that the caller builds and owns (it
// must outlive the writer), each with attribute byte 8 and unique id = the
// number of records already present + 1. A value outside its field (slide
// number or ID outside 0..32767, a byte field outside 0..255, a note time
// outside 0..4,294,967,295, a thumbnail of 32,768 bytes or more) raises before
// anything of that record is added: 6 "Overflow", or for the thumbnail 6 with a
// message naming its size.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "slides/presentation_format.h"
#include "slides/presentation_link.h"

namespace brevora::core {
class HandheldDatabase;
}

namespace brevora::slides {

// What the application-info block holds.
struct PresentationHeader {
  bool isModified = false;
  PresentationLinkInfo link;                    // name, time, method, option
  std::string reserved = std::string(4, '\0');  // exactly 4 bytes
};

// The fields of one outline line as stored.
struct OutlineFields {
  int32_t seqNum = 0;
  int32_t section = 0;
  int32_t hierLevel = 0;
  int32_t bullet = 0;
  std::string text;
};

class PresentationWriter {
 public:
  explicit PresentationWriter(core::HandheldDatabase& db) : db_(db) {}
  PresentationWriter(const PresentationWriter&) = delete;
  PresentationWriter& operator=(const PresentationWriter&) = delete;

  // Record 0: the slide count and the presentation name.
  void AddInfo(int32_t slideCount, std::string_view name);
  // A picture (type 1 or 8): the header record, then one part record per
  // 62,000 bytes of `png` (none for an empty file).
  void AddPicture(presentation_format::RecordType type, int32_t slide, int32_t compression,
                  int32_t id, std::span<const uint8_t> png);
  // An outline line; CR LF pairs are removed from the text and vertical tabs
  // become blanks.
  void AddOutline(int32_t slide, const OutlineFields& line);
  // A note; every CR is removed from the text, so lines end with LF.
  void AddNote(int32_t slide, double modified, std::string_view text);
  // A thumbnail: the whole PNG file in one record.
  void AddThumbnail(int32_t slide, int32_t compression, std::span<const uint8_t> png);

 private:
  void Add(std::string data);

  core::HandheldDatabase& db_;
};

// The application-info block of `header`. A link name of more than 255
// characters (the field keeps its NUL), a method or option outside 0..65535 or
// a time outside 0..4,294,967,295 raises 32760 "Presentation.WriteHeader"
// "Could not write header." CR LF the cause.
std::string BuildAppInfo(const PresentationHeader& header);

// The database name of a presentation file: its file name without the
// extension (cut inside the file name only). It is not shortened: a name over
// 31 characters fails when it is given to the database.
std::string DatabaseNameOf(std::string_view fullPath);

// The image folder of a presentation file: the path without the file name's
// extension, followed by "img/" (/data/Sales.pdb gives /data/Salesimg/).
std::string ImageFolderOf(std::string_view fullPath);

}  // namespace brevora::slides
