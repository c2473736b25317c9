#pragma once
// What travels between a handheld document and its desktop file, as plain
// values: the document information (record 0 and the block's names and words),
// the bookmarks, and the header of the desktop file (its modified mark,
// version and link). Texts are code-page bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "conduit-doc/document_db_format.h"

namespace brevora::scriv {

struct DocumentInfo {
  uint16_t version = scriv_format::kDocumentVersion;
  uint8_t editable = 1;
  uint8_t compression = scriv_format::kCompressedFlag;
  uint8_t mode = 0;
  std::string firstName;   // at most 31 bytes
  std::string secondName;  // at most 31 bytes
  uint32_t position = 0;
  uint16_t wordA = 0;
  uint16_t wordB = 0;
  uint32_t bookmarkCount = 0;
  bool operator==(const DocumentInfo&) const = default;
};

struct Bookmark {
  std::string name;  // at most 16 bytes
  uint32_t position = 0;
  bool operator==(const Bookmark&) const = default;
};

// The header of a desktop document: lines 1 to 8 of the file.
struct CDocumentHeader {
  bool valid = false;  // line 3 said the link lines are there
  bool modified = true;
  uint16_t version = scriv_format::kDocumentVersion;
  uint16_t linkMethod = 0;
  std::string linkPath;   // the office file, at most 255 bytes
  uint32_t linkDate = 0;  // seconds since 1899-12-30, local time
  uint16_t linkOption = 0;
  uint8_t serverSync = 0;
  bool operator==(const CDocumentHeader&) const = default;

  // Back to a header that says nothing.
  void Reset() { *this = CDocumentHeader{}; }
};

}  // namespace brevora::scriv
