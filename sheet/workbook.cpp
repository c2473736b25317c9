#include "sheet/workbook.h"

#include "core/application.h"
#include "core/module_error.h"
#include "core/session.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "sheet/store_path.h"
#include "sheet/workbook_storage.h"
#include "sheet/xls_link.h"

namespace brevora::sheet {

namespace {

const ClassRegistration registration(Workbook::kProgId, Workbook::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<Workbook>()); });

constexpr const char* kLineBreak = "\r\n";

// An optional argument: Missing gives the default.
std::string OptionalText(const Variant& v) { return v.IsMissing() ? std::string() : CStr(v); }
bool OptionalFlag(const Variant& v, bool byDefault) { return v.IsMissing() ? byDefault : CBool(v); }

bool SamePath(std::string_view a, std::string_view b) {
  return fs::NativePath(a) == fs::NativePath(b);
}

}  // namespace

const MemberTable<Workbook>& Workbook::Members() {
  using M = CallKind;
  using W = Workbook;
  namespace f = workbook_flags;
  static const MemberTable<Workbook> table{
      {"Category", M::Let, [](W& w, Args a) { w.SetCategory(CInt(a[0])); }},
      {"Category", M::Get, [](W& w, Args) { return Variant(w.Category()); }},
      {"IsAutoRecalc", M::Let, [](W& w, Args a) { w.SetFlag(f::kIsAutoRecalc, CBool(a[0])); }},
      {"IsAutoRecalc", M::Get, [](W& w, Args) { return Variant(w.Flag(f::kIsAutoRecalc)); }},
      {"IsServerSync", M::Let, [](W& w, Args a) { w.SetFlag(f::kIsServerSync, CBool(a[0])); }},
      {"IsServerSync", M::Get, [](W& w, Args) { return Variant(w.Flag(f::kIsServerSync)); }},
      {"Session", M::Set, [](W& w, Args a) { w.SetSession(ObjectArg<core::Session>(a[0])); }},
      {"Session", M::Get, [](W& w, Args) { return Variant(w.Session()); }},
      {"ShowGridLines", M::Let, [](W& w, Args a) { w.SetFlag(f::kShowGridLines, CBool(a[0])); }},
      {"ShowGridLines", M::Get, [](W& w, Args) { return Variant(w.Flag(f::kShowGridLines)); }},
      {"NeedsRecalc", M::Let, [](W& w, Args a) { w.SetFlag(f::kNeedsRecalc, CBool(a[0])); }},
      {"NeedsRecalc", M::Get, [](W& w, Args) { return Variant(w.Flag(f::kNeedsRecalc)); }},
      {"IsCopyFormulasToClipboard", M::Let,
       [](W& w, Args a) { w.SetFlag(f::kIsCopyFormulasToClipboard, CBool(a[0])); }},
      {"IsCopyFormulasToClipboard", M::Get,
       [](W& w, Args) { return Variant(w.Flag(f::kIsCopyFormulasToClipboard)); }},
      {"IsTemplate", M::Let, [](W& w, Args a) { w.SetFlag(f::kIsTemplate, CBool(a[0])); }},
      {"IsTemplate", M::Get, [](W& w, Args) { return Variant(w.Flag(f::kIsTemplate)); }},
      {"IsPrivate", M::Let, [](W& w, Args a) { w.SetFlag(f::kIsPrivate, CBool(a[0])); }},
      {"IsPrivate", M::Get, [](W& w, Args) { return Variant(w.Flag(f::kIsPrivate)); }},
      {"IsProtected", M::Let, [](W& w, Args a) { w.SetFlag(f::kIsProtected, CBool(a[0])); }},
      {"IsProtected", M::Get, [](W& w, Args) { return Variant(w.Flag(f::kIsProtected)); }},
      {"IsOnEnterMoveDown", M::Let,
       [](W& w, Args a) { w.SetFlag(f::kIsOnEnterMoveDown, CBool(a[0])); }},
      {"IsOnEnterMoveDown", M::Get,
       [](W& w, Args) { return Variant(w.Flag(f::kIsOnEnterMoveDown)); }},
      {"CurrentSheet", M::Let, [](W& w, Args a) { w.SetCurrentSheet(CInt(a[0])); }},
      {"CurrentSheet", M::Get, [](W& w, Args) { return Variant(w.CurrentSheet()); }},
      {"IsModified", M::Let, [](W& w, Args a) { w.SetIsModified(CBool(a[0])); }},
      {"IsModified", M::Get, [](W& w, Args) { return Variant(w.IsModified()); }},
      {"Properties", M::Let, [](W& w, Args a) { w.SetProperties(CDbl(a[0])); }},
      {"Properties", M::Get, [](W& w, Args) { return Variant(w.Properties()); }},
      {"CurrencyCharacter", M::Let, [](W& w, Args a) { w.SetCurrencyCharacter(CStr(a[0])); }},
      {"CurrencyCharacter", M::Get, [](W& w, Args) { return Variant(w.CurrencyCharacter()); }},
      {"DefaultStyle", M::Set,
       [](W& w, Args a) { w.SetDefaultStyle(ObjectOrNothing<CellFormat>(a[0])); }},
      {"DefaultStyle", M::Get, [](W& w, Args) { return Variant(w.DefaultStyleRef()); }},
      {"Version", M::Let, [](W& w, Args a) { w.SetVersion(CInt(a[0])); }},
      {"Version", M::Get, [](W& w, Args) { return Variant(w.Version()); }},
      {"Sheets", M::Set, [](W& w, Args a) { w.SetSheets(ObjectOrNothing<SheetCollection>(a[0])); }},
      {"Sheets", M::Get, [](W& w, Args) { return Variant(w.SheetsRef()); }},
      {"Styles", M::Set,
       [](W& w, Args a) { w.SetStyles(ObjectOrNothing<NamedStyleCollection>(a[0])); }},
      {"Styles", M::Get, [](W& w, Args) { return Variant(w.StylesRef()); }},
      {"SyncMethodText", M::Method, [](W& w, Args) { return Variant(w.SyncMethodText()); }},
      {"SyncMethodFromText", M::Method,
       [](W& w, Args a) { return Variant(w.SyncMethodFromText(CStr(a[0]))); }, 1},
      {"FullPath", M::Get, [](W& w, Args) { return Variant(w.FullPath()); }},
      {"FullPath", M::Let, [](W& w, Args a) { w.SetFullPath(CStr(a[0])); }},
      {"LinkedXLSFileName", M::Get, [](W& w, Args) { return Variant(w.LinkedXLSFileName()); }},
      {"LinkedXLSFileName", M::Let, [](W& w, Args a) { w.SetLinkedXLSFileName(CStr(a[0])); }},
      {"HasLinkedXLSFile", M::Get, [](W& w, Args) { return Variant(w.HasLinkedXLSFile()); }},
      {"LinkedXLSFileModDateTime", M::Get,
       [](W& w, Args) { return Variant(w.LinkedXLSFileModDateTime()); }},
      {"LinkedXLSFileModDateTime", M::Let,
       [](W& w, Args a) { w.SetLinkedXLSFileModDateTime(CDbl(a[0])); }},
      {"LinkedXLSSyncMethod", M::Get, [](W& w, Args) { return Variant(w.LinkedXLSSyncMethod()); }},
      {"LinkedXLSSyncMethod", M::Let, [](W& w, Args a) { w.SetLinkedXLSSyncMethod(CLng(a[0])); }},
      {"LinkedXLSSyncOption", M::Get, [](W& w, Args) { return Variant(w.LinkedXLSSyncOption()); }},
      {"LinkedXLSSyncOption", M::Let, [](W& w, Args a) { w.SetLinkedXLSSyncOption(CLng(a[0])); }},
      {"OpenFromZazerDB", M::Method, [](W& w, Args a) { return Variant(w.OpenFromZazerDB(a[0])); },
       1},
      {"WriteToZazerDB", M::Method, [](W& w, Args a) { w.WriteToZazerDB(a[0]); }, 1},
      {"InitFromTBR", M::Method, [](W& w, Args a) { return Variant(w.InitFromTBR(CStr(a[0]))); },
       1},
      {"InitFromDefaults", M::Method, [](W& w, Args) { return Variant(w.InitFromDefaults()); }},
      {"OpenFromUser", M::Method,
       [](W& w, Args a) { return Variant(w.OpenFromUser(CStr(a[0]), CStr(a[1]), CStr(a[2]))); }, 3},
      {"OpenFromXLS", M::Method, [](W& w, Args a) { return Variant(w.OpenFromXLS(CStr(a[0]))); },
       1},
      {"WriteToXLS", M::Method, [](W& w, Args a) { return Variant(w.WriteToXLS(CStr(a[0]))); }, 1},
      {"WriteToPDB", M::Method, [](W& w, Args a) { w.WriteToPDB(CStr(a[0])); }, 1},
      {"OpenFromPDB", M::Method, [](W& w, Args a) { return Variant(w.OpenFromPDB(CStr(a[0]))); },
       1},
      {"OpenFromDisk", M::Method,
       [](W& w, Args a) {
         return Variant(w.OpenFromDisk(OptionalText(a[0]), OptionalFlag(a[1], true),
                                       OptionalFlag(a[2], false)));
       },
       0, 3},
      {"WriteToUser", M::Method,
       [](W& w, Args a) { w.WriteToUser(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"WriteToDisk", M::Method,
       [](W& w, Args a) { w.WriteToDisk(OptionalText(a[0]), OptionalFlag(a[1], false)); }, 0, 2},
      {"CloseWorkbook", M::Method, [](W& w, Args) { w.CloseWorkbook(); }}};
  return table;
}

Workbook::Workbook() : linkStep_(std::make_shared<XlsLink>()) {
  ResetWorkbookContent(model_);
  application_ = core::NewApplication();
}

Workbook::~Workbook() {
  // The content goes before the application object and the Session.
  model_.sheets.Reset();
  model_.styles.Reset();
  model_.defaultStyle.Reset();
  application_.Reset();
  session_.Reset();
}

void Workbook::Unbind() {
  fullPath_.clear();
  headerOnly_ = false;
  cellSource_.clear();
}

void Workbook::ResetHeader() {
  Unbind();
  ResetWorkbookContent(model_);
}

void Workbook::SetSession(Ref<core::Session> session) {
  if (!session) RaiseRuntimeError(91);
  application_ = session->GetTabrelPC();
  session_ = std::move(session);
}

core::Application& Workbook::App() const {
  if (!application_) RaiseRuntimeError(91);
  return *application_;
}

std::string Workbook::ApplicationTitleOrDefault() const {
  try {
    return App().ApplicationTitle();
  } catch (const AutomationError&) {
    return "Brevora Desktop";
  }
}

// ---- Binding ----

void Workbook::SetFullPath(std::string path) {
  if (!path.empty() && !fullPath_.empty() && !SamePath(fullPath_, path) &&
      fs::FileExists(fullPath_)) {
    try {
      fs::RenameNoReplace(fullPath_, path);
    } catch (...) {
      const AutomationError e = CurrentError();
      const std::string title = ApplicationTitleOrDefault();
      throw WrapAlways(
          e, "SDK.Fullpath",
          "Could not rename workbook " + title + ".  Please close and reopen  " + title + ".");
    }
    if (cellSource_ == fullPath_) cellSource_ = path;
  }
  fullPath_ = std::move(path);
}

void Workbook::CloseWorkbook() { fullPath_.clear(); }

// ---- Whole workbooks ----

bool Workbook::InitFromDefaults() {
  Unbind();
  InitWorkbookDefaults(model_);
  return true;
}

bool Workbook::OpenFromDisk(std::string_view fileView, bool readCells, bool updateFromLink) {
  const std::string file(fileView);  // the view may be of fullPath_ itself
  try {
    const std::string remembered = fullPath_;
    Unbind();
    fullPath_ = file.empty() ? remembered : file;
    std::function<bool(WorkbookHeader&)> relinked;
    if (updateFromLink && linkStep_) {
      relinked = [this](WorkbookHeader& header) {
        return linkStep_->CheckLinkUpdate(*this, header, true);
      };
    }
    ReadWorkbookFile(fullPath_, readCells, model_, relinked);
    if (!readCells) {
      headerOnly_ = true;
      cellSource_ = fullPath_;
    }
    return true;
  } catch (...) {
    const AutomationError e = CurrentError();
    // Nothing half-read stays, and nothing stays bound: a later save cannot
    // replace the file with what was read of it.
    ResetHeader();
    throw WrapAlways(e, "Workbook.OpenFromDisk", "Could not open workbook '" + file + "'.");
  }
}

void Workbook::WriteToDisk(std::string_view fileView, bool updateLink) {
  const std::string file(fileView);  // the view may be of fullPath_ itself
  try {
    if (!file.empty()) fullPath_ = file;
    if (fullPath_.empty())
      core::RaiseModuleError(264, "Please name the workbook before saving it.");
    if (headerOnly_) {
      PrepareWorkbookFileHeader(model_);
      UpdateHeader();
      return;
    }
    WriteWorkbookFile(model_, fullPath_);
    if (updateLink && linkStep_ && linkStep_->CheckLinkUpdate(*this, model_.header, false)) {
      // The push renewed the link time: the file gets it too, or the next open
      // would take the .xls for newer and convert it back for nothing.
      cellSource_ = fullPath_;
      UpdateHeader();
    }
  } catch (...) {
    throw WrapAlways(CurrentError(), "Workbook.WriteToDisk",
                     "Could not save workbook '" + fullPath_ + "'.");
  }
}

void Workbook::UpdateHeader() {
  RewriteWorkbookFileHeader(model_, cellSource_.empty() ? fullPath_ : cellSource_, fullPath_);
  cellSource_ = fullPath_;
}

bool Workbook::InitFromTBR(std::string_view fileView) {
  const std::string file(fileView);  // the view may be of fullPath_ itself
  try {
    Unbind();
    ReadWorkbookTemplate(file, model_);
    return true;
  } catch (...) {
    const AutomationError e = CurrentError();
    ResetHeader();
    throw WrapAlways(e, "Workbook.InitfromTBR", "Could not open workbook '" + file + "'.");
  }
}

bool Workbook::OpenFromPDB(std::string_view fileView) {
  const std::string file(fileView);  // the view may be of fullPath_ itself
  Unbind();
  ReadWorkbookDatabase(file, model_);
  return true;
}

void Workbook::WriteToPDB(std::string_view file) {
  try {
    WriteWorkbookDatabase(model_, file);
  } catch (...) {
    const AutomationError e = CurrentError();
    throw AutomationError(
        kWrapError, "Workbook.WriteToPDB",
        "Could not save workbook '" + fullPath_ + "'." + kLineBreak + e.description());
  }
}

void Workbook::WriteToZazerDB(const Variant& zazerDB) {
  WriteWorkbookServerDatabase(model_, zazerDB);
}

bool Workbook::OpenFromZazerDB(const Variant& zazerDB) {
  ReadWorkbookServerDatabase(zazerDB, model_);
}

// ---- The user's file store ----

std::string Workbook::UserFilePath(std::string_view user, std::string_view category,
                                   std::string_view name) {
  const StorePlace place = StoreFilePlace(App(), user, category, name, "Workbook.UserFilePath");
  if (!fs::FolderExists(place.folder)) fs::MakeFolder(place.folder);
  return place.file;
}

bool Workbook::OpenFromUser(std::string_view user, std::string_view category,
                            std::string_view name) {
  try {
    // The bound file stays where it is: only the binding changes.
    return OpenFromDisk(UserFilePath(user, category, name), true, false);
  } catch (...) {
    const AutomationError e = CurrentError();
    throw AutomationError(e.number(), "tabrelpc", e.description());
  }
}

void Workbook::WriteToUser(std::string_view user, std::string_view category,
                           std::string_view name) {
  try {
    SetFullPath(UserFilePath(user, category, name));
    WriteToDisk({}, false);
  } catch (...) {
    const AutomationError e = CurrentError();
    throw AutomationError(e.number(), "tabrelpc", e.description());
  }
}

}  // namespace brevora::sheet
