#include "sheet/workbook.h"

#include "core/application.h"
#include "core/module_error.h"
#include "core/session.h"
#include "core/temp_file.h"
#include "core/text_cleanup.h"
#include "office/link_settings.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "sheet/format_word.h"
#include "sheet/store_path.h"
#include "sheet/xls_link.h"

namespace brevora::sheet {

namespace {

namespace flags = workbook_flags;

const ClassRegistration registration(Workbook::kProgId, Workbook::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<Workbook>()); });

constexpr office::LinkSettings kXlsLink{"XLS", "Tabulyn - Workbook"};

// An optional argument: Missing gives the default.
std::string OptionalText(const Variant& v) { return v.IsMissing() ? std::string() : CStr(v); }
bool OptionalFlag(const Variant& v, bool byDefault) { return v.IsMissing() ? byDefault : CBool(v); }

bool SamePath(std::string_view a, std::string_view b) { return fs::NativePath(a) == fs::NativePath(b); }

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
      {"IsOnEnterMoveDown", M::Let, [](W& w, Args a) { w.SetFlag(f::kIsOnEnterMoveDown, CBool(a[0])); }},
      {"IsOnEnterMoveDown", M::Get, [](W& w, Args) { return Variant(w.Flag(f::kIsOnEnterMoveDown)); }},
      {"CurrentSheet", M::Let, [](W& w, Args a) { w.SetCurrentSheet(CInt(a[0])); }},
      {"CurrentSheet", M::Get, [](W& w, Args) { return Variant(w.CurrentSheet()); }},
      {"IsModified", M::Let, [](W& w, Args a) { w.SetIsModified(CBool(a[0])); }},
      {"IsModified", M::Get, [](W& w, Args) { return Variant(w.IsModified()); }},
      {"Properties", M::Let, [](W& w, Args a) { w.SetProperties(CDbl(a[0])); }},
      {"Properties", M::Get, [](W& w, Args) { return Variant(w.Properties()); }},
      {"CurrencyCharacter", M::Let, [](W& w, Args a) { w.SetCurrencyCharacter(CStr(a[0])); }},
      {"CurrencyCharacter", M::Get, [](W& w, Args) { return Variant(w.CurrencyCharacter()); }},
      {"DefaultStyle", M::Set, [](W& w, Args a) { w.SetDefaultStyle(ObjectOrNothing<CellFormat>(a[0])); }},
      {"DefaultStyle", M::Get, [](W& w, Args) { return Variant(w.DefaultStyleRef()); }},
      {"Version", M::Let, [](W& w, Args a) { w.SetVersion(CInt(a[0])); }},
      {"Version", M::Get, [](W& w, Args) { return Variant(w.Version()); }},
      {"Sheets", M::Set, [](W& w, Args a) { w.SetSheets(ObjectOrNothing<SheetCollection>(a[0])); }},
      {"Sheets", M::Get, [](W& w, Args) { return Variant(w.SheetsRef()); }},
      {"Styles", M::Set, [](W& w, Args a) { w.SetStyles(ObjectOrNothing<NamedStyleCollection>(a[0])); }},
      {"Styles", M::Get, [](W& w, Args) { return Variant(w.StylesRef()); }},
      {"SyncMethodText", M::Method, [](W& w, Args) { return Variant(w.SyncMethodText()); }},
      {"SyncMethodFromText", M::Method,
       [](W& w, Args a) { return Variant(w.SyncMethodFromText(CStr(a[0]))); }, 1},
      {"FullPath", M::Get, [](W& w, Args) { return Variant(w.FullPath()); }},
      {"FullPath", M::Let, [](W& w, Args a) { w.SetFullPath(CStr(a[0])); }},
      {"LinkedXLSFileName", M::Get, [](W& w, Args) { return Variant(w.LinkedXLSFileName()); }},
      {"LinkedXLSFileName", M::Let, [](W& w, Args a) { w.SetLinkedXLSFileName(CStr(a[0])); }},
      {"HasLinkedXLSFile", M::Get, [](W& w, Args) { return Variant(w.HasLinkedXLSFile()); }},
      {"LinkedXLSFileModDateTime", M::Get, [](W& w, Args) { return Variant(w.LinkedXLSFileModDateTime()); }},
      {"LinkedXLSFileModDateTime", M::Let, [](W& w, Args a) { w.SetLinkedXLSFileModDateTime(CDbl(a[0])); }},
      {"LinkedXLSSyncMethod", M::Get, [](W& w, Args) { return Variant(w.LinkedXLSSyncMethod()); }},
      {"LinkedXLSSyncMethod", M::Let, [](W& w, Args a) { w.SetLinkedXLSSyncMethod(CLng(a[0])); }},
      {"LinkedXLSSyncOption", M::Get, [](W& w, Args) { return Variant(w.LinkedXLSSyncOption()); }},
      {"LinkedXLSSyncOption", M::Let, [](W& w, Args a) { w.SetLinkedXLSSyncOption(CLng(a[0])); }},
      {"OpenFromZazerDB", M::Method, [](W& w, Args a) { return Variant(w.OpenFromZazerDB(a[0])); }, 1},
      {"WriteToZazerDB", M::Method, [](W& w, Args a) { w.WriteToZazerDB(a[0]); }, 1},
      {"InitFromTBR", M::Method, [](W& w, Args a) { return Variant(w.InitFromTBR(CStr(a[0]))); }, 1},
      {"InitFromDefaults", M::Method, [](W& w, Args) { return Variant(w.InitFromDefaults()); }},
      {"OpenFromUser", M::Method,
       [](W& w, Args a) { return Variant(w.OpenFromUser(CStr(a[0]), CStr(a[1]), CStr(a[2]))); }, 3},
      {"OpenFromXLS", M::Method, [](W& w, Args a) { return Variant(w.OpenFromXLS(CStr(a[0]))); }, 1},
      {"WriteToXLS", M::Method, [](W& w, Args a) { return Variant(w.WriteToXLS(CStr(a[0]))); }, 1},
      {"WriteToPDB", M::Method, [](W& w, Args a) { w.WriteToPDB(CStr(a[0])); }, 1},
      {"OpenFromPDB", M::Method, [](W& w, Args a) { return Variant(w.OpenFromPDB(CStr(a[0]))); }, 1},
      {"OpenFromDisk", M::Method,
       [](W& w, Args a) {
         return Variant(w.OpenFromDisk(OptionalText(a[0]), OptionalFlag(a[1], true), OptionalFlag(a[2], false)));
       },
       0, 3},
      {"WriteToUser", M::Method, [](W& w, Args a) { w.WriteToUser(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"WriteToDisk", M::Method,
       [](W& w, Args a) { w.WriteToDisk(OptionalText(a[0]), OptionalFlag(a[1], false)); }, 0, 2},
      {"CloseWorkbook", M::Method, [](W& w, Args) { w.CloseWorkbook(); }}};
  return table;
}

