#pragma once
// AppInfoReader: reads the application-info block of a handheld spreadsheet
// database (sheet/workbook_pdb_format.h) into a fresh workbook header. Every
// read is bounds-checked; the block is not kept.
#include <cstdint>
#include <string_view>

#include "sheet/workbook_header.h"

namespace brevora::sheet {

class AppInfoReader {
 public:
  struct Result {
    WorkbookHeader header;  // all zero but for what the block holds
    int16_t category = 0;
    bool modified = false;
  };

  // A version other than 8 or 9 raises 0x80040109 "Can only work with Tabulyn
  // 5.0 files."; a block shorter than 2524 bytes raises 9 "Subscript out of
  // range"; a value of 32768 or more in a field read as 16-bit (current sheet,
  // the sheet entries, sync method and option) raises 6 "Overflow". The sheet
  // list ends at the first empty name after "Clipboard"; names after it are not
  // read as sheets.
  static Result Read(std::string_view block, int16_t version);
};

}  // namespace brevora::sheet
