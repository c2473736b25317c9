#pragma once
// WorkbookInternal: the parts of a Workbook kept off its public face, for the
// tests of the sheet folder and of the workbook conduit: its model with the
// header record that every storage form goes through, the steps between that
// record and the rest of the model, the overflow column, the temporary file
// and the link step.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "sheet/workbook.h"
#include "sheet/workbook_model.h"
#include "sheet/workbook_storage.h"

namespace brevora::sheet {

class WorkbookInternal {
 public:
  static WorkbookModel& Model(Workbook& workbook) { return workbook.model_; }
  static const WorkbookModel& Model(const Workbook& workbook) { return workbook.model_; }
  static WorkbookHeader& Header(Workbook& workbook) { return workbook.model_.header; }
  static const WorkbookHeader& Header(const Workbook& workbook) { return workbook.model_.header; }
  static void HeaderToObjects(Workbook& workbook, const WorkbookHeader& header) {
    HeaderToModel(header, workbook.model_);
  }
  static void HeaderFromObjects(Workbook& workbook, WorkbookHeader& header) {
    HeaderFromModel(workbook.model_, header);
  }
  static int16_t FirstOverflowColumn(const Sheet& sheet) {
    return sheet::FirstOverflowColumn(sheet);
  }
  static std::string GetTempFile(Workbook&) { return NewWorkbookTempFile(); }
  static void SetLinkStep(Workbook& workbook, std::shared_ptr<WorkbookLinkStep> step) {
    workbook.SetLinkStep(std::move(step));
  }
};

}  // namespace brevora::sheet
