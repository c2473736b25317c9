#pragma once
// CellRecord: one cell as the conduit carries it between a handheld record and
// a desktop file line, and its two text forms:
//   comma form (versions 4 and 5): 1,2,3,"formula","value",format,format2
//   TAB form (versions 6 to 9):    1 TAB 2 TAB 3 TAB formula TAB value TAB format TAB format2
// (sheet/tbr_format.h describes both). Sheet, row and column are signed 32-bit
// decimal numbers, the two format words unsigned 32-bit ones.
//
// Reading cuts at every separator (in comma form, at every comma outside
// quotes), never merging two; a line must have exactly seven fields, numbers
// where numbers belong, and sheet, row and column of at least 1. The format
// word is kept as the form holds it: ToTabFormat gives the word of the TAB form
// for a cell read in comma form. Writing a cell refuses a text its form can't
// read back (CheckTexts).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brevora::tabrel {

struct CellRecord {
  int32_t sheet = 0;
  int32_t row = 0;
  int32_t column = 0;
  std::string formula;
  std::string value;
  uint32_t format = 0;
  uint32_t format2 = 0;
  bool operator==(const CellRecord&) const = default;
};

enum class CellForm { Comma, Tab };

// The form of a database or file of `version`: comma for 4 and 5 (and the
// versions the version-4 classes take), TAB for 6 to 9.
CellForm CellFormOf(uint16_t version);

// The cell of `line` (no line end); nullopt with `problem` saying what is
// wrong ("the row is not a number.", "the sheet is below 1.").
std::optional<CellRecord> ParseCell(std::string_view line, CellForm form, std::string& problem);
// The line of `cell` (no line end); the format words as they stand.
std::string FormatCell(const CellRecord& cell, CellForm form);
void AppendCell(std::string& out, const CellRecord& cell, CellForm form);

// The format word of a comma-form cell in the TAB form.
uint32_t ToTabFormat(uint32_t commaFormat);

// Where a cell's line goes: a handheld record (NUL-terminated) or a desktop
// file line of the form.
enum class CellTarget { HandheldTab, DesktopComma, DesktopTab };
// Empty when `cell`'s texts can be written to `target` and read back as they
// are; else what is wrong, naming the cell ("the formula of the cell at sheet
// 1, row 2, column 3 holds a tab.").
std::string CheckTexts(const CellRecord& cell, CellTarget target);

// Where the cell is, for messages: "sheet 1, row 2, column 3".
std::string CellPlace(const CellRecord& cell);

}  // namespace brevora::tabrel
