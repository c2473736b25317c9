#pragma once
// BodyReader: cuts the text of a desktop document file, a plain text file or an
// HTML file into text blocks of at most 2,048 characters (kBlockFactor).
//
// Each source byte becomes a piece of text that is never split between blocks:
//   desktop and HTML text (markup kept): a LF that follows a CR is dropped, a
//     LF on its own (a file with LF line ends) becomes CR, any other byte stays;
//   plain text (asHtmlBreaks): markup::PlainCharToMarkup ("<br>" for LF, four
//     blanks for TAB, "&amp;", "&lt;", "&gt;" for the markup characters).
// A block takes pieces while they fit. When it ends inside a tag or entity
// (markup::CutPartialTag), the bytes of that tail are read again for the next
// block, so nothing is lost or doubled. The last block loses trailing NULs.
// The source must outlive the reader.
#include <string>
#include <string_view>
#include <vector>

namespace brevora::doc {

class BodyReader {
 public:
  BodyReader(std::string_view source, bool asHtmlBreaks) : source_(source), asHtml_(asHtmlBreaks) {}
  BodyReader(const BodyReader&) = delete;
  BodyReader& operator=(const BodyReader&) = delete;

  // The blocks of the whole source, in order; none for an empty source.
  std::vector<std::string> ReadBlocks();

 private:
  // Appends the piece of source byte i to `out`.
  void AppendPiece(size_t i, std::string& out) const;

  std::string_view source_;
  bool asHtml_;
};

}  // namespace brevora::doc
