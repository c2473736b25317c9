#pragma once
// Workbook ("TabulynPC.Workbook"): a spreadsheet document in memory: its sheets,
// named styles, default cell format, flags word, link settings to an .xls file
// and the header record that every storage form goes through. Readers fill the
// header record and apply it (HeaderToObjects); writers fill it from the objects
// (HeaderFromObjects) and write it.
//
// Storage forms built here: the desktop workbook file (.tbr: OpenFromDisk,
// WriteToDisk, InitFromTBR, UpdateHeader; sheet/tbr_format.h), the handheld
// spreadsheet database (OpenFromPDB, WriteToPDB; sheet/workbook_pdb_format.h)
// the user's file store (OpenFromUser, WriteToUser) and the server database
// object of the RivorOdurov host (WriteToZazerDB; sheet/server_layout.h). The
// link to an .xls file and the .xls conversions (OpenFromXLS, WriteToXLS) are
// reached through a WorkbookLinkStep: every new workbook has the .xls link of
// sheet/xls_link.h.
//
// A workbook may be bound to a desktop file (FullPath). It holds files open
// only within one call; every write replaces the file through a temporary file
// renamed over it, so a failed save leaves the old file as it was.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/automation/member_table.h"
#include "sheet/cell_format.h"
#include "sheet/named_style.h"
#include "sheet/sheet_collection.h"
#include "sheet/workbook_header.h"
#include "sheet/workbook_link_step.h"

namespace brevora::core {
class Session;
class Application;
}

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