Workbook::Workbook() : linkStep_(std::make_shared<XlsLink>()) { InitObjects(true); }

Workbook::~Workbook() { ReleaseObjects(true); }

void Workbook::InitObjects(bool full) {
  sheets_ = MakeRef<SheetCollection>();
  styles_ = MakeRef<NamedStyleCollection>();
  defaultStyle_ = MakeRef<CellFormat>();
  version_ = kVersion;
  isModified_ = false;
  headerOnly_ = false;
  cellSource_.clear();
  if (full) application_ = core::NewApplication();
}

void Workbook::ReleaseObjects(bool full) {
  CloseWorkbook();
  sheets_.Reset();
  styles_.Reset();
  defaultStyle_.Reset();
  if (full) {
    application_.Reset();
    session_.Reset();
  }
}

void Workbook::ResetHeader() {
  ReleaseObjects(false);
  InitObjects(false);
}

bool Workbook::Flag(uint32_t bit) const { return HasBits(properties_, bit); }

void Workbook::SetFlag(uint32_t bit, bool on) { properties_ = sheet::SetFlag(properties_, bit, on); }

void Workbook::SetCurrentSheet(int32_t sheet) {
  if (!sheets_) core::RaiseModuleError(263, "Create the sheets collection before setting any sheet properties.");
  if (sheet > sheets_->Count()) core::RaiseModuleError(261, "This sheet number doesn't exist.");
  currentSheet_ = static_cast<int16_t>(sheet);
}

void Workbook::SetSession(Ref<core::Session> session) {
  if (!session) RaiseRuntimeError(91);
  application_ = session->GetTabrelPC();
  session_ = std::move(session);
}

