#pragma once
// The desktop document file (.scv): a text header of one value per line, each
// line ended by CR LF, an empty line, then the document's text.
//
//   line  value                       written as
//   1     modified flag               1 or 0
//   2     format version              5
//   3     header present              1 (0: the header ends here)
//   4     link sync method            0..3          (lines 4-7 only from version 3 on)
//   5     linked .doc file name       quoted
//   6     linked file time            seconds, "." as decimal separator
//   7     link sync option            0..3
//   8     server-sync flag            1 or 0
//   9     editable flag               1 or 0
//   10    compression flag            2 compressed, 1 not
//   11    search mode                 0..2
//   12    DocName                     quoted
//   13    password                    quoted
//   14    handheld database value     32-bit integer
//   15    reading position            32-bit integer
//   16    CursorEndPos                32-bit integer
//   17    bookmark count n            0..25
//   18... n pairs of lines: bookmark name (quoted), offset
//   then  an empty line (the separator), then the text, with no final line break.
//
// Texts are written without CR, LF or double quotes (a quoted field cannot
// hold them). The file is Windows-1252 text; readers take its lines as
// LineCursor does (CR LF, LF and a CR on its own end a line).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "doc/line_cursor.h"

namespace brevora::doc::scv_format {

inline constexpr int16_t kVersion = 5;
// Files before this version have no link lines (4 to 7).
inline constexpr int16_t kFirstVersionWithLink = 3;
inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr char kQuote = '"';

// Where the text begins when `cursor` stands after the header's last line:
// past the empty line that separates them, when it is there (only that one).
inline std::size_t TextStart(LineCursor cursor) {
  const std::size_t here = cursor.Position();
  const auto separator = cursor.Next();
  return separator && separator->empty() ? cursor.Position() : here;
}

}  // namespace brevora::doc::scv_format
