#include "sheet/xls_link.h"

#include "core/application.h"
#include "core/session.h"
#include "office/link_sync.h"
#include "platform/error/error.h"
#include "sheet/sdk.h"
#include "sheet/workbook.h"

namespace brevora::sheet {

namespace {

// A converter working on the Session of the workbook's application object.
Ref<SDK> ConverterFor(const Workbook& workbook) {
  if (!workbook.Application()) RaiseRuntimeError(91);
  Ref<SDK> sdk = MakeRef<SDK>();
  sdk->SetSession(workbook.Application()->Session());
  return sdk;
}

}  // namespace

bool XlsLink::CheckLinkUpdate(Workbook& workbook, WorkbookHeader& header, bool fromLink) {
  const std::string linked = header.LinkedFileName;
  try {
    if (linked.empty()) return false;
    if (fromLink) {
      if (!office::LinkedFileIsNewer(linked, header.LinkedFileTime)) return false;
      ConverterFor(workbook)->XLSToTBRExtSync(linked, workbook.FullPath(), linked);
      return true;
    }
    ConverterFor(workbook)->TBRToXLSExtSync(workbook.FullPath(), linked, linked);
    header.LinkedFileTime = office::LinkedFileSeconds(linked);
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.CheckLinkUpdate",
                    "Could not update link '" + linked + "'.");
  }
}

void XlsLink::ConvertFromXLS(Workbook& workbook, const std::string& xls, const std::string& tbr) {
  ConverterFor(workbook)->XLSToTBRExt(xls, tbr);
}

void XlsLink::ConvertToXLS(Workbook& workbook, const std::string& tbr, const std::string& xls) {
  ConverterFor(workbook)->TBRToXLSExt(tbr, xls);
}

}  // namespace brevora::sheet
