#pragma once
// The desktop document file (.scv) as the document conduit reads and writes
// it: the desktop program's file (doc/scv_format.h), one value per line:
//
//   1   modified flag            "1" or "0"; any other first line: the file has
//                                no header, all of it is the text
//   2   version                  1 to 5
//   3   "1"                      any other text: the text begins on line 4
//   4   link sync method         lines 4 to 7 only from version 3 on
//   5   linked office file       quoted
//   6   link date                seconds since 1899-12-30 (a decimal fraction
//                                is read and rounded)
//   7   link option
//   8   server-sync flag
//   9   editable flag            "1" editable
//   10  compression byte         2 compressed
//   11  mode byte
//   12  first name               quoted
//   13  second name              written unquoted; quotes are dropped on reading
//   14  position                 32 bits (written signed, as the desktop
//                                program reads it)
//   15  info word A
//   16  info word B
//   17  bookmark count n
//   ... n pairs: the name (quoted, at most 16 bytes), the position
//   then an empty line (the separator) and the text to the end of the file.
//
// Lines end in CR LF when written; CR LF, LF and a lone CR end a line when
// read. Texts are code-page bytes: a quoted text can't hold a double quote or
// a line break (they are dropped and made blanks when written).
#include <cstddef>
#include <string_view>

#include "doc/scv_format.h"

namespace brevora::scriv_format {

using doc::scv_format::kFirstVersionWithLink;
using doc::scv_format::kLineEnd;
using doc::scv_format::kQuote;
inline constexpr std::string_view kHeaderPresent = "1";
inline constexpr std::size_t kMaxBookmarkName = 16;
// The most bytes of a desktop document the conduit reads: far more than a
// handheld database can hold.
inline constexpr std::size_t kMaxDesktopFile = std::size_t{64} << 20;

}  // namespace brevora::scriv_format
