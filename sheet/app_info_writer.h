#pragma once
// AppInfoWriter: lays out a workbook header as the application-info block of
// the handheld spreadsheet database (sheet/workbook_pdb_format.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "sheet/workbook_header.h"

namespace brevora::sheet {

class AppInfoWriter {
 public:
  // The 2524-byte block. A version other than 8 or 9 raises 0x80040109 "Can
  // only work with Tabulyn 5.0 files."; a number that does not fit its field
  // raises what the byte-string helpers raise (6 "Overflow", 5 for a byte).
  static std::string Build(const WorkbookHeader& header, int16_t version, int16_t category,
                           bool modified);

  // A fixed text of n + 1 bytes: the text cut to n, blanks removed at both ends,
  // NUL-padded.
  static std::string FixLength(std::string_view text, size_t n);
};

}  // namespace brevora::sheet
