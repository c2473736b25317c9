#pragma once
// WorkbookInternal: the parts of a Workbook kept off its public face, for the
// tests of the sheet folder and of the workbook conduit: the header record that
// every storage form goes through, the steps between it and the objects, the
// overflow column, the temporary file and the link step.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "sheet/workbook.h"

namespace brevora::sheet {

class WorkbookInternal {
 public:
  static WorkbookHeader& Header(Workbook& workbook) { return workbook.Header(); }
  static const WorkbookHeader& Header(const Workbook& workbook) { return workbook.Header(); }
  static void HeaderToObjects(Workbook& workbook, const WorkbookHeader& header) {
    workbook.HeaderToObjects(header);
  }
  static void HeaderFromObjects(Workbook& workbook, WorkbookHeader& header) {
    workbook.HeaderFromObjects(header);
  }
  static int16_t FirstOverflowColumn(const Sheet& sheet) { return Workbook::FirstOverflowColumn(sheet); }
  static std::string GetTempFile(Workbook& workbook) { return workbook.GetTempFile(); }
  static void SetLinkStep(Workbook& workbook, std::shared_ptr<WorkbookLinkStep> step) {
    workbook.SetLinkStep(std::move(step));
  }
};

}  // namespace brevora::sheet
