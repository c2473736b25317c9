#pragma once
// SDK ("TabulynPC.SDK"): the spreadsheet converter. It converts between a
// handheld spreadsheet database file, a desktop workbook file (.tbr) at a path,
// a workbook of a user's file store (user, category, name) and an .xls file.
// Conversions without .xls run in process through a Workbook; the .xls ones
// run inside Excel, through the suite's Excel add-in, whose macros do the work
// (sheet/excel.h): the converter gets Excel, opens the add-in, hands the
// Session's values to it, runs the conversion macro on the file names, takes
// the values back, hands Excel back and raises what the add-in left in the
// Session's error slot (cleared before the add-in runs).
//
// The spreadsheet conduit creates it by ProgID and calls XLSToTBRExt_Sync,
// TBRToXLSExt_Sync (three strings each) and Refresh late-bound; the workbook's
// .xls link (sheet/xls_link.h) uses it natively.
//
// Excel is taken per call: from the server pool in server mode, else a running
// Excel or a new one, and handed back by where it came from on every path,
// failures included: released to the pool, quit when the call started it, left
// running when it was running already. OpenXLSWorkbook, OpenWorkbook and
// SaveWorkbook leave Excel running when they have shown the user a workbook.
//
// Every Session value it reads or writes goes through its application object's
// Session (the application object is made on first need when none was set).
// Failures are raised as 32760 with source "SDK.<member>" and the member's
// message, CR LF and the inner description; an error already numbered 32760
// passes on unchanged.
#include <cstdint>
#include <string_view>

#include "office/converter.h"
#include "platform/automation/member_table.h"

namespace brevora::core {
class Session;
class Application;
}  // namespace brevora::core

namespace brevora::sheet {

class Workbook;

class SDK : public Dispatchable<SDK, office::Converter> {
 public:
  static constexpr const char* kProgId = "TabulynPC.SDK";
  static constexpr const char* kClsid = "{7A41C2E0-5B3D-4F86-9C21-0D8E6B4A3F30}";

  static const MemberTable<SDK>& Members();

  SDK();
  ~SDK() override;

  // Stores the Session and takes the application object it hands out; 91 for none.
  void SetSession(Ref<core::Session> session);

  // ---- In process, through a Workbook ----
  // XLSToPDB and PDBToXLS go through the workbook's .xls conversions.
  // TBRToPDB and XLSToPDB fail when their reading step gives false; the others
  // then write nothing.
  void XLSToPDB(std::string_view xlsFile, std::string_view pdbFile);
  void PDBToTBR(std::string_view pdbFile, std::string_view user, std::string_view category,
                std::string_view workbook);
  void PDBToTBRExt(std::string_view pdbFile, std::string_view tbrFile);
  void TBRToPDB(std::string_view user, std::string_view category, std::string_view workbook,
                std::string_view pdbFile);
  void TBRToPDBExt(std::string_view tbrFile, std::string_view pdbFile);
  void PDBToXLS(std::string_view pdbFile, std::string_view xlsFile);

  // ---- Excel for the user ----
  // Opens `file` in Excel (with the add-in opened) and shows Excel.
  void OpenXLSWorkbook(std::string_view file);
  // The add-in's "OpenWorkbook" / "SaveWorkbook" with (category, workbook) of
  // the user store; when the macro answers True, Excel is shown and left
  // running. An Excel the call started is quit when the macro answers False or
  // the call fails.
  void OpenWorkbook(std::string_view user, std::string_view category, std::string_view workbook);
  void SaveWorkbook(std::string_view user, std::string_view category, std::string_view workbook);
  // Deletes <home><category>\<workbook>.tbr of the user (file mode 0) when it
  // exists (its name in any case), then refreshes the desktop windows. Refuses a user that is not
  // there and names that are empty or hold a separator or "..".
  void RemoveFromUser(std::string_view user, std::string_view category, std::string_view workbook);

  // ---- Conversions through Excel ----
  // Macro "XLSToTBRExt" with (xls, tbr, "") / "TBRToXLSExt" with (tbr, xls, "").
  void XLSToTBRExt(std::string_view xls, std::string_view tbr);
  void TBRToXLSExt(std::string_view tbr, std::string_view xls);
  // The conduit's entries: the same macros with the third argument given.
  void XLSToTBRExtSync(std::string_view xls, std::string_view tbr, std::string_view link);
  void TBRToXLSExtSync(std::string_view tbr, std::string_view xls, std::string_view options);
  // With the user made current first: macro "XLSToTBR" with (xls, category,
  // workbook) / "TBRToXLS" with (category, workbook, xls).
  void XLSToTBR(std::string_view xls, std::string_view user, std::string_view category,
                std::string_view workbook);
  void TBRToXLS(std::string_view user, std::string_view category, std::string_view workbook,
                std::string_view xls);

  // Calls Refresh1 on every open desktop window (office/desktop_windows.h); 0.
  int32_t Refresh();

 private:
  Ref<Workbook> NewWorkbook();
  // The conversion through Excel with the macro's three arguments; `user`
  // made current first when it is not empty.
  void ConvertThroughExcel(std::string_view macro, std::string_view a, std::string_view b,
                           std::string_view c, std::string_view user = {});
  // OpenWorkbook and SaveWorkbook.
  void RunStoreMacro(std::string_view macro, std::string_view user, std::string_view category,
                     std::string_view workbook);
};

}  // namespace brevora::sheet
