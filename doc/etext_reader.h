#pragma once
// ETextReader: reads an e-text (a plain-text book whose first line names
// "Gutenberg") into text blocks, re-flowing its hard-wrapped lines.
//
// The text starts after the first line that contains "*end*" (any case), the
// end of the book's preamble; without such a line it starts at the first line.
// Then, line by line (the length compared is the line's own):
//   an empty line:  "<br>" LF after a LF, else "<br>" LF "<br>" LF;
//   a line under 50 characters after one under 50 (the first line counts as
//     after one of 0): the line, "<br>" and LF;
//   any other line: a blank and the line (a paragraph's lines are joined).
// Lines are taken as plain text (markup::EscapePlainText), so none of their
// characters is lost as markup. The result is cut into blocks of at most
// 2,048 characters, never inside a tag or entity.
#include <string>
#include <string_view>
#include <vector>

namespace brevora::doc {

class ETextReader {
 public:
  explicit ETextReader(std::string_view source) : source_(source) {}
  ETextReader(const ETextReader&) = delete;
  ETextReader& operator=(const ETextReader&) = delete;

  // The blocks, in order; none when no text follows the preamble.
  std::vector<std::string> ReadBlocks() const;

  // The re-flowed text before it is cut into blocks.
  std::string Reflow() const;

 private:
  std::string_view source_;
};

}  // namespace brevora::doc
