#pragma once
// ScvWriter: the bytes of a desktop document file (layout in doc/scv_format.h).
// It builds text in memory; the document writes it to disk through a temporary
// file renamed over the target, so a failed save never leaves half a file.
#include <string>
#include <string_view>
#include <vector>

#include "doc/document_header.h"

namespace brevora::doc {

class ScvWriter {
 public:
  ScvWriter() = default;
  ScvWriter(const ScvWriter&) = delete;
  ScvWriter& operator=(const ScvWriter&) = delete;

  // Appends the header lines, each ended by CR LF, then the separator CR LF.
  // Every stored bookmark (DocumentHeader::StoredBookmarks) is written and
  // counted. CR and LF in texts become blanks and double quotes are dropped.
  void WriteHeader(const DocumentHeader& header, bool modified);

  // Appends the blocks' text with every line break as CR LF
  // (markup::LineBreakWriter), no separators between blocks and no line break
  // added at the end. Text read from a desktop file (CR line breaks) is written
  // back byte for byte as it was read.
  void WriteText(const std::vector<std::string_view>& blocks);

  // Appends every line of `text` (see LineCursor) followed by CR LF: the text
  // of a file whose header is rewritten without its text being read.
  void CopyLines(std::string_view text);

  const std::string& Bytes() const { return out_; }

  // A text as a quoted header field.
  static std::string Quoted(std::string_view text);
  // A number with "." as decimal separator and no exponent, whatever the locale;
  // read back to the same value.
  static std::string FormatSeconds(double value);

 private:
  void Line(std::string_view text);

  std::string out_;
};

}  // namespace brevora::doc