class Workbook : public Dispatchable<Workbook> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Workbook";
  static constexpr const char* kClsid = "{7A41C2E0-5B3D-4F86-9C21-0D8E6B4A3F10}";
  static constexpr int16_t kVersion = 9;

  static const MemberTable<Workbook>& Members();

  // An empty workbook (no sheets, no styles, version 9, unbound) with its own
  // application object on the thread's global Session.
  Workbook();
  ~Workbook() override;

  // ---- Plain values and flags ----
  int16_t Category() const { return category_; }
  void SetCategory(int16_t category) { category_ = category; }
  bool IsModified() const { return isModified_; }
  void SetIsModified(bool modified) { isModified_ = modified; }
  // The whole flags word, unchecked.
  double Properties() const { return properties_; }
  void SetProperties(double properties) { properties_ = properties; }
  // One bit of the flags word (workbook_flags).
  bool Flag(uint32_t bit) const;
  void SetFlag(uint32_t bit, bool on);
  const std::string& CurrencyCharacter() const { return currency_; }
  void SetCurrencyCharacter(std::string currency) { currency_ = std::move(currency); }
  int16_t Version() const { return version_; }
  void SetVersion(int16_t version) { version_ = version; }
  int16_t CurrentSheet() const { return currentSheet_; }
  // 0x80040107 "Create the sheets collection before setting any sheet
  // properties." without Sheets; 0x80040105 "This sheet number doesn't exist."
  // above Sheets.Count. 0 and below are taken.
  void SetCurrentSheet(int32_t sheet);
  // The header's extra word, carried through every format.
  int16_t HeaderExtra() const { return headerExtra_; }
  void SetHeaderExtra(int16_t extra) { headerExtra_ = extra; }

  // ---- Objects ----
  const Ref<core::Session>& Session() const { return session_; }
  // Stores the Session and takes a new application object from it (91 for null).
  void SetSession(Ref<core::Session> session);
  const Ref<core::Application>& Application() const { return application_; }
  // The collections and the default format; each may be set to null, and the
  // accessors without Ref then raise 91.
  SheetCollection& Sheets() const;
  const Ref<SheetCollection>& SheetsRef() const { return sheets_; }
  void SetSheets(Ref<SheetCollection> sheets) { sheets_ = std::move(sheets); }
  NamedStyleCollection& Styles() const;
  const Ref<NamedStyleCollection>& StylesRef() const { return styles_; }
  void SetStyles(Ref<NamedStyleCollection> styles) { styles_ = std::move(styles); }
  CellFormat& DefaultStyle() const;
  const Ref<CellFormat>& DefaultStyleRef() const { return defaultStyle_; }
  void SetDefaultStyle(Ref<CellFormat> format) { defaultStyle_ = std::move(format); }

  // ---- Link settings (the link fields of the header record) ----
  const std::string& LinkedXLSFileName() const { return header_.LinkedFileName; }
  // An empty name also sets the time, method and option to 0.
  void SetLinkedXLSFileName(std::string name);
  // True when the name without blanks at both ends is not empty.
  bool HasLinkedXLSFile() const;
  double LinkedXLSFileModDateTime() const { return header_.LinkedFileTime; }
  void SetLinkedXLSFileModDateTime(double seconds) { header_.LinkedFileTime = seconds; }
  int32_t LinkedXLSSyncMethod() const { return header_.SyncMethod; }
  // 0..3, else 32760 "Tabulyn - Workbook" "Invalid syncMethod.  Must be between 0 and 3".
  void SetLinkedXLSSyncMethod(int32_t method);
  int32_t LinkedXLSSyncOption() const { return header_.SyncOption; }
  // 0..3, else 32760 "Tabulyn - Workbook" "Invalid syncOption.  Must be between 0 and 3".
  void SetLinkedXLSSyncOption(int32_t option);
  // "Synchronize", "Palm to XLS", "XLS to Palm", "Do Nothing" for 0 to 3.
  std::string SyncMethodText() const;
  // The method whose text is exactly `text`; 0 for any other text.
  int16_t SyncMethodFromText(std::string_view text) const;

  // ---- Binding ----
  const std::string& FullPath() const { return fullPath_; }
  // Moves the bound file, when there is one, to `path` (never over an existing
  // file), then binds to `path`. A failed move raises 32760 "SDK.Fullpath" and
  // keeps the old path. An empty path unbinds without moving anything.
  void SetFullPath(std::string path);
  // Unbinds (no file is touched).
  void CloseWorkbook();
  // True after a header-only open: a save then keeps the file's cell lines.
  bool IsHeaderOnly() const { return headerOnly_; }

  // ---- Whole workbooks ----
  // One sheet "Sheet1", the default styles and flags, modified, needing recalc.
  bool InitFromDefaults();

  // Desktop workbook file. OpenFromDisk reads `file` (the bound file when empty)
  // and binds to it; without cells it keeps only the header and a later save
  // keeps the file's cell lines. A failed open leaves the workbook reset and
  // unbound. 32760 "Workbook.OpenFromDisk" "Could not open workbook '<file>'."
  bool OpenFromDisk(std::string_view file = {}, bool readCells = true, bool updateFromLink = false);
  // Writes the workbook to `file` (binding to it) or to the bound file. Texts
  // the file cannot hold are refused before anything is written. 32760
  // "Workbook.WriteToDisk" "Could not save workbook '<FullPath>'."
  void WriteToDisk(std::string_view file = {}, bool updateLink = false);
  // Reads only the header of a template; leaves the workbook unbound and modified.
  bool InitFromTBR(std::string_view file);
  // Rewrites the bound file's header, keeping the cell lines of the file the
  // header-only workbook came from.
  void UpdateHeader();

  // Handheld spreadsheet database. OpenFromPDB leaves the workbook unbound.
  bool OpenFromPDB(std::string_view file);
  void WriteToPDB(std::string_view file);

  // The user's file store: <home><category>\<name>.tbr of that user.
  // OpenFromUser binds to the user's file (the file bound before is left where
  // it is); WriteToUser moves the bound file there and saves.
  bool OpenFromUser(std::string_view user, std::string_view category, std::string_view name);
  void WriteToUser(std::string_view user, std::string_view category, std::string_view name);

  // .xls files, through the link step's converter and a temporary desktop file
  // that is removed on every path. OpenFromXLS loads the converted workbook and
  // keeps the workbook bound where it was (a failed read leaves it reset and
  // unbound, as a failed open does); WriteToXLS saves the workbook as it is and
  // keeps its binding. Errors keep their number and description, source
  // "tabrelpc".
  bool OpenFromXLS(std::string_view xls);
  bool WriteToXLS(std::string_view xls);

  // The server database object of the RivorOdurov host, late-bound. Writes the
  // header as 900 application-info items and one record per cell, and sets
  // IsServerSync; errors keep their number and description, source "tabrelpc",
  // and what was passed before stays in the object. Reading back is refused:
  // OpenFromZazerDB raises 0x80040114 "Not implemented." without calling it.
  void WriteToZazerDB(const Variant& zazerDB);
  bool OpenFromZazerDB(const Variant& zazerDB);

 private:
  // The header record and the steps the storage forms share; tests reach them
  // through WorkbookInternal (sheet/workbook_internal.h).
  friend class WorkbookInternal;

  WorkbookHeader& Header() { return header_; }
  const WorkbookHeader& Header() const { return header_; }
  // New empty collections and default format, version 9, not modified, not
  // header-only, unbound; the header record keeps its values.
  void ResetHeader();
  void HeaderToObjects(const WorkbookHeader& header);
  void HeaderFromObjects(WorkbookHeader& header);
  // The first column (1..40) at which the running sum of the widths exceeds
  // 156; 0 when none does.
  static int16_t FirstOverflowColumn(const Sheet& sheet);
  // The path of a workbook in a user's store (the category folder is made when
  // missing). Refuses an unknown user and category or workbook names that are
  // empty or hold a separator, ".." or a control character; passes on the
  // errors of the home folder.
  std::string UserFilePath(std::string_view user, std::string_view category, std::string_view name);
  // A new empty temporary file "tbr..." in the system temporary folder.
  std::string GetTempFile();
  // Replaces the link step; null leaves the workbook without link (opening and
  // saving then leave linked files alone, and the .xls conversions raise 91).
  void SetLinkStep(std::shared_ptr<WorkbookLinkStep> step) { linkStep_ = std::move(step); }

  void InitObjects(bool full);
  void ReleaseObjects(bool full);
  core::Application& App() const;
  std::string ApplicationTitleOrDefault() const;
  // The cell lines of a file of `version` (comma lines for versions 4 and 5).
  void ReadCells(class TbrReader& reader, int16_t version);
  void LoadAppInfoString(std::string_view block, int16_t version);
  void CheckPdbWritable() const;

  Ref<core::Session> session_;
  Ref<core::Application> application_;
  WorkbookHeader header_;
  std::string fullPath_;
  bool headerOnly_ = false;
  // The file whose cell lines a header-only workbook keeps (its source).
  std::string cellSource_;
  Ref<NamedStyleCollection> styles_;
  Ref<SheetCollection> sheets_;
  int16_t version_ = kVersion;
  Ref<CellFormat> defaultStyle_;
  std::string currency_;
  double properties_ = 0;
  bool isModified_ = false;
  int16_t currentSheet_ = 0;
  int16_t headerExtra_ = 0;
  int16_t category_ = 0;
  std::shared_ptr<WorkbookLinkStep> linkStep_;
};

}  // namespace brevora::sheet
