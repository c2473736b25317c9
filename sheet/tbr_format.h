#pragma once
// The desktop workbook file (.tbr), described once for the reader, the writer
// and the tests. Text in the system code page, lines ending CR LF (readers also
// take LF). Two sections:
//
// Header: value lists, values separated by single commas; a number in plain
// decimal, a text between double quotes (a quote or line break inside cannot
// be stored). A reader takes it value by value: a value ends at a comma or a
// line end, blanks before a value are skipped, a quoted text may hold commas.
// Version 9, as written:
//
//   line 1      modified flag (1 or 0)
//   line 2      format version (9)
//   line 3      header flag (1; 0 = the sheet-name count follows at once)
//   lines 4-7   SyncMethod, "LinkedFileName", LinkedFileTime, SyncOption
//   line 8      DefaultFormat
//   line 9      CurrentSheet
//   line 10     Properties
//   line 11     Extra
//   line 12     "Currency"
//   lines 13-28 style slots 0 to 15: Format,"Name"
//   lines 29-60 SheetParams entries 0 to 15, two lines each:
//                 ColumnWidths(0) to (39)
//                 Frozen (4), Current (4), OverflowColumn, Fixed47, Reserved
//   line 61     SheetCount
//   then        SheetCount lines, each a "SheetName", name 0 "Clipboard"
//
// Older versions are read as TbrLayoutOf says; above 9 is refused.
//
// Cells: one line per cell, seven fields separated by TAB, no TAB at the end:
// sheet position, row, column, formula, value, format word, second format value.
// Versions 4 and 5 (the handheld conduit writes them) have comma cells instead:
// the same fields separated by commas, formula and value between double
// quotes (1,2,3,"=A1","5",34,0). A comma inside quotes belongs to the text; each
// quote switches between inside and outside. Their format word keeps its three
// top flags one bit higher: CommaFormatWord gives the word of version 6 on.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace brevora::sheet::tbr_format {

inline constexpr int16_t kVersion = 9;  // what writers write; readers take 9 and lower
inline constexpr const char* kLineEnd = "\r\n";
inline constexpr char kValueSeparator = ',';
inline constexpr char kQuote = '"';
inline constexpr char kFieldSeparator = '\t';
inline constexpr int kCellFields = 7;
inline constexpr size_t kStoredSheetEntries = 16;  // entry 16 is never stored
inline constexpr size_t kTenDroppedValues = 10;

// What a version's header holds, as the reader takes it.
struct TbrLayout {
  bool linkFields;        // lines 4 to 7 (version 8 and up)
  bool properties;        // line 10 (version 4 and up; else Properties is 4118)
  bool tenDroppedValues;  // ten values after line 3, dropped (version 4 and lower)
  bool defaultStyles;     // style slots read, then replaced by the defaults (5 and lower)
  size_t widths;          // column widths per entry: 40 (8, 9), 20 (5 to 7), 0 (4 and lower)
  bool droppedLongs;      // two 32-bit values after Current, dropped (7 and lower)
  bool fixed47;           // Fixed47 stored (5 and up; else set to 47)
};

constexpr TbrLayout TbrLayoutOf(int version) {
  if (version >= 8) return {true, true, false, false, 40, false, true};
  if (version >= 6) return {false, true, false, false, 20, true, true};
  if (version == 5) return {false, true, false, true, 20, true, true};
  if (version == 4) return {false, true, true, true, 0, true, false};
  return {false, false, true, true, 0, true, false};
}

inline constexpr char kCommaSeparator = ',';

constexpr bool HasCommaCells(int version) { return version == 4 || version == 5; }

// The format word of a comma cell as versions 6 to 9 hold it: bits 29 to 31
// move to 28 to 30 (bit 28 keeps its own value OR the old bit 29), bit 31 is 0.
constexpr uint32_t CommaFormatWord(uint32_t word) {
  return (word & 0x1FFFFFFFu) | ((word >> 29) << 28);
}

// The seven fields of a comma cell line, quotes kept: cut at every comma that
// is outside quotes (adjacent commas give empty fields). nullopt when the line
// has more or fewer fields, or ends inside quotes.
inline std::optional<std::array<std::string_view, kCellFields>> SplitCommaCells(
    std::string_view line) {
  std::array<std::string_view, kCellFields> fields;
  std::size_t count = 0;
  std::size_t start = 0;
  bool inside = false;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size()) {
      if (line[i] == kQuote) inside = !inside;
      if (inside || line[i] != kCommaSeparator) continue;
    } else if (inside) {
      return std::nullopt;
    }
    if (count == fields.size()) return std::nullopt;
    fields[count++] = line.substr(start, i - start);
    start = i + 1;
  }
  if (count != fields.size()) return std::nullopt;
  return fields;
}

// A field between double quotes without them; any other field as it stands.
constexpr std::string_view Unquoted(std::string_view field) {
  if (field.size() >= 2 && field.front() == kQuote && field.back() == kQuote)
    return field.substr(1, field.size() - 2);
  return field;
}

}  // namespace brevora::sheet::tbr_format
