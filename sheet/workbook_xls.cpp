// Workbook: conversions from and to .xls files, through the link step's
// converter and a temporary desktop workbook file. They stay with the Workbook:
// the converter works on its application object, and the conversion goes
// through its own open and save.
#include <string>

#include "core/module_error.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "sheet/workbook.h"
#include "sheet/workbook_storage.h"

namespace brevora::sheet {

using core::AsModuleError;

bool Workbook::OpenFromXLS(std::string_view xls) {
  try {
    if (!linkStep_) RaiseRuntimeError(91);
    const std::shared_ptr<WorkbookLinkStep> step = linkStep_;
    const fs::TempFileGuard temp(NewWorkbookTempFile());
    step->ConvertFromXLS(*this, std::string(xls), temp.path());
    const std::string bound = fullPath_;
    const bool opened = OpenFromDisk(temp.path(), true, false);
    // Never left bound to the temporary file, which is gone after this call.
    fullPath_ = bound;
    return opened;
  } catch (...) {
    throw AsModuleError(CurrentError());
  }
}

bool Workbook::WriteToXLS(std::string_view xlsView) {
  // The view may be of fullPath_, which the save to the temporary file replaces.
  const std::string xls(xlsView);
  const std::string bound = fullPath_;
  const std::string cellSource = cellSource_;
  try {
    if (!linkStep_) RaiseRuntimeError(91);
    const std::shared_ptr<WorkbookLinkStep> step = linkStep_;
    const fs::TempFileGuard temp(NewWorkbookTempFile());
    WriteToDisk(temp.path(), false);
    step->ConvertToXLS(*this, temp.path(), xls);
    fullPath_ = bound;
    cellSource_ = cellSource;
    return true;
  } catch (...) {
    fullPath_ = bound;
    cellSource_ = cellSource;
    throw AsModuleError(CurrentError());
  }
}

}  // namespace brevora::sheet
