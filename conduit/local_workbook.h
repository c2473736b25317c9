#pragma once
// The desktop workbook file classes: a ".tbr" file in a category folder as
// the conduit reads it (over CLocalFile) and writes it (into a LocalFileWriter),
// one class per header layout. Numbers are decimal, "flag" lines "1" or "0", a
// quoted item a double quote, the text and a double quote; lines end in CR LF.
//
// CLocalWorkbook_V8 (versions 8 and 9; sheet/tbr_format.h describes version 9
// as the desktop program writes it):
//    1 modified flag   2 version text   3 "1" (anything else: 4 to 14 are absent)
//    4 link sync method   5 quoted linked file (at most 255 characters)
//    6 link date (seconds)   7 link option   8 default style flags
//    9 current sheet   10 properties (absent below version 4: then 22)
//   11 user style count   12 quoted currency (up to two characters)
//   13 16 style lines: flags,"name"
//   14 16 pairs: 40 column widths; 8 settings, setting, default width, last word
//   15 sheet count (at most 16)   16 one quoted name per non-empty name slot
// CLocalWorkbook_V5 (also V6 and V7): 1-3 as above, then default style flags,
//   current sheet, properties, user style count, currency, 16 style lines,
//   16 pairs (20 widths; 8 settings, 2 double words, setting, default width,
//   last word), sheet count, names as above.
// CLocalWorkbook_V4: 1-3, a line of 10 column widths, then as V5 but with 16
//   single sheet lines (8 settings, 2 double words, setting, last word), and
//   exactly (sheet count) names, empty or not.
// Cells follow, one line each, to the end of the file: comma form for V4 and
// V5, TAB form for V6 to V8 (cell_record.h). Trailing blank lines are ignored.
//
// On reading, values that are carried nowhere are read as 0: the double words,
// the last word and the V4 width line. A style line is the flags, a comma and
// the rest of the line without its outer quotes. Every number must fit its
// field (a 16-bit field may be written signed); any other content makes the
// header unreadable, with the line named in `problem`.
#include <cstdint>
#include <memory>
#include <string>

#include "conduit-framework/local_file.h"
#include "conduit/cell_record.h"
#include "conduit/workbook_header.h"

namespace brevora::tabrel {

class LocalWorkbook : public conduit::CLocalFile {
 public:
  enum class Layout { V4, V5, V8 };

  Layout layout() const { return layout_; }
  CellForm form() const { return form_; }

  // Reads the header of the open file from its first line; false with
  // `problem` ("<path>, line 12: ...") when the header does not hold together.
  // `modified` is the first line's flag. Use the header kind of the layout
  // (CWorkbookHeader_V8 for V8); the other is refused.
  bool ReadHeader(CWorkbookHeader& header, bool& modified, std::string& problem);
  bool ReadHeader(CWorkbookHeader_V8& header, bool& modified, std::string& problem);

  enum class CellRead { Cell, End, Bad };
  CellRead ReadNextCell(CellRecord& cell, std::string& problem);

  // The file's text, header first, then one line per cell.
  void WriteHeader(const CWorkbookHeader& header, bool modified);
  void WriteHeader(const CWorkbookHeader_V8& header, bool modified);
  void WriteCell(const CellRecord& cell);
  const std::string& text() const { return writer_.text(); }

 protected:
  LocalWorkbook(Layout layout, CellForm form) : layout_(layout), form_(form) {}

 private:
  class HeaderLines;
  template <class Header>
  bool ReadCommon(HeaderLines& in, Header& header, bool& modified);
  template <class Header>
  void WriteCommonStart(const Header& header, bool modified);

  Layout layout_;
  CellForm form_;
  conduit::LocalFileWriter writer_;
};

class CLocalWorkbook_V4 : public LocalWorkbook {
 public:
  CLocalWorkbook_V4() : LocalWorkbook(Layout::V4, CellForm::Comma) {}
};

class CLocalWorkbook_V5 : public LocalWorkbook {
 public:
  CLocalWorkbook_V5() : LocalWorkbook(Layout::V5, CellForm::Comma) {}

 protected:
  explicit CLocalWorkbook_V5(CellForm form) : LocalWorkbook(Layout::V5, form) {}
};

class CLocalWorkbook_V6 : public CLocalWorkbook_V5 {
 public:
  CLocalWorkbook_V6() : CLocalWorkbook_V5(CellForm::Tab) {}
};

class CLocalWorkbook_V7 : public CLocalWorkbook_V6 {};

class CLocalWorkbook_V8 : public LocalWorkbook {
 public:
  CLocalWorkbook_V8() : LocalWorkbook(Layout::V8, CellForm::Tab) {}
};

// The class of a file of `version`: 4 V4, 5 V5, 6 V6, 7 V7, 8 and 9 V8, any
// other V4.
std::unique_ptr<LocalWorkbook> LocalWorkbookFor(uint16_t version);

}  // namespace brevora::tabrel
