#pragma once
// Workbook ("TabulynPC.Workbook"): the automation face of a spreadsheet
// document. What the workbook stores (its sheets, named styles, default cell
// format, flags word, link settings to an .xls file and the header record that
// every storage form goes through) is a WorkbookModel (sheet/workbook_model.h);
// the properties read and set it. The storage forms are the free functions of
// sheet/workbook_storage.h, which the members below call:
// the desktop workbook file (.tbr: OpenFromDisk, WriteToDisk, InitFromTBR,
// UpdateHeader; sheet/tbr_format.h), the handheld spreadsheet database
// (OpenFromPDB, WriteToPDB; sheet/workbook_pdb_format.h) and the server
// database object of the RivorOdurov host (WriteToZazerDB;
// sheet/server_layout.h).
//
// The Workbook itself keeps what is about the object's life: the binding to a
// desktop file (FullPath, the header-only state), the application object and
// Session, the user's file store (OpenFromUser, WriteToUser) and the
// WorkbookLinkStep, through which the link to an .xls file and the .xls
// conversions (OpenFromXLS, WriteToXLS) are reached: every new workbook has
// the .xls link of sheet/xls_link.h. The members are defined in workbook.cpp,
// the .xls conversions in workbook_xls.cpp.
//
// It holds files open only within one call; every write of a file replaces it
// through a temporary file renamed over it, so a failed save leaves the old
// file as it was.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/automation/member_table.h"
#include "sheet/cell_format.h"
#include "sheet/named_style.h"
#include "sheet/sheet_collection.h"
#include "sheet/workbook_header.h"
#include "sheet/workbook_link_step.h"
#include "sheet/workbook_model.h"

namespace brevora::core {
class Session;
class Application;
}  // namespace brevora::core

namespace brevora::sheet {

class Workbook : public Dispatchable<Workbook> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Workbook";
  static constexpr const char* kClsid = "{7A41C2E0-5B3D-4F86-9C21-0D8E6B4A3F10}";
  static constexpr int16_t kVersion = kWorkbookVersion;

  static const MemberTable<Workbook>& Members();

  // An empty workbook (no sheets, no styles, version 9, unbound) with its own
  // application object on the thread's global Session.
  Workbook();
  ~Workbook() override;

  // ---- Plain values and flags ----
  int16_t Category() const { return model_.category; }
  void SetCategory(int16_t category) { model_.category = category; }
  bool IsModified() const { return model_.isModified; }
  void SetIsModified(bool modified) { model_.isModified = modified; }
  // The whole flags word, unchecked.
  double Properties() const { return model_.properties; }
  void SetProperties(double properties) { model_.properties = properties; }
  // One bit of the flags word (workbook_flags).
  bool Flag(uint32_t bit) const { return model_.Flag(bit); }
  void SetFlag(uint32_t bit, bool on) { model_.SetFlag(bit, on); }
  const std::string& CurrencyCharacter() const { return model_.currency; }
  void SetCurrencyCharacter(std::string currency) { model_.currency = std::move(currency); }
  int16_t Version() const { return model_.version; }
  void SetVersion(int16_t version) { model_.version = version; }
  int16_t CurrentSheet() const { return model_.currentSheet; }
  // 0x80040107 "Create the sheets collection before setting any sheet
  // properties." when Sheets is null; 0x80040105 "This sheet number doesn't exist."
  // above Sheets.Count. 0 and below are taken.
  void SetCurrentSheet(int32_t sheet) { model_.SetCurrentSheet(sheet); }
  // The header's extra word, carried through every format.
  int16_t HeaderExtra() const { return model_.headerExtra; }
  void SetHeaderExtra(int16_t extra) { model_.headerExtra = extra; }

  // ---- Objects ----
  const Ref<core::Session>& Session() const { return session_; }
  // Stores the Session and takes a new application object from it (91 for null).
  void SetSession(Ref<core::Session> session);
  const Ref<core::Application>& Application() const { return application_; }
  // The collections and the default format; each may be set to null, and the
  // accessors without Ref then raise 91.
  SheetCollection& Sheets() const { return model_.Sheets(); }
  const Ref<SheetCollection>& SheetsRef() const { return model_.sheets; }
  void SetSheets(Ref<SheetCollection> sheets) { model_.sheets = std::move(sheets); }
  NamedStyleCollection& Styles() const { return model_.Styles(); }
  const Ref<NamedStyleCollection>& StylesRef() const { return model_.styles; }
  void SetStyles(Ref<NamedStyleCollection> styles) { model_.styles = std::move(styles); }
  CellFormat& DefaultStyle() const { return model_.DefaultStyle(); }
  const Ref<CellFormat>& DefaultStyleRef() const { return model_.defaultStyle; }
  void SetDefaultStyle(Ref<CellFormat> format) { model_.defaultStyle = std::move(format); }

