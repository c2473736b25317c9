#include "sheet/xls_link.h"

#include "core/mod_main.h"
#include "core/session.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/error.h"
#include "platform/fs/files.h"
#include "sheet/sdk.h"
#include "sheet/workbook.h"

namespace brevora::sheet {

namespace {

enum SyncMethod : int16_t { kSynchronize = 0, kPalmToXls = 1, kXlsToPalm = 2, kDoNothing = 3 };

// A converter working on the Session of the workbook's application object.
Ref<SDK> ConverterFor(const Workbook& workbook) {
  if (!workbook.Application()) RaiseRuntimeError(91);
  Ref<SDK> sdk = MakeRef<SDK>();
  sdk->SetSession(workbook.Application()->Session());
  return sdk;
}

// An error of the check counts as missing.
bool LinkedFileExists(const std::string& path) {
  try {
    return fs::FileExists(path);
  } catch (const AutomationError&) {
    return false;
  }
}

double LinkedFileSeconds(const std::string& path) { return core::DaysToSeconds(fs::FileDateTime(path)); }

}  // namespace

bool XlsLink::Follows(int16_t syncMethod, bool fromLink) {
  if (syncMethod == kSynchronize) return true;
  return fromLink ? syncMethod == kXlsToPalm : syncMethod == kPalmToXls;
}

bool XlsLink::CheckLinkUpdate(Workbook& workbook, WorkbookHeader& header, bool fromLink) {
  const std::string linked = header.LinkedFileName;
  try {
    if (linked.empty() || !Follows(header.SyncMethod, fromLink)) return false;
    if (fromLink) {
      if (!LinkedFileExists(linked)) return false;
      if (LinkedFileSeconds(linked) - header.LinkedFileTime < 1) return false;
      ConverterFor(workbook)->XLSToTBRExt_Sync(linked, workbook.FullPath(), linked);
      return true;
    }
    ConverterFor(workbook)->TBRToXLSExt_Sync(workbook.FullPath(), linked, linked);
    header.LinkedFileTime = LinkedFileSeconds(linked);
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.CheckLinkUpdate", "Could not update link '" + linked + "'.");
  }
}

void XlsLink::ConvertFromXLS(Workbook& workbook, const std::string& xls, const std::string& tbr) {
  ConverterFor(workbook)->XLSToTBRExt(xls, tbr);
}

void XlsLink::ConvertToXLS(Workbook& workbook, const std::string& tbr, const std::string& xls) {
  ConverterFor(workbook)->TBRToXLSExt(tbr, xls);
}

}  // namespace brevora::sheet
