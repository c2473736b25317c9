#pragma once
// LineCursor: reads the lines of a text held in memory by the document files'
// rule: a line ends at CR LF, at a CR on its own or at a LF on its own (files
// made on Windows and on Linux read the same); the last line may end without a
// line break. The text must outlive the cursor.
#include <cstddef>
#include <string_view>

#include "platform/text/line_reader.h"

namespace brevora::doc {

class LineCursor : public text::LineReader {
 public:
  explicit LineCursor(std::string_view text, std::size_t start = 0)
      : text::LineReader(text, text::kDesktopValueLines, start) {}
};

}  // namespace brevora::doc