  // ---- Link settings (the link fields of the header record) ----
  const std::string& LinkedXLSFileName() const { return model_.header.LinkedFileName; }
  // An empty name also sets the time, method and option to 0.
  void SetLinkedXLSFileName(std::string name) { model_.SetLinkedFileName(std::move(name)); }
  // True when the name without blanks at both ends is not empty.
  bool HasLinkedXLSFile() const { return model_.HasLinkedFile(); }
  double LinkedXLSFileModDateTime() const { return model_.header.LinkedFileTime; }
  void SetLinkedXLSFileModDateTime(double seconds) { model_.header.LinkedFileTime = seconds; }
  int32_t LinkedXLSSyncMethod() const { return model_.header.SyncMethod; }
  // 0..3, else 32760 "Tabulyn - Workbook" "Invalid syncMethod.  Must be between 0 and 3".
  void SetLinkedXLSSyncMethod(int32_t method) { model_.SetSyncMethod(method); }
  int32_t LinkedXLSSyncOption() const { return model_.header.SyncOption; }
  // 0..3, else 32760 "Tabulyn - Workbook" "Invalid syncOption.  Must be between 0 and 3".
  void SetLinkedXLSSyncOption(int32_t option) { model_.SetSyncOption(option); }
  // "Synchronize", "Palm to XLS", "XLS to Palm", "Do Nothing" for 0 to 3,
  // "Synchronize" for any other number.
  std::string SyncMethodText() const { return model_.SyncMethodText(); }
  // The method whose text is exactly `text`; 0 for any other text.
  int16_t SyncMethodFromText(std::string_view text) const {
    return WorkbookModel::SyncMethodFromText(text);
  }

  // ---- Binding ----
  const std::string& FullPath() const { return fullPath_; }
  // Moves the bound file to a non-empty `path` when the file exists and is not
  // `path` itself (never over an existing file; a header-only source that is
  // the bound file follows it), then sets FullPath to `path`. A failed move
  // raises 32760 "SDK.Fullpath" (its text names the application's title) and
  // keeps the old path. An empty path clears FullPath without moving anything;
  // the header-only state stays.
  void SetFullPath(std::string path);
  // Clears FullPath only: the header-only state stays and no file is touched.
  void CloseWorkbook();
  // True after a header-only open: a save then keeps the file's cell lines.
  bool IsHeaderOnly() const { return headerOnly_; }

  // ---- Whole workbooks ----
  // Unbinds, then InitWorkbookDefaults: the default header record (no link),
  // one sheet "Sheet1", the default styles, format and currency, the default
  // flags word 4118 (needs-recalc clear), modified. Returns true.
  bool InitFromDefaults();

  // Desktop workbook file. OpenFromDisk unbinds, binds to `file` (to the file
  // bound before when `file` is empty) and reads it (ReadWorkbookFile); with
  // updateFromLink the link step, given the header just read, may convert the
  // linked .xls file into it, which is then read again. Without cells only
  // the header is read and the workbook is header-only: a later save keeps
  // that file's cell lines. A failed open leaves the content reset
  // (ResetHeader) and the workbook unbound, and raises 32760
  // "Workbook.OpenFromDisk" "Could not open workbook '<file>'." (`file` as
  // given, empty for the bound file) with the inner error's text, whatever its
  // number.
  bool OpenFromDisk(std::string_view file = {}, bool readCells = true, bool updateFromLink = false);
  // Binds to `file` when it is not empty (the binding stays if the save
  // fails); unbound, it raises 0x80040108 "Please name the workbook before
  // saving it.". A header-only workbook gets its header record filled and
  // checked (PrepareWorkbookFileHeader), then UpdateHeader. Any other is
  // written whole (WriteWorkbookFile: texts the file cannot hold are refused
  // before anything is written); with updateLink the link step then pushes the
  // file to the linked .xls file and, when it did, UpdateHeader writes the
  // renewed link time into the file. Every error raises 32760
  // "Workbook.WriteToDisk" "Could not save workbook '<FullPath>'." with the
  // inner error's text, whatever its number.
  void WriteToDisk(std::string_view file = {}, bool updateLink = false);
  // Unbinds and reads only the header of the template `file`
  // (ReadWorkbookTemplate): the workbook stays unbound, modified and needing
  // recalculation. A failed read leaves the content reset (ResetHeader) and
  // raises 32760 "Workbook.InitfromTBR" "Could not open workbook '<file>'."
  // with the inner error's text, whatever its number. Returns true.
  bool InitFromTBR(std::string_view file);
  // Replaces the bound file with the header record as it stands (a save fills
  // it; this does not) followed by the cell lines of the header-only source,
  // or of the bound file itself when there is none (RewriteWorkbookFileHeader,
  // whose errors pass as they are); the bound file is then the source.
  void UpdateHeader();

