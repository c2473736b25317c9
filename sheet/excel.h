#pragma once
// Excel as the spreadsheet converter drives it, late-bound through the
// automation layer ("Excel.Application"): which Excel a call uses, the suite's
// add-in for its version, and the Session hand-over around an add-in macro.
// Excel does not exist on Linux: there, taking one fails with 429 and the
// converter reports its own error around it.
//
// A call holds its Excel in an ExcelObject (office/office_object.h, the shape
// the Word and PowerPoint drivers share): the holder hands it back by where it
// came from on every path (a pool entry is released, an Excel the call started
// is quit, one it attached to is left running; office/office_app.h).
//
// Add-in macros are named "<add-in file>!<macro>", the add-in file chosen by
// Excel's major version: "tabrel5.xla" for 5, "tabrel7.xla" for 7,
// "tabrel8.xla" for every other. The ten Session values (office/session_values.h)
// travel only to Excel 8 and later: SetSession takes them by value, GetSession
// fills ten variables by reference, which are then given to the Session.
// Earlier versions exchange nothing and the Session keeps its values.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "office/office_object.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"
#include "platform/automation/variant.h"

namespace brevora::core {
class Session;
}

namespace brevora::sheet::excel {

inline constexpr const char* kProgId = "Excel.Application";

// Excel's Application object and its major version, read on the way in.
using ExcelObject = office::OfficeObject;

// The add-in file of an Excel of this major version.
std::string AddInName(int16_t majorVersion);
// "<add-in file>!<macro>".
std::string MacroName(int16_t majorVersion, std::string_view macro);

// The number at the start of Excel's Version text, as a 16-bit integer. Any
// error: 32760 "SDK.GetExcelVersion" "Cannot get Excel version." around it.
int16_t ExcelVersion(Dispatch& xlApp);

// The running Excel, else a new one. Below version 5: 32760
// "SDK.GetExcelObject" "This API requires Excel 5 or newer."; any other error:
// 32760 "GetExcelObject" "Error getting excel object." around it.
ExcelObject GetExcelObject();
// The Excel lent by the thread's server pool (GetServer, ServerObject); the
// pool's errors are raised as they are (91 when there is no pool).
ExcelObject ExcelFromPool();

// Finds the add-in (Excel's AddIns list: the first item whose Name begins with
// "TABREL", opened from its FullName; else the first "TABREL*" file of
// StartupPath; else <Excel's folder>\XLSTART\<add-in file> from HKEY_CLASSES_ROOT
// "Excel.AddIn\shell\open\command" when that file exists) and opens it with
// Workbooks.Open. None: 32760 "SDK.OpenAddIN" "The Tabulyn add-in is not
// installed. ..."; any other error: 32760 "SDK.OpenAddIn" "Could not open
// TABREL add-in" around it.
void OpenAddIn(const ExcelObject& excel);

// Runs the add-in macro with `args` (by reference: the macro may change them).
Variant RunMacro(const ExcelObject& excel, std::string_view macro, std::span<Variant> args);

// The Session hand-over. Errors: 32760 "SDK.SetXLSession" "Error setting
// session.", "SDK.GetXLSession" "Error getting session.", "SDK.DeleteSession"
// "Error deleting Session." around them.
void SetSession(const ExcelObject& excel, const core::Session& session);
void GetSession(const ExcelObject& excel, core::Session& session);
void DeleteSession(const ExcelObject& excel);

}  // namespace brevora::sheet::excel
