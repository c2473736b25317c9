#pragma once
// TbrWriter: builds the text of a desktop workbook file (format version 9,
// layout in sheet/tbr_format.h) into a string the caller owns and writes to
// disk. It writes what it is given; CheckTexts tells beforehand whether every
// text can be read back as written.
#include <string>
#include <string_view>

#include "sheet/sheet_collection.h"
#include "sheet/workbook_header.h"

namespace brevora::sheet {

class TbrWriter {
 public:
  explicit TbrWriter(std::string& out) : out_(out) {}
  TbrWriter(const TbrWriter&) = delete;
  TbrWriter& operator=(const TbrWriter&) = delete;

  // The header lines from `header`, line 1 from `modified`, line 9 from
  // `currentSheet`.
  void WriteHeader(const WorkbookHeader& header, bool modified, int16_t currentSheet);
  // One line per cell: sheet by sheet in collection order, cells in the order
  // of each sheet's collection.
  void WriteCells(const SheetCollection& sheets);
  // `line` followed by CR LF.
  void WriteLine(std::string_view line);

  // Raises 32760 (source "Workbook.CheckTexts") naming the first cell whose
  // formula or value holds a TAB, CR or LF, or the first quoted header text
  // (link path, currency, style name, sheet name) holding a double quote, CR or
  // LF: such texts would not read back as the same workbook.
  static void CheckTexts(const WorkbookHeader& header, const SheetCollection& sheets);

 private:
  void Number(double value);
  void Text(std::string_view text);
  void Separator() { out_ += ','; }
  void LineEnd() { out_ += "\r\n"; }

  std::string& out_;
};

}  // namespace brevora::sheet