  // Handheld spreadsheet database. OpenFromPDB unbinds and reads `file`
  // (ReadWorkbookDatabase, whose errors pass as they are; a failed read leaves
  // what was read so far); the workbook stays unbound. WriteToPDB writes
  // `file` (WriteWorkbookDatabase) and leaves the binding; every error raises
  // 32760 "Workbook.WriteToPDB" "Could not save workbook '<FullPath>'." with
  // the inner error's text, whatever its number.
  bool OpenFromPDB(std::string_view file);
  void WriteToPDB(std::string_view file);

  // The user's file store: <home><category>\<name>.tbr of that user (the
  // category folder is made when missing). OpenFromUser opens the user's file
  // (OpenFromDisk with cells, no link update) and so binds to it; the file
  // bound before is left where it is. WriteToUser moves the bound file there
  // (SetFullPath) and saves (WriteToDisk, no link push). Errors keep their
  // number and description, source "tabrelpc".
  bool OpenFromUser(std::string_view user, std::string_view category, std::string_view name);
  void WriteToUser(std::string_view user, std::string_view category, std::string_view name);

  // .xls files (workbook_xls.cpp), through the link step's converter and a
  // temporary desktop file (NewWorkbookTempFile) that is removed on every
  // path; without a link step they raise 91. OpenFromXLS converts `xls` into
  // the temporary file, opens that (OpenFromDisk, so the header-only state
  // ends) and sets FullPath back to the path bound before; a failed open
  // leaves the workbook reset and unbound, as OpenFromDisk does. WriteToXLS
  // saves the workbook as it is into the temporary file (WriteToDisk, no link
  // push) and converts that to `xls`; FullPath and the header-only source are
  // set back on every path. Errors keep their number and description, source
  // "tabrelpc".
  bool OpenFromXLS(std::string_view xls);
  bool WriteToXLS(std::string_view xls);

  // The server database object of the RivorOdurov host, late-bound
  // (WriteWorkbookServerDatabase): sets the layouts, parses and sets the
  // version, then sets IsServerSync (it stays unset when one of those three
  // fails) and writes the header as 900 application-info items, one record per
  // cell and the creation time. Errors keep their number and description, source "tabrelpc",
  // and what was passed before stays in the object. Reading back is refused:
  // OpenFromZazerDB raises 0x80040114 "Not implemented." without calling it.
  void WriteToZazerDB(const Variant& zazerDB);
  bool OpenFromZazerDB(const Variant& zazerDB);

 private:
  // The tests reach the model and the link step through WorkbookInternal
  // (sheet/workbook_internal.h).
  friend class WorkbookInternal;

  // Clears FullPath, the header-only state and its source; no file is touched.
  void Unbind();
  // Unbind, and new empty content (ResetWorkbookContent); the header record
  // keeps its values.
  void ResetHeader();
  // The path of a workbook in a user's store (StoreFilePlace; the category
  // folder is made when missing). Refuses an unknown user and category or
  // workbook names that are not plain (empty, "." or "..", or holding a
  // separator or a control character); passes on the errors of the home folder.
  std::string UserFilePath(std::string_view user, std::string_view category, std::string_view name);
  // Replaces the link step; null leaves the workbook without link (opening and
  // saving then leave linked files alone, and the .xls conversions raise 91).
  void SetLinkStep(std::shared_ptr<WorkbookLinkStep> step) { linkStep_ = std::move(step); }

  core::Application& App() const;
  std::string ApplicationTitleOrDefault() const;

  Ref<core::Session> session_;
  Ref<core::Application> application_;
  WorkbookModel model_;
  std::string fullPath_;
  bool headerOnly_ = false;
  // The file whose cell lines a header-only workbook keeps (its source).
  std::string cellSource_;
  std::shared_ptr<WorkbookLinkStep> linkStep_;
};

}  // namespace brevora::sheet
