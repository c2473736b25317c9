#pragma once
// WorkbookModel: what a workbook stores, as plain data: the header record that
// every storage form goes through (link fields included), the sheets, named
// styles and default cell format, and the values kept beside them (version,
// category, modified, flags word, currency, current sheet, the header's extra
// word). No automation, no file and no application: the Workbook object
// (sheet/workbook.h) binds it to a file, and the storage functions
// (sheet/workbook_storage.h) read and write it.
//
// The helpers below are the rules about the model's own values, with the
// errors the Workbook's properties have always raised; HeaderToModel and
// HeaderFromModel are the two steps between the header record and the rest.
// All are defined in workbook_model.cpp.
#include <cstdint>
#include <string>
#include <string_view>

#include "office/link_settings.h"
#include "platform/automation/object.h"
#include "sheet/cell_format.h"
#include "sheet/named_style.h"
#include "sheet/sheet_collection.h"
#include "sheet/workbook_header.h"

namespace brevora::sheet {

// Bits of the flags word.
namespace workbook_flags {
inline constexpr uint32_t kIsPrivate = 0x1;
inline constexpr uint32_t kIsAutoRecalc = 0x2;
inline constexpr uint32_t kShowGridLines = 0x4;
inline constexpr uint32_t kNeedsRecalc = 0x20;
inline constexpr uint32_t kIsCopyFormulasToClipboard = 0x40;
inline constexpr uint32_t kIsProtected = 0x200;
inline constexpr uint32_t kIsTemplate = 0x400;
inline constexpr uint32_t kIsOnEnterMoveDown = 0x1000;
inline constexpr uint32_t kIsServerSync = 0x2000;
}  // namespace workbook_flags

// The version of a new workbook.
inline constexpr int16_t kWorkbookVersion = 9;

// The texts and checks of a workbook's link to an .xls file.
inline constexpr office::LinkSettings kXlsLinkSettings{"XLS", "Tabulyn - Workbook"};

struct WorkbookModel {
  WorkbookHeader header;
  // Each may be null (set so through the Workbook); the accessors below then
  // raise 91.
  Ref<SheetCollection> sheets;
  Ref<NamedStyleCollection> styles;
  Ref<CellFormat> defaultStyle;
  int16_t version = kWorkbookVersion;
  int16_t category = 0;
  bool isModified = false;
  double properties = 0;  // the flags word (workbook_flags)
  std::string currency;
  int16_t currentSheet = 0;
  int16_t headerExtra = 0;  // the header's extra word, carried through every format

  SheetCollection& Sheets() const;
  NamedStyleCollection& Styles() const;
  CellFormat& DefaultStyle() const;

  // One bit of the flags word.
  bool Flag(uint32_t bit) const;
  void SetFlag(uint32_t bit, bool on);
  // 0x80040107 "Create the sheets collection before setting any sheet
  // properties." when sheets is null; 0x80040105 "This sheet number doesn't exist."
  // above the sheet count. 0 and below are taken.
  void SetCurrentSheet(int32_t sheet);

  // The link fields of the header record. An empty name also sets the time,
  // method and option to 0.
  void SetLinkedFileName(std::string name);
  // True when the name without blanks at both ends is not empty.
  bool HasLinkedFile() const;
  // 0..3, else 32760 "Tabulyn - Workbook" "Invalid syncMethod.  Must be
  // between 0 and 3" (syncOption for the option); a refused value is not stored.
  void SetSyncMethod(int32_t method);
  void SetSyncOption(int32_t option);
  // The text of the link's sync method: "Synchronize", "Palm to XLS",
  // "XLS to Palm", "Do Nothing" for 0 to 3, "Synchronize" for any other number.
  std::string SyncMethodText() const;
  // The method whose text is exactly `text`; 0 for any other text.
  static int16_t SyncMethodFromText(std::string_view text);
};

// New empty sheets, styles and default format, version 9, not modified; the
// header record and the other values keep theirs.
void ResetWorkbookContent(WorkbookModel& model);
// A new workbook: the content reset, the header record replaced by the
// default one (DefaultHeader: no link) and applied (one sheet "Sheet1", the
// default styles, format and currency, flags word 4118), modified.
void InitWorkbookDefaults(WorkbookModel& model);

// Applies a header record to the model: the link fields in the order sync
// method (range-checked), name (SetLinkedFileName: an empty one zeroes the
// time, method and option), time, option (range-checked); then the sheets it
// names (added to the ones there), the default format, current sheet, flags,
// extra word and currency, the styles that can be added (others are left out)
// and each sheet's widths, frozen and current cells. A failure raises 32760
// "Workbook.HeaderToObjects" "Error in Header to objects." with the inner
// error's text (more than 16 sheets: 9; two sheets of one name: 457
// "The workbook has two sheets named '<name>'."); an error already numbered
// 32760 passes unchanged (a sync method or option out of range: 32760
// "Tabulyn - Workbook"). `header` may be the model's own.
void HeaderToModel(const WorkbookHeader& header, WorkbookModel& model);
// Fills a header record from the model. A current sheet outside 1..count is
// set to 1 in the model before it is taken (refused with 0x80040105 when there
// is no sheet); more than 16 sheets raise 9, the header then partly filled.
// Without sheets, styles or default format (null) it raises 91. `header` may
// be the model's own.
void HeaderFromModel(WorkbookModel& model, WorkbookHeader& header);
// The first column (1..40) at which the running sum of the widths exceeds
// 156; 0 when none does.
int16_t FirstOverflowColumn(const Sheet& sheet);

}  // namespace brevora::sheet