SheetCollection& Workbook::Sheets() const {
  if (!sheets_) RaiseRuntimeError(91);
  return *sheets_;
}

NamedStyleCollection& Workbook::Styles() const {
  if (!styles_) RaiseRuntimeError(91);
  return *styles_;
}

CellFormat& Workbook::DefaultStyle() const {
  if (!defaultStyle_) RaiseRuntimeError(91);
  return *defaultStyle_;
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

// ---- Link settings ----

void Workbook::SetLinkedXLSFileName(std::string name) {
  header_.LinkedFileName = std::move(name);
  if (header_.LinkedFileName.empty()) {
    header_.LinkedFileTime = 0;
    header_.SyncMethod = 0;
    header_.SyncOption = 0;
  }
}

bool Workbook::HasLinkedXLSFile() const { return !core::Trim(header_.LinkedFileName).empty(); }

void Workbook::SetLinkedXLSSyncMethod(int32_t method) {
  kXlsLink.CheckSyncValue(method, "syncMethod");
  header_.SyncMethod = static_cast<int16_t>(method);
}

void Workbook::SetLinkedXLSSyncOption(int32_t option) {
  kXlsLink.CheckSyncValue(option, "syncOption");
  header_.SyncOption = static_cast<int16_t>(option);
}

std::string Workbook::SyncMethodText() const { return kXlsLink.SyncMethodText(header_.SyncMethod); }

int16_t Workbook::SyncMethodFromText(std::string_view text) const { return kXlsLink.SyncMethodFromText(text); }

// ---- Binding ----

void Workbook::SetFullPath(std::string path) {
  if (!path.empty() && !fullPath_.empty() && !SamePath(fullPath_, path) && fs::FileExists(fullPath_)) {
    try {
      fs::RenameNoReplace(fullPath_, path);
    } catch (...) {
      const AutomationError e = CurrentError();
      const std::string title = ApplicationTitleOrDefault();
      throw WrapAlways(e, "SDK.Fullpath",
                       "Could not rename workbook " + title + ".  Please close and reopen  " + title + ".");
    }
    if (cellSource_ == fullPath_) cellSource_ = path;
  }
  fullPath_ = std::move(path);
}

void Workbook::CloseWorkbook() { fullPath_.clear(); }

// ---- Header record and objects ----

bool Workbook::InitFromDefaults() {
  ResetHeader();
  DefaultHeader(header_);
  HeaderToObjects(header_);
  // The default flags stay 4118: a new workbook's file carries exactly the
  // default flags word (needs-recalc clear), as files made by other versions do.
  isModified_ = true;
  return true;
}

void Workbook::HeaderToObjects(const WorkbookHeader& header) {
  try {
    SetLinkedXLSSyncMethod(header.SyncMethod);
    SetLinkedXLSFileName(header.LinkedFileName);
    SetLinkedXLSFileModDateTime(header.LinkedFileTime);
    SetLinkedXLSSyncOption(header.SyncOption);
    for (int16_t i = 1; i < header.SheetCount; ++i) {
      if (i >= static_cast<int16_t>(kSheetEntries)) RaiseRuntimeError(9);
      const std::string& name = header.SheetNames[static_cast<size_t>(i)];
      try {
        Sheets().Add(name);
      } catch (const AutomationError& e) {
        // Two stored names alike (a handheld database keeps 15 characters of
        // each): refused, naming the sheet, rather than merged into one.
        if (e.number() != 457) throw;
        RaiseError(457, e.source(), "The workbook has two sheets named '" + name + "'.");
      }
    }
    DefaultStyle().SetRaw(header.DefaultFormat);
    SetCurrentSheet(header.CurrentSheet);
    SetProperties(header.Properties);
    SetHeaderExtra(DoubleToInteger(header.Extra));
    SetCurrencyCharacter(header.Currency);
    for (size_t k = 0; k < kLoadedStyleSlots; ++k) {
      const StyleSlot& slot = header.Styles[k];
      if (slot.Name.empty()) continue;
      try {
        Styles().Add(slot.Name).Format().SetRaw(slot.Format);
      } catch (const AutomationError&) {
        // A style that cannot be added (duplicate, too long, too many) is left out.
      }
    }
    for (int16_t i = 1; i < header.SheetCount; ++i) {
      const SheetParamsEntry& p = header.SheetParams[static_cast<size_t>(i)];
      Sheet& sheet = Sheets().Item(static_cast<int32_t>(i));
      for (size_t j = 0; j < kHeaderWidths; ++j) sheet.SetColumnWidths(static_cast<int32_t>(j), p.ColumnWidths[j]);
      sheet.SetFrozenCells(p.Frozen[0], p.Frozen[1], p.Frozen[2], p.Frozen[3]);
      sheet.SetCurrentCell(p.Current[0], p.Current[1], p.Current[2], p.Current[3]);
    }
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.HeaderToObjects", "Error in Header to objects.");
  }
}

void Workbook::HeaderFromObjects(WorkbookHeader& header) {
  header.SyncMethod = header_.SyncMethod;
  header.LinkedFileName = header_.LinkedFileName;
  header.LinkedFileTime = header_.LinkedFileTime;
  header.SyncOption = header_.SyncOption;
  header.DefaultFormat = DefaultStyle().Raw();
  if (currentSheet_ > Sheets().Count() || currentSheet_ < 1) SetCurrentSheet(1);
  header.CurrentSheet = currentSheet_;
  header.Properties = properties_;
  header.Extra = headerExtra_;
  header.Currency = currency_;
  const int32_t styleCount = Styles().Count();
  for (int32_t k = 1; k <= styleCount; ++k) {
    NamedStyle& style = Styles().Item(k);
    header.Styles[static_cast<size_t>(k - 1)] = {style.Format().Raw(), style.name()};
  }
  for (size_t k = static_cast<size_t>(styleCount); k < kStyleSlots - 1; ++k) header.Styles[k] = {0, ""};
  header.Styles[kStyleSlots - 1] = {0, kEditStylesSlot};
  header.SheetNames[0] = kClipboardSheet;
  const int32_t sheetCount = Sheets().Count();
  for (int32_t i = 1; i <= sheetCount; ++i) {
    if (i >= static_cast<int32_t>(kSheetEntries)) RaiseRuntimeError(9);
    Sheet& sheet = Sheets().Item(i);
    SheetParamsEntry& p = header.SheetParams[static_cast<size_t>(i)];
    header.SheetNames[static_cast<size_t>(i)] = sheet.name();
    for (size_t j = 0; j < kHeaderWidths; ++j) p.ColumnWidths[j] = sheet.ColumnWidths(static_cast<int32_t>(j));
    p.Frozen = sheet.FrozenCells();
    p.Current = sheet.CurrentCell();
    p.OverflowColumn = FirstOverflowColumn(sheet);
    p.Fixed47 = kFixed47;
  }
  header.SheetCount = static_cast<int16_t>(sheetCount + 1);
}

int16_t Workbook::FirstOverflowColumn(const Sheet& sheet) {
  int32_t sum = 0;
  for (int16_t c = 1; c <= Sheet::kLastColumnIndex; ++c) {
    sum += sheet.ColumnWidths(c);
    if (sum > 156) return c;
  }
  return 0;
}

// ---- The user's file store ----

std::string Workbook::UserFilePath(std::string_view user, std::string_view category, std::string_view name) {
  const StorePlace place = StoreFilePlace(App(), user, category, name, "Workbook.UserFilePath");
  if (!fs::FolderExists(place.folder)) fs::MakeFolder(place.folder);
  return place.file;
}

bool Workbook::OpenFromUser(std::string_view user, std::string_view category, std::string_view name) {
  try {
    // The bound file stays where it is: only the binding changes.
    return OpenFromDisk(UserFilePath(user, category, name), true, false);
  } catch (...) {
    const AutomationError e = CurrentError();
    throw AutomationError(e.number(), "tabrelpc", e.description());
  }
}

void Workbook::WriteToUser(std::string_view user, std::string_view category, std::string_view name) {
  try {
    SetFullPath(UserFilePath(user, category, name));
    WriteToDisk({}, false);
  } catch (...) {
    const AutomationError e = CurrentError();
    throw AutomationError(e.number(), "tabrelpc", e.description());
  }
}

std::string Workbook::GetTempFile() {
  return core::GetTempFile("tbr", "Workbook.GetTempFile", "Could not get temp file.");
}

}  // namespace brevora::sheet
