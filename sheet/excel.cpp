#include "sheet/excel.h"

#include <array>
#include <vector>

#include "core/session.h"
#include "office/addin_session.h"
#include "office/office_addin.h"
#include "office/session_values.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora::sheet::excel {

namespace {

constexpr int16_t kOldestExcel = 5;
constexpr int16_t kFirstSessionExcel = 8;

}  // namespace

std::string AddInName(int16_t majorVersion) {
  switch (majorVersion) {
    case 5:
      return "tabrel5.xla";
    case 7:
      return "tabrel7.xla";
    default:
      return "tabrel8.xla";
  }
}

std::string MacroName(int16_t majorVersion, std::string_view macro) {
  return AddInName(majorVersion) + "!" + std::string(macro);
}

int16_t ExcelVersion(Dispatch& xlApp) {
  return RunWrappedAlways("SDK.GetExcelVersion", "Cannot get Excel version.", [&] {
    return DoubleToInteger(
        office::LeadingNumber(CStr(CallByName(xlApp, "Version", CallKind::Get))));
  });
}

ExcelObject GetExcelObject() {
  return RunWrapped("GetExcelObject", "Error getting excel object.", [] {
    ExcelObject excel{office::AcquireOfficeApplication(kProgId, false), nullptr, 0};
    excel.app =
        Ref<Dispatch>(&ObjectOf(CallByName(excel.holder.App(), "Application", CallKind::Get)));
    excel.version = ExcelVersion(*excel.app);
    if (excel.version < kOldestExcel) {
      RaiseError(kWrapError, "SDK.GetExcelObject", "This API requires Excel 5 or newer.");
    }
    return excel;
  });
}

ExcelObject ExcelFromPool() {
  ExcelObject excel{office::AcquireOfficeApplication(kProgId, true), nullptr, 0};
  excel.app = excel.holder.App();
  excel.version = ExcelVersion(*excel.app);
  return excel;
}

void OpenAddIn(const ExcelObject& excel) {
  RunWrapped("SDK.OpenAddIn", "Could not open TABREL add-in", [&] {
    const office::OfficeAddInSearch search{
        "TABREL",      "StartupPath", "Excel.AddIn\\shell\\open\\command",
        "\\excel.exe", "\\XLSTART",   [&] { return AddInName(excel.version); }};
    const office::OfficeAddIn found = office::FindOfficeAddIn(*excel.app, search);
    std::string path;
    switch (found.place) {
      case office::OfficeAddInPlace::Listed:
        path = CStr(CallByName(found.entry, "FullName", CallKind::Get));
        break;
      case office::OfficeAddInPlace::Folder:
      case office::OfficeAddInPlace::Registry:
        path = found.path;
        break;
      case office::OfficeAddInPlace::NotFound:
        RaiseError(
            kWrapError, "SDK.OpenAddIN",
            "The Tabulyn add-in is not installed.  Please install the Tabulyn add-in using Excel / "
            "Tools | Add-Ins to load TABREL(5)(7)(8).XLA prior to using this function.");
    }
    const Variant workbooks = CallByName(excel.app, "Workbooks", CallKind::Get);
    CallByName(ObjectOf(workbooks), "Open", CallKind::Method, path);
  });
}

Variant RunMacro(const ExcelObject& excel, std::string_view macro, std::span<Variant> args) {
  if (!excel.app) RaiseRuntimeError(91);
  std::vector<Variant> run;
  run.reserve(args.size() + 1);
  run.emplace_back(MacroName(excel.version, macro));
  run.insert(run.end(), args.begin(), args.end());
  Variant result = excel.app->Invoke("Run", CallKind::Method, Args(run));
  std::move(run.begin() + 1, run.end(), args.begin());  // what the macro gave back
  return result;
}

void SetSession(const ExcelObject& excel, const core::Session& session) {
  RunWrapped("SDK.SetXLSession", "Error setting session.", [&] {
    if (excel.version < kFirstSessionExcel) return;
    std::array<Variant, office::kSessionValueCount> values = office::GetSessionValues(session);
    RunMacro(excel, "SetSession", values);
  });
}

void GetSession(const ExcelObject& excel, core::Session& session) {
  RunWrapped("SDK.GetXLSession", "Error getting session.", [&] {
    // An add-in that does not run GetSession has nothing to give back: the
    // Session keeps its values rather than being emptied for the whole thread.
    if (excel.version < kFirstSessionExcel) return;
    std::array<Variant, office::kSessionValueCount> values = {
        Variant(false), Variant(""), Variant(int16_t{0}), Variant(int32_t{0}), Variant(""),
        Variant(""),    Variant(""), Variant(""),         Variant(""),         Variant(int32_t{0})};
    RunMacro(excel, "GetSession", values);
    office::SetSessionValues(session, values);
  });
}

void DeleteSession(const ExcelObject& excel) {
  RunWrapped("SDK.DeleteSession", "Error deleting Session.", [&] {
    if (!excel.app) RaiseRuntimeError(91);
    ExcelVersion(*excel.app);
  });
}

}  // namespace brevora::sheet::excel
