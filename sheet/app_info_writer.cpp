#include "sheet/app_info_writer.h"

#include "core/module_error.h"
#include "core/number_text.h"
#include "core/text_cleanup.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "sheet/workbook_pdb_format.h"

namespace brevora::sheet {

namespace fmt = workbook_pdb_format;
using core::BigEndianBytes16;
using core::BigEndianBytes32;
using core::ByteChar;

std::string AppInfoWriter::FixLength(std::string_view text, size_t n) {
  std::string fixed = core::Trim(text.substr(0, n));
  fixed.resize(n + 1, '\0');
  return fixed;
}

std::string AppInfoWriter::Build(const WorkbookHeader& header, int16_t version, int16_t category,
                                 bool modified) {
  if (!fmt::IsKnownVersion(version))
    core::RaiseModuleError(265, "Can only work with Tabulyn 5.0 files.");
  std::string b;
  b.reserve(fmt::kAppInfoSize);
  b += BigEndianBytes16(fmt::kMarker);
  for (size_t i = 0; i < fmt::kStoredSheets; ++i) {
    b += FixLength(header.SheetNames[i], fmt::kSheetNameSize - 1);
  }
  for (int32_t i = 1; i <= static_cast<int32_t>(fmt::kStoredSheets); ++i) b += ByteChar(i);
  b += ByteChar(0);
  b += ByteChar(0);
  b += BigEndianBytes16(0);
  b += BigEndianBytes16(0);
  b += BigEndianBytes32(header.Properties);
  b += BigEndianBytes32(header.DefaultFormat);
  std::string currency = header.Currency.substr(0, fmt::kCurrencySize);
  currency.resize(fmt::kCurrencySize, '\0');
  b += currency;
  b += BigEndianBytes16(header.CurrentSheet);
  for (size_t e = 0; e < fmt::kStoredSheets; ++e) {
    const SheetParamsEntry& p = header.SheetParams[e];
    for (int16_t v : p.Frozen) b += BigEndianBytes16(v);
    for (int16_t v : p.Current) b += BigEndianBytes16(v);
    b += BigEndianBytes16(p.OverflowColumn);
    b += BigEndianBytes16(p.Fixed47);
    for (size_t j = 0; j < fmt::kWidthsPerEntry; ++j) b += BigEndianBytes16(p.ColumnWidths[j]);
    b += BigEndianBytes16(0);
  }
  b += BigEndianBytes32(0);
  b += BigEndianBytes32(0);
  b += ByteChar(category);
  b += ByteChar(modified ? fmt::kModifiedByte : 0);
  b += BigEndianBytes16(0);
  for (const StyleSlot& slot : header.Styles) {
    b += BigEndianBytes32(slot.Format);
    b += FixLength(slot.Name, fmt::kStyleNameSize - 1);
  }
  b += BigEndianBytes16(DoubleToLong(header.Extra));
  b += BigEndianBytes16(0);
  b += FixLength(header.LinkedFileName, fmt::kLinkedFileNameSize - 1);
  b += BigEndianBytes16(header.SyncMethod);
  b += BigEndianBytes16(header.SyncOption);
  b += BigEndianBytes32(header.LinkedFileTime);
  return b;
}

}  // namespace brevora::sheet
