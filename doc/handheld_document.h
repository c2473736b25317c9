#pragma once
// What the handheld document databases carry of a document: the flags as
// stored (one byte each), the handheld database value, the text and the
// bookmarks. Nothing else of a document (password, positions, category, link)
// is stored in them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "doc/document_header.h"

namespace brevora::doc {

struct HandheldFields {
  std::string name;     // the database name (written; not read back)
  int16_t version = 5;  // the database version (written; readers ignore it)
  int16_t editable = 0;
  int16_t compression = 0;
  int16_t searchMode = 0;
  int32_t databaseValue = 0;
  std::vector<Bookmark> bookmarks;  // in file order
};

// A database as a reader found it.
struct HandheldRead {
  HandheldFields fields;
  std::vector<std::string> blocks;  // text blocks of at most 2,048 characters as read
  std::string nameFromText;         // the name the first text record gives ("" without one)
};

}  // namespace brevora::doc
