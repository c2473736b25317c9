#include "sheet/workbook_model.h"

#include <utility>

#include "core/module_error.h"
#include "core/text_cleanup.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "sheet/format_word.h"

namespace brevora::sheet {

SheetCollection& WorkbookModel::Sheets() const {
  if (!sheets) RaiseRuntimeError(91);
  return *sheets;
}

NamedStyleCollection& WorkbookModel::Styles() const {
  if (!styles) RaiseRuntimeError(91);
  return *styles;
}

CellFormat& WorkbookModel::DefaultStyle() const {
  if (!defaultStyle) RaiseRuntimeError(91);
  return *defaultStyle;
}

bool WorkbookModel::Flag(uint32_t bit) const { return HasBits(properties, bit); }

void WorkbookModel::SetFlag(uint32_t bit, bool on) {
  properties = sheet::SetFlag(properties, bit, on);
}

void WorkbookModel::SetCurrentSheet(int32_t sheet) {
  if (!sheets)
    core::RaiseModuleError(263,
                           "Create the sheets collection before setting any sheet properties.");
  if (sheet > sheets->Count()) core::RaiseModuleError(261, "This sheet number doesn't exist.");
  currentSheet = static_cast<int16_t>(sheet);
}

void WorkbookModel::SetLinkedFileName(std::string name) {
  header.LinkedFileName = std::move(name);
  if (header.LinkedFileName.empty()) {
    header.LinkedFileTime = 0;
    header.SyncMethod = 0;
    header.SyncOption = 0;
  }
}

bool WorkbookModel::HasLinkedFile() const { return !core::Trim(header.LinkedFileName).empty(); }

void WorkbookModel::SetSyncMethod(int32_t method) {
  kXlsLinkSettings.CheckSyncValue(method, "syncMethod");
  header.SyncMethod = static_cast<int16_t>(method);
}

void WorkbookModel::SetSyncOption(int32_t option) {
  kXlsLinkSettings.CheckSyncValue(option, "syncOption");
  header.SyncOption = static_cast<int16_t>(option);
}

std::string WorkbookModel::SyncMethodText() const {
  return kXlsLinkSettings.SyncMethodText(header.SyncMethod);
}

int16_t WorkbookModel::SyncMethodFromText(std::string_view text) {
  return kXlsLinkSettings.SyncMethodFromText(text);
}

void ResetWorkbookContent(WorkbookModel& model) {
  model.sheets = MakeRef<SheetCollection>();
  model.styles = MakeRef<NamedStyleCollection>();
  model.defaultStyle = MakeRef<CellFormat>();
  model.version = kWorkbookVersion;
  model.isModified = false;
}

void InitWorkbookDefaults(WorkbookModel& model) {
  ResetWorkbookContent(model);
  DefaultHeader(model.header);
  HeaderToModel(model.header, model);
  // The default flags stay 4118: a new workbook's file carries exactly the
  // default flags word (needs-recalc clear), as files made by other versions do.
  model.isModified = true;
}

void HeaderToModel(const WorkbookHeader& header, WorkbookModel& model) {
  try {
    model.SetSyncMethod(header.SyncMethod);
    model.SetLinkedFileName(header.LinkedFileName);
    model.header.LinkedFileTime = header.LinkedFileTime;
    model.SetSyncOption(header.SyncOption);
    for (int16_t i = 1; i < header.SheetCount; ++i) {
      if (i >= static_cast<int16_t>(kSheetEntries)) RaiseRuntimeError(9);
      const std::string& name = header.SheetNames[static_cast<size_t>(i)];
      try {
        model.Sheets().Add(name);
      } catch (const AutomationError& e) {
        // Two stored names alike (a handheld database keeps 15 characters of
        // each): refused, naming the sheet, rather than merged into one.
        if (e.number() != 457) throw;
        RaiseError(457, e.source(), "The workbook has two sheets named '" + name + "'.");
      }
    }
    model.DefaultStyle().SetRaw(header.DefaultFormat);
    model.SetCurrentSheet(header.CurrentSheet);
    model.properties = header.Properties;
    model.headerExtra = DoubleToInteger(header.Extra);
    model.currency = header.Currency;
    for (size_t k = 0; k < kLoadedStyleSlots; ++k) {
      const StyleSlot& slot = header.Styles[k];
      if (slot.Name.empty()) continue;
      try {
        model.Styles().Add(slot.Name).Format().SetRaw(slot.Format);
      } catch (const AutomationError&) {
        // A style that cannot be added (duplicate, too long, too many) is left out.
      }
    }
    for (int16_t i = 1; i < header.SheetCount; ++i) {
      const SheetParamsEntry& p = header.SheetParams[static_cast<size_t>(i)];
      Sheet& sheet = model.Sheets().Item(static_cast<int32_t>(i));
      for (size_t j = 0; j < kHeaderWidths; ++j)
        sheet.SetColumnWidths(static_cast<int32_t>(j), p.ColumnWidths[j]);
      sheet.SetFrozenCells(p.Frozen[0], p.Frozen[1], p.Frozen[2], p.Frozen[3]);
      sheet.SetCurrentCell(p.Current[0], p.Current[1], p.Current[2], p.Current[3]);
    }
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.HeaderToObjects", "Error in Header to objects.");
  }
}

void HeaderFromModel(WorkbookModel& model, WorkbookHeader& header) {
  header.SyncMethod = model.header.SyncMethod;
  header.LinkedFileName = model.header.LinkedFileName;
  header.LinkedFileTime = model.header.LinkedFileTime;
  header.SyncOption = model.header.SyncOption;
  header.DefaultFormat = model.DefaultStyle().Raw();
  if (model.currentSheet > model.Sheets().Count() || model.currentSheet < 1)
    model.SetCurrentSheet(1);
  header.CurrentSheet = model.currentSheet;
  header.Properties = model.properties;
  header.Extra = model.headerExtra;
  header.Currency = model.currency;
  const int32_t styleCount = model.Styles().Count();
  for (int32_t k = 1; k <= styleCount; ++k) {
    NamedStyle& style = model.Styles().Item(k);
    header.Styles[static_cast<size_t>(k - 1)] = {style.Format().Raw(), style.name()};
  }
  for (size_t k = static_cast<size_t>(styleCount); k < kStyleSlots - 1; ++k)
    header.Styles[k] = {0, ""};
  header.Styles[kStyleSlots - 1] = {0, kEditStylesSlot};
  header.SheetNames[0] = kClipboardSheet;
  const int32_t sheetCount = model.Sheets().Count();
  for (int32_t i = 1; i <= sheetCount; ++i) {
    if (i >= static_cast<int32_t>(kSheetEntries)) RaiseRuntimeError(9);
    Sheet& sheet = model.Sheets().Item(i);
    SheetParamsEntry& p = header.SheetParams[static_cast<size_t>(i)];
    header.SheetNames[static_cast<size_t>(i)] = sheet.name();
    for (size_t j = 0; j < kHeaderWidths; ++j)
      p.ColumnWidths[j] = sheet.ColumnWidths(static_cast<int32_t>(j));
    p.Frozen = sheet.FrozenCells();
    p.Current = sheet.CurrentCell();
    p.OverflowColumn = FirstOverflowColumn(sheet);
    p.Fixed47 = kFixed47;
  }
  header.SheetCount = static_cast<int16_t>(sheetCount + 1);
}

int16_t FirstOverflowColumn(const Sheet& sheet) {
  int32_t sum = 0;
  for (int16_t c = 1; c <= Sheet::kLastColumnIndex; ++c) {
    sum += sheet.ColumnWidths(c);
    if (sum > 156) return c;
  }
  return 0;
}

}  // namespace brevora::sheet
