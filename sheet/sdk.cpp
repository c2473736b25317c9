#include "sheet/sdk.h"

#include <string>

#include "core/application.h"
#include "core/session.h"
#include "office/addin_session.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "sheet/excel.h"
#include "sheet/store_path.h"
#include "sheet/workbook.h"

namespace brevora::sheet {

namespace {

const ClassRegistration registration(SDK::kProgId, SDK::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<SDK>()); });

// The failure of a reading step that gave False: nothing below to tell.
[[noreturn]] void ReadingFailed(const char* source, const char* message) {
  RaiseError(kWrapError, source, std::string(message) + "\r\n");
}

}  // namespace

const MemberTable<SDK>& SDK::Members() {
  using M = CallKind;
  static const MemberTable<SDK> table{
      {"XLSToPDB", M::Method, [](SDK& s, Args a) { s.XLSToPDB(CStr(a[0]), CStr(a[1])); }, 2},
      {"PDBToTBR", M::Method,
       [](SDK& s, Args a) { s.PDBToTBR(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"PDBToTBRExt", M::Method, [](SDK& s, Args a) { s.PDBToTBRExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"TBRToPDB", M::Method,
       [](SDK& s, Args a) { s.TBRToPDB(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"TBRToPDBExt", M::Method, [](SDK& s, Args a) { s.TBRToPDBExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"PDBToXLS", M::Method, [](SDK& s, Args a) { s.PDBToXLS(CStr(a[0]), CStr(a[1])); }, 2},
      {"OpenXLSWorkbook", M::Method, [](SDK& s, Args a) { s.OpenXLSWorkbook(CStr(a[0])); }, 1},
      {"OpenWorkbook", M::Method,
       [](SDK& s, Args a) { s.OpenWorkbook(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"RemoveFromUser", M::Method,
       [](SDK& s, Args a) { s.RemoveFromUser(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"SaveWorkbook", M::Method,
       [](SDK& s, Args a) { s.SaveWorkbook(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"Session", M::Set, [](SDK& s, Args a) { s.SetSession(ObjectArg<core::Session>(a[0])); }},
      {"Session", M::Get, [](SDK& s, Args) { return Variant(s.Session()); }},
      {"XLSToTBRExt", M::Method, [](SDK& s, Args a) { s.XLSToTBRExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"TBRToXLSExt", M::Method, [](SDK& s, Args a) { s.TBRToXLSExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"XLSToTBRExt_Sync", M::Method,
       [](SDK& s, Args a) { s.XLSToTBRExtSync(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"TBRToXLSExt_Sync", M::Method,
       [](SDK& s, Args a) { s.TBRToXLSExtSync(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"XLSToTBR", M::Method,
       [](SDK& s, Args a) { s.XLSToTBR(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"TBRToXLS", M::Method,
       [](SDK& s, Args a) { s.TBRToXLS(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"Refresh", M::Method, [](SDK& s, Args) { return Variant(s.Refresh()); }}};
  return table;
}

SDK::SDK() = default;

SDK::~SDK() = default;

void SDK::SetSession(Ref<core::Session> session) {
  if (!session) RaiseRuntimeError(91);
  HoldSession(std::move(session));
}

Ref<Workbook> SDK::NewWorkbook() {
  Ref<Workbook> workbook = MakeRef<Workbook>();
  workbook->SetSession(App().Session());
  return workbook;
}

// ---- In process ----

void SDK::XLSToPDB(std::string_view xlsFile, std::string_view pdbFile) {
  RunWrapped("SDK.XLSToPDB", "Error converting from XLS to PDB.", [&] {
    Ref<Workbook> workbook = NewWorkbook();
    if (!workbook->OpenFromXLS(xlsFile))
      ReadingFailed("SDK.XLSToPDB", "Error converting from XLS to PDB.");
    workbook->WriteToPDB(pdbFile);
  });
}

void SDK::PDBToTBR(std::string_view pdbFile, std::string_view user, std::string_view category,
                   std::string_view workbookName) {
  RunWrapped("SDK.PDBToTBR", "Error converting from PDB to TBR.", [&] {
    Ref<Workbook> workbook = NewWorkbook();
    if (workbook->OpenFromPDB(pdbFile)) workbook->WriteToUser(user, category, workbookName);
  });
}

void SDK::PDBToTBRExt(std::string_view pdbFile, std::string_view tbrFile) {
  RunWrapped("SDK.PDBToTBRExt_Sync", "Error converting from PDB to TBR.", [&] {
    Ref<Workbook> workbook = NewWorkbook();
    if (workbook->OpenFromPDB(pdbFile)) workbook->WriteToDisk(tbrFile, false);
  });
}

void SDK::TBRToPDB(std::string_view user, std::string_view category, std::string_view workbookName,
                   std::string_view pdbFile) {
  RunWrapped("SDK.TBRToPDB", "Error converting from TBR To PDB.", [&] {
    Ref<Workbook> workbook = NewWorkbook();
    if (!workbook->OpenFromUser(user, category, workbookName)) {
      ReadingFailed("SDK.TBRToPDB", "Error converting from TBR To PDB.");
    }
    workbook->WriteToPDB(pdbFile);
  });
}

void SDK::TBRToPDBExt(std::string_view tbrFile, std::string_view pdbFile) {
  RunWrapped("SDK.TBRToPDBExt_Sync", "Error converting from TBR to PDB.", [&] {
    Ref<Workbook> workbook = NewWorkbook();
    if (workbook->OpenFromDisk(tbrFile, true)) workbook->WriteToPDB(pdbFile);
  });
}

void SDK::PDBToXLS(std::string_view pdbFile, std::string_view xlsFile) {
  RunWrapped("SDK.PDBToXLS", "Error converting from PDB To XLS.", [&] {
    Ref<Workbook> workbook = NewWorkbook();
    if (workbook->OpenFromPDB(pdbFile)) workbook->WriteToXLS(xlsFile);
  });
}

// ---- Excel for the user ----

void SDK::OpenXLSWorkbook(std::string_view file) {
  RunWrapped("SDK.OpenXLSWorkbook", "Error opening workbook.", [&] {
    excel::ExcelObject xl = excel::GetExcelObject();
    excel::OpenAddIn(xl);
    const Variant workbooks = CallByName(xl.app, "Workbooks", CallKind::Get);
    CallByName(ObjectOf(workbooks), "Open", CallKind::Method, file);
    CallByName(xl.app, "Visible", CallKind::Let, true);
    xl.holder.LeaveRunning();
  });
}

void SDK::RunStoreMacro(std::string_view macro, std::string_view user, std::string_view category,
                        std::string_view workbook) {
  core::Application& app = App();
  core::Session& session = OperationSession();
  excel::ExcelObject xl = excel::GetExcelObject();
  excel::OpenAddIn(xl);
  if (!user.empty()) app.SetCurrentUser(user);
  office::ClearErrorSlot(session);
  excel::SetSession(xl, session);
  Variant args[] = {Variant(category), Variant(workbook)};
  const bool shown = CBool(excel::RunMacro(xl, macro, args));
  excel::GetSession(xl, session);
  excel::DeleteSession(xl);
  if (shown) {
    CallByName(xl.app, "Visible", CallKind::Let, true);
    xl.holder.LeaveRunning();
  } else {
    // Nothing was shown: an Excel started for this call would stay hidden.
    xl.holder.Release();
  }
  office::RaiseErrorSlot(session);
}

void SDK::OpenWorkbook(std::string_view user, std::string_view category,
                       std::string_view workbook) {
  RunWrapped("SDK.OpenWorkbook", "Error opening workbook.",
             [&] { RunStoreMacro("OpenWorkbook", user, category, workbook); });
}

void SDK::SaveWorkbook(std::string_view user, std::string_view category,
                       std::string_view workbook) {
  RunWrapped("SDK.SaveWorkbook", "Error saving workbook.",
             [&] { RunStoreMacro("SaveWorkbook", user, category, workbook); });
}

void SDK::RemoveFromUser(std::string_view user, std::string_view category,
                         std::string_view workbook) {
  RunWrapped("SDK.RemoveFromUser", "Error removing from user.", [&] {
    const StorePlace place = StoreFilePlace(App(), user, category, workbook, "SDK.RemoveFromUser");
    RemoveStoredFile(place.file);
    Refresh();
  });
}

// ---- Conversions through Excel ----

void SDK::ConvertThroughExcel(std::string_view macro, std::string_view a, std::string_view b,
                              std::string_view c, std::string_view user) {
  core::Application& app = App();
  core::Session& session = OperationSession();
  excel::ExcelObject xl = session.IsServerMode() ? excel::ExcelFromPool() : excel::GetExcelObject();
  excel::OpenAddIn(xl);
  if (!user.empty()) app.SetCurrentUser(user);
  office::ClearErrorSlot(session);
  excel::SetSession(xl, session);
  Variant args[] = {Variant(a), Variant(b), Variant(c)};
  excel::RunMacro(xl, macro, args);
  excel::GetSession(xl, session);
  excel::DeleteSession(xl);
  // Handed back by where it came from, whatever the add-in did to server mode.
  xl.holder.Release();
  office::RaiseErrorSlot(session);
}

void SDK::XLSToTBRExt(std::string_view xls, std::string_view tbr) {
  RunWrapped("SDK.XLSToTBRExt", "Error converting XLS to TBR.",
             [&] { ConvertThroughExcel("XLSToTBRExt", xls, tbr, ""); });
}

void SDK::TBRToXLSExt(std::string_view tbr, std::string_view xls) {
  RunWrapped("SDK.TBRToXLSExt", "Error converting TBR to XLS.",
             [&] { ConvertThroughExcel("TBRToXLSExt", tbr, xls, ""); });
}

void SDK::XLSToTBRExtSync(std::string_view xls, std::string_view tbr, std::string_view link) {
  RunWrapped("SDK.XLSToTBRExt", "Error converting XLS to TBR.",
             [&] { ConvertThroughExcel("XLSToTBRExt", xls, tbr, link); });
}

void SDK::TBRToXLSExtSync(std::string_view tbr, std::string_view xls, std::string_view options) {
  RunWrapped("SDK.TBRToXLSExt_Sync", "Error converting TBR to XLS.",
             [&] { ConvertThroughExcel("TBRToXLSExt", tbr, xls, options); });
}

void SDK::XLSToTBR(std::string_view xls, std::string_view user, std::string_view category,
                   std::string_view workbook) {
  RunWrapped("SDK.XLSToTBR", "Error converting XLS to TBR.",
             [&] { ConvertThroughExcel("XLSToTBR", xls, category, workbook, user); });
}

void SDK::TBRToXLS(std::string_view user, std::string_view category, std::string_view workbook,
                   std::string_view xls) {
  RunWrapped("SDK.TBRToXLS", "Error converting TBR to XLS.",
             [&] { ConvertThroughExcel("TBRToXLS", category, workbook, xls, user); });
}

int32_t SDK::Refresh() {
  RefreshDesktop("SDK.Refresh");
  return 0;
}

}  // namespace brevora::sheet
