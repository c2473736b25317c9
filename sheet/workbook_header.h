#pragma once
// WorkbookHeader: the in-memory image of everything a workbook file stores
// besides its cells. Every reader fills one and applies it to the rest of the
// WorkbookModel (HeaderToModel, sheet/workbook_model.h); every writer fills one
// from the model (HeaderFromModel) and writes it. A value-initialised header is all
// zero and empty; DefaultHeader gives a new workbook's values.
#include <array>
#include <cstdint>
#include <string>

#include "sheet/sheet.h"

namespace brevora::sheet {

inline constexpr size_t kStyleSlots = 16;        // slot 15 is the fixed "Edit Styles..."
inline constexpr size_t kLoadedStyleSlots = 15;  // slots 0 to 14 reach Styles
inline constexpr size_t kSheetEntries = 17;      // entry 0 is the clipboard sheet
inline constexpr size_t kHeaderWidths = 40;      // column widths 0 to 39 travel in files
inline constexpr int16_t kFixed47 = 47;
inline constexpr const char* kClipboardSheet = "Clipboard";
inline constexpr const char* kEditStylesSlot = "Edit Styles...";

struct StyleSlot {
  double Format = 0;
  std::string Name;
};

struct SheetParamsEntry {
  CellPlace Frozen{};   // top, left, offsetX, offsetY of SetFrozenCells
  CellPlace Current{};  // the same of SetCurrentCell
  int16_t OverflowColumn = 0;
  int16_t Fixed47 = 0;
  std::array<int16_t, 41> ColumnWidths{};
  int32_t Reserved = 0;  // carried by the desktop file only
};

struct WorkbookHeader {
  std::string LinkedFileName;
  double LinkedFileTime = 0;  // seconds: days since 1899-12-30 times 86400
  int16_t SyncMethod = 0;
  int16_t SyncOption = 0;
  double DefaultFormat = 0;
  int16_t CurrentSheet = 0;
  double Properties = 0;
  double Extra = 0;
  std::string Currency;
  std::array<StyleSlot, kStyleSlots> Styles;
  std::array<SheetParamsEntry, kSheetEntries> SheetParams;
  int16_t SheetCount = 0;  // used names, the clipboard sheet included
  std::array<std::string, kSheetEntries> SheetNames;
};

// The nine named styles of a new workbook in slots 0 to 8, slots 9 to 14 empty,
// slot 15 "Edit Styles...".
void DefaultStyles(std::array<StyleSlot, kStyleSlots>& styles);
// A new workbook's header: one sheet "Sheet1", the default styles and flags.
void DefaultHeader(WorkbookHeader& header);

// Defaults of a new workbook.
inline constexpr double kDefaultFormat = 4026531874.0;  // 0xF0000022, "Number"
inline constexpr double kDefaultProperties = 4118;      // 0x1016
inline constexpr double kDefaultExtra = 2;

}  // namespace brevora::sheet
