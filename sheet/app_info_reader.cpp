#include "sheet/app_info_reader.h"

#include "core/module_error.h"
#include "core/text_cleanup.h"
#include "platform/error/error.h"
#include "sheet/workbook_pdb_format.h"

namespace brevora::sheet {

namespace fmt = workbook_pdb_format;

namespace {

// Takes fields off the front of the block.
class Cursor {
 public:
  explicit Cursor(std::string_view block) : block_(block) {}

  std::string_view Take(size_t n) {
    if (block_.size() - pos_ < n) RaiseRuntimeError(9);
    const std::string_view bytes = block_.substr(pos_, n);
    pos_ += n;
    return bytes;
  }
  void Skip(size_t n) { Take(n); }
  uint8_t Byte() { return static_cast<uint8_t>(Take(1)[0]); }
  uint32_t Word() {
    const std::string_view b = Take(2);
    return (static_cast<uint32_t>(static_cast<uint8_t>(b[0])) << 8) | static_cast<uint8_t>(b[1]);
  }
  // A WORD read as a signed 16-bit value: 6 from 32768 on.
  int16_t Integer() {
    const uint32_t value = Word();
    if (value > 32767) RaiseRuntimeError(6);
    return static_cast<int16_t>(value);
  }
  double DWord() {
    const std::string_view b = Take(4);
    uint32_t value = 0;
    for (char c : b) value = (value << 8) | static_cast<uint8_t>(c);
    return static_cast<double>(value);
  }
  // n bytes up to the first NUL, blanks removed at both ends.
  std::string FixedString(size_t n) {
    const std::string_view bytes = Take(n);
    return core::Trim(bytes.substr(0, bytes.find('\0')));
  }

 private:
  std::string_view block_;
  size_t pos_ = 0;
};

}  // namespace

AppInfoReader::Result AppInfoReader::Read(std::string_view block, int16_t version) {
  if (!fmt::IsKnownVersion(version))
    core::RaiseModuleError(265, "Can only work with Tabulyn 5.0 files.");
  Result r;
  WorkbookHeader& h = r.header;
  Cursor c(block);
  c.Skip(2);  // the marker is not checked
  for (size_t i = 0; i < fmt::kStoredSheets; ++i)
    h.SheetNames[i] = c.FixedString(fmt::kSheetNameSize);
  // The list ends at the first empty name: a name after a gap has no place.
  h.SheetCount = 1;
  while (h.SheetCount < static_cast<int16_t>(fmt::kStoredSheets) &&
         !h.SheetNames[static_cast<size_t>(h.SheetCount)].empty()) {
    ++h.SheetCount;
  }
  for (size_t i = static_cast<size_t>(h.SheetCount); i < kSheetEntries; ++i)
    h.SheetNames[i].clear();
  c.Skip(fmt::kStoredSheets + 1 + 1 + 2 + 2);
  h.Properties = c.DWord();
  h.DefaultFormat = c.DWord();
  h.Currency = c.FixedString(fmt::kCurrencySize);
  h.CurrentSheet = c.Integer();
  for (size_t e = 0; e < fmt::kStoredSheets; ++e) {
    SheetParamsEntry& p = h.SheetParams[e];
    for (int16_t& v : p.Frozen) v = c.Integer();
    for (int16_t& v : p.Current) v = c.Integer();
    p.OverflowColumn = c.Integer();
    p.Fixed47 = c.Integer();
    for (size_t j = 0; j < fmt::kWidthsPerEntry; ++j) p.ColumnWidths[j] = c.Integer();
    c.Skip(2);
  }
  c.Skip(4 + 4);
  r.category = c.Byte();
  r.modified = c.Byte() != 0;
  c.Skip(2);
  for (StyleSlot& slot : h.Styles) {
    slot.Format = c.DWord();
    slot.Name = c.FixedString(fmt::kStyleNameSize);
  }
  h.Extra = c.Word();
  c.Skip(2);
  h.LinkedFileName = c.FixedString(fmt::kLinkedFileNameSize);
  h.SyncMethod = c.Integer();
  h.SyncOption = c.Integer();
  h.LinkedFileTime = c.DWord();
  return r;
}

}  // namespace brevora::sheet
