#pragma once
// XlsLink: the link of a workbook to an .xls file, through the spreadsheet
// converter (sheet/sdk.h). Each call makes a new converter whose Session is
// the one of the workbook's application object and drops it at the end.
//
// CheckLinkUpdate runs whenever the caller's update switch is on, whatever the
// link's sync method: that method is the spreadsheet conduit's rule during a
// HotSync, not the desktop's.
//   - open: when the linked file exists and its modification time, in seconds,
//     is at least 1 second past the stored link time, XLSToTBRExt_Sync(xls, the
//     bound file, xls) and true;
//   - save: TBRToXLSExt_Sync(the bound file, xls, xls), the link time renewed
//     from the linked file, and true.
// Errors other than 32760 are raised as 32760 "Workbook.CheckLinkUpdate"
// "Could not update link '<xls>'." with the error's description below.
#include <string>

#include "sheet/workbook_link_step.h"

namespace brevora::sheet {

class XlsLink : public WorkbookLinkStep {
 public:
  bool CheckLinkUpdate(Workbook& workbook, WorkbookHeader& header, bool fromLink) override;
  // XLSToTBRExt and TBRToXLSExt of the converter.
  void ConvertFromXLS(Workbook& workbook, const std::string& xls, const std::string& tbr) override;
  void ConvertToXLS(Workbook& workbook, const std::string& tbr, const std::string& xls) override;
};

}  // namespace brevora::sheet
