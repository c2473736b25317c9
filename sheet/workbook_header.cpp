#include "sheet/workbook_header.h"

namespace brevora::sheet {

void DefaultStyles(std::array<StyleSlot, kStyleSlots>& styles) {
  static const StyleSlot defaults[] = {{65, "Text"},
                                       {72, "Bold Text"},
                                       {4026531874.0, "Number"},
                                       {536875138, "Money"},
                                       {4026532354.0, "Percentage"},
                                       {76, "Col Header"},
                                       {1026, "Date"},
                                       {2050, "Time"},
                                       {3074, "Date & Time"}};
  styles = {};
  for (size_t i = 0; i < std::size(defaults); ++i) styles[i] = defaults[i];
  styles[kStyleSlots - 1] = {0, kEditStylesSlot};
}

void DefaultHeader(WorkbookHeader& header) {
  header = WorkbookHeader{};
  header.DefaultFormat = kDefaultFormat;
  header.CurrentSheet = 1;
  header.Properties = kDefaultProperties;
  header.Extra = kDefaultExtra;
  header.Currency = "$";
  DefaultStyles(header.Styles);
  for (size_t i = 1; i < kSheetEntries; ++i) {
    header.SheetParams[i].Current[2] = 1;  // offsetX
    header.SheetParams[i].Current[3] = 1;  // offsetY
  }
  header.SheetNames[0] = kClipboardSheet;
  header.SheetNames[1] = "Sheet1";
  header.SheetCount = 2;
}

}  // namespace brevora::sheet
