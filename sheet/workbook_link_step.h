#pragma once
// WorkbookLinkStep: what keeps a workbook's desktop file and its linked .xls
// file in step. The workbook calls it, when one is set, on open with the update
// flag (fromLink true, after the header is read and before it is applied) and
// on a full save with the link flag (fromLink false, after the file is
// written). The converter behind it lives elsewhere; the workbook knows only
// this interface.
#include "sheet/workbook_header.h"

namespace brevora::sheet {

class Workbook;

class WorkbookLinkStep {
 public:
  virtual ~WorkbookLinkStep() = default;
  // fromLink: returns true when it converted the linked file into the
  // workbook's bound file (the workbook then reads that file's header again).
  // !fromLink: pushes the saved file to the linked file and may renew the link
  // fields of `header`. Errors numbered 32760 reach the open or save as they are.
  virtual bool CheckLinkUpdate(Workbook& workbook, WorkbookHeader& header, bool fromLink) = 0;
};

}  // namespace brevora::sheet
