#pragma once
// ScvReader: a desktop document file held in memory (layout in
// conduit-doc/scv_format.h), read as the conduit needs it.
//
// ReadHeader gives lines 1 to 8; Read gives the whole document: the header,
// the document information over its defaults, the bookmarks and the text.
// A file whose first line is neither "1" nor "0" has no header: it is all
// text, version 5, modified, with the defaults. A line that must be a number
// and is not one, a file that ends inside its header, or a bookmark count
// beyond the pairs the file holds refuse the file: nullopt, with `problem`
// naming the line. Bookmark pairs end early at an empty line (the separator):
// older files stated more bookmarks than they held. After the bookmarks
// exactly one empty line, the separator, is dropped.
//
// The file's bytes must outlive the reader and what Read returns (its text
// points into them).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conduit-doc/document_info.h"

namespace brevora::scriv {

// Lines 1 to 8.
struct ScvHeader {
  bool hasHeader = false;  // line 1 was a modified flag
  CDocumentHeader header;
};

struct ScvDocument {
  bool hasHeader = false;  // line 1 was a modified flag
  CDocumentHeader header;
  DocumentInfo info;
  std::vector<Bookmark> bookmarks;
  std::string_view text;
};

// What the document information is when the file does not say.
struct ScvDefaults {
  std::string fileName;  // the file's name: the first name is it up to its first "."
  bool writable = true;  // a read-only file is not editable on the handheld
};

class ScvReader {
 public:
  explicit ScvReader(std::string_view file) : file_(file) {}
  ScvReader(const ScvReader&) = delete;
  ScvReader& operator=(const ScvReader&) = delete;

  std::optional<ScvHeader> ReadHeader(std::string& problem) const;
  std::optional<ScvDocument> Read(const ScvDefaults& defaults, std::string& problem) const;

 private:
  std::string_view file_;
};

}  // namespace brevora::scriv
