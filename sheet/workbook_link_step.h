#pragma once
// WorkbookLinkStep: what keeps a workbook's desktop file and its linked .xls
// file in step, and converts between the two kinds of file. The workbook calls
// it on open with the update flag (fromLink true, after the header is read and
// before it is applied), on a full save with the link flag (fromLink false,
// after the file is written), and for OpenFromXLS and WriteToXLS. Every new
// workbook has the .xls link of sheet/xls_link.h; tests may set another. The
// converter behind it lives elsewhere; the workbook knows only this interface.
#include <string>

#include "sheet/workbook_header.h"

namespace brevora::sheet {

class Workbook;

class WorkbookLinkStep {
 public:
  virtual ~WorkbookLinkStep() = default;
  // fromLink: returns true when it converted the linked file into the
  // workbook's bound file (the workbook then reads that file's header again).
  // !fromLink: pushes the saved file to the linked file, may renew the link
  // fields of `header` and returns true when it pushed (the workbook then
  // writes the renewed header into its file). Errors numbered 32760 reach the
  // open or save as they are.
  virtual bool CheckLinkUpdate(Workbook& workbook, WorkbookHeader& header, bool fromLink) = 0;
  // The .xls file `xls` converted into the desktop workbook file `tbr`.
  virtual void ConvertFromXLS(Workbook& workbook, const std::string& xls,
                              const std::string& tbr) = 0;
  // The desktop workbook file `tbr` converted into the .xls file `xls`.
  virtual void ConvertToXLS(Workbook& workbook, const std::string& tbr, const std::string& xls) = 0;
};

}  // namespace brevora::sheet
