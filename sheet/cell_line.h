#pragma once
// The cell line: a cell as one text of seven TAB-separated fields (sheet
// position, row, column, formula, value, format word, second format value).
// It is a line of the desktop workbook file and the data of a cell record of
// the handheld spreadsheet database.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "sheet/cell.h"

namespace brevora::sheet {

class SheetCollection;

// Appends the line of `cell` on sheet position `sheet` (no line end).
void AppendCellLine(std::string& out, int32_t sheet, const Cell& cell);

// Calls `emit` with the line of every cell of `sheets`, sheet by sheet in
// collection order (positions from 1) and each sheet's cells in its order. The
// line is only valid during the call.
void ForEachCellLine(const SheetCollection& sheets,
                     const std::function<void(std::string_view)>& emit);

// The seven fields as the workbook's token reader splits them: a field ends at
// the next TAB, the seventh at the next TAB or the line's end; missing fields
// are empty.
std::array<std::string_view, 7> SplitCellLine(std::string_view line);

// Adds the cell a line describes to `sheets`: fields 1 to 3 are read as their
// leading number rounded to an integer, fields 6 and 7 as their leading number.
// Raises what the collections and the cell raise: 9 an unknown sheet position,
// the row and column errors, 457 a second cell at one place, 6 a number too big.
void AddCellFromLine(SheetCollection& sheets, std::string_view line);
// The same for a comma cell line of a version-4 or version-5 file
// (sheet/tbr_format.h): the formula and value without their quotes, the format
// word as versions 6 on hold it. A line that is not seven comma-separated
// fields raises 13.
void AddCellFromCommaLine(SheetCollection& sheets, std::string_view line);
// The cell line of the same cell in the TAB form of version 6 on (raises 13 as
// AddCellFromCommaLine does).
std::string TabLineOfCommaLine(std::string_view line);

// Raises 32760 with `source` naming the first cell whose formula or value holds
// a character of `forbidden`: "The formula of the cell at row 2, column 3 of
// sheet 'Sheet1' holds " + `what` + " cannot keep."
void CheckCellTexts(const SheetCollection& sheets, std::string_view forbidden,
                    const std::string& source, std::string_view what);

// The leading number of a text (blanks before it skipped; 0 when there is none).
// `consumed`, when given, receives the length of the text read (0 when no number).
// A number beyond the range of a double raises 6 (Overflow).
double LeadingNumber(std::string_view text, size_t* consumed = nullptr);

// A number in plain decimal: whole numbers as digits, others as their shortest
// usual form with "." ("0.5", "1E+20").
std::string FormatNumber(double value);
void AppendNumber(std::string& out, double value);

}  // namespace brevora::sheet
