#include "sheet/app_info_writer.h"

#include "core/mod_main.h"
#include "core/module_error.h"
#include "core/trim.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "sheet/workbook_pdb_format.h"

namespace brevora::sheet {

namespace fmt = workbook_pdb_format;
using core::modMain::ByteToString;
using core::modMain::DWordToString;
using core::modMain::WordToString;

std::string AppInfoWriter::FixLength(std::string_view text, size_t n) {
  std::string fixed = core::Trim(text.substr(0, n));
  fixed.resize(n + 1, '\0');
  return fixed;
}

std::string AppInfoWriter::Build(const WorkbookHeader& header, int16_t version, int16_t category,
                                 bool modified) {
  if (!fmt::IsKnownVersion(version)) core::RaiseModuleError(265, "Can only work with Tabulyn 5.0 files.");
  std::string b;
  b.reserve(fmt::kAppInfoSize);
  b += WordToString(fmt::kMarker);
  for (size_t i = 0; i < fmt::kStoredSheets; ++i) {
    b += FixLength(header.SheetNames[i], fmt::kSheetNameSize - 1);
  }
  for (int32_t i = 1; i <= static_cast<int32_t>(fmt::kStoredSheets); ++i) b += ByteToString(i);
  b += ByteToString(0);
  b += ByteToString(0);
  b += WordToString(0);
  b += WordToString(0);
  b += DWordToString(header.Properties);
  b += DWordToString(header.DefaultFormat);
  std::string currency = header.Currency.substr(0, fmt::kCurrencySize);
  currency.resize(fmt::kCurrencySize, '\0');
  b += currency;
  b += WordToString(header.CurrentSheet);
  for (size_t e = 0; e < fmt::kStoredSheets; ++e) {
    const SheetParamsEntry& p = header.SheetParams[e];
    for (int16_t v : p.Frozen) b += WordToString(v);
    for (int16_t v : p.Current) b += WordToString(v);
    b += WordToString(p.OverflowColumn);
    b += WordToString(p.Fixed47);
    for (size_t j = 0; j < fmt::kWidthsPerEntry; ++j) b += WordToString(p.ColumnWidths[j]);
    b += WordToString(0);
  }
  b += DWordToString(0);
  b += DWordToString(0);
  b += ByteToString(category);
  b += ByteToString(modified ? fmt::kModifiedByte : 0);
  b += WordToString(0);
  for (const StyleSlot& slot : header.Styles) {
    b += DWordToString(slot.Format);
    b += FixLength(slot.Name, fmt::kStyleNameSize - 1);
  }
  b += WordToString(DoubleToLong(header.Extra));
  b += WordToString(0);
  b += FixLength(header.LinkedFileName, fmt::kLinkedFileNameSize - 1);
  b += WordToString(header.SyncMethod);
  b += WordToString(header.SyncOption);
  b += DWordToString(header.LinkedFileTime);
  return b;
}

}  // namespace brevora::sheet
