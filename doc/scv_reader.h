#pragma once
// ScvHeaderReader: reads the header of a desktop document file held in memory
// (layout in doc/scv_format.h) and finds where its text begins.
//
// Read() starts from `initial`, the header record the document holds: a file
// whose "header present" line is 0 leaves it unchanged. It raises
//   32760 "Document.ReadHeader" "This Document is of a newer version than this
//     module.  Please contact Orvanex, Inc." for a version above 5;
//   62 "Input past end of file" when the file ends inside the header;
//   13 "Type mismatch" or 6 "Overflow" for a number line that is not a number
//     of its type.
// A bookmark count above 25 keeps 25 pairs and skips the rest. A count larger
// than the number of pairs the file holds (older writers stated 25 but wrote 24)
// ends at the empty separator line, which a quoted name line never is.
// The text must outlive the reader.
#include <cstddef>
#include <string_view>

#include "doc/document_header.h"

namespace brevora::doc {

struct ScvHeader {
  bool modified = false;
  DocumentHeader header;
  size_t bodyPosition = 0;  // byte position of the text, after the separator
};

class ScvHeaderReader {
 public:
  explicit ScvHeaderReader(std::string_view file) : file_(file) {}
  ScvHeaderReader(const ScvHeaderReader&) = delete;
  ScvHeaderReader& operator=(const ScvHeaderReader&) = delete;

  ScvHeader Read(const DocumentHeader& initial) const;

 private:
  std::string_view file_;
};

}  // namespace brevora::doc
