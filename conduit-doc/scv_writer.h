#pragma once
// ScvWriter: the bytes of a desktop document file (layout in
// conduit-doc/scv_format.h), built in memory in the order a handheld document
// is read: WriteHeader (lines 1 to 8), WriteDocInfo (lines 9 to 17), a
// WriteBookmark per bookmark, then the text piece by piece. The empty
// separator line goes before the first piece of text (or at the end, when
// there is none). The file is always written in version 5's layout.
// Lines are the framework's (LocalFileWriter). The caller puts the bytes in
// place (through a temporary file).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "conduit-doc/document_info.h"
#include "conduit-framework/local_file.h"

namespace brevora::scriv {

class ScvWriter {
 public:
  ScvWriter() = default;
  ScvWriter(const ScvWriter&) = delete;
  ScvWriter& operator=(const ScvWriter&) = delete;

  void WriteHeader(const CDocumentHeader& header);
  void WriteDocInfo(const DocumentInfo& info);
  void WriteBookmark(const Bookmark& bookmark);
  void WriteText(std::span<const uint8_t> text);

  // The whole file (the separator added when no text came).
  const std::string& Bytes();

  // A text as a quoted field: double quotes dropped, line breaks made blanks.
  static std::string Quoted(std::string_view text);

 private:
  void Line(std::string_view text);
  void Separator();

  conduit::LocalFileWriter out_;  // lines end in CR LF
  bool separated_ = false;
};

}  // namespace brevora::scriv
