#include "conduit/handheld_workbook.h"

#include <algorithm>
#include <cstring>

#include "platform/hotsync/sync_manager.h"

namespace brevora::tabrel {
namespace fmt = workbook_format;
namespace {

constexpr uint16_t kMinWidth = 10;
constexpr uint16_t kMaxWidth = 145;
constexpr uint16_t kMaxSetting = 9;
constexpr uint16_t kSettingFallback = 4;
constexpr uint16_t kDefaultWidth = 47;
constexpr std::size_t kMaxRecord = 0xFFFF;

uint16_t ClampWidth(uint16_t w, uint16_t outside) {
  return w < kMinWidth || w > kMaxWidth ? outside : w;
}

}  // namespace

HandheldWorkbook::HandheldWorkbook(uint16_t version, const fmt::BlockLayout& layout, CellForm form)
    : CHandheldDatabase(hotsync::SyncCode("Zeri"), hotsync::SyncCode("Data"), version),
      block_(layout),
      form_(form) {}

bool HandheldWorkbook::ReadAppInfo(uint16_t) {
  const auto bytes = ReadAppInfoBlock();
  if (!bytes) return false;
  auto block = WorkbookBlock::Parse(block_.layout(), *bytes);
  if (!block) return false;
  block_ = std::move(*block);
  return true;
}

bool HandheldWorkbook::WriteAppInfo() { return WriteAppInfoBlock(block_.bytes()); }

void HandheldWorkbook::InitDefaults(uint8_t categoryId) {
  block_ = WorkbookBlock::Defaults(version(), categoryId);
}

bool HandheldWorkbook::IsServerSync() const {
  return block_.layout().linkPath != fmt::kNone && (block_.Properties() & fmt::kServerSyncBit) != 0;
}

HandheldWorkbook::CellRead HandheldWorkbook::ReadNextCell(CellRecord& cell, std::string& problem) {
  Record record;
  switch (ReadNextRecord(record)) {
    case NextRecord::Read:
      break;
    case NextRecord::End:
      return CellRead::End;
    case NextRecord::Failed:
      return CellRead::Failed;
  }
  const auto* text = reinterpret_cast<const char*>(record.data.data());
  const std::string_view line(text, strnlen(text, record.data.size()));
  auto parsed = ParseCell(line, form_, problem);
  if (!parsed) {
    problem = "record " + std::to_string(cursor() - 1) + ": " + problem;
    return CellRead::Bad;
  }
  if (form_ == CellForm::Tab) parsed->sheet = CountSheets(parsed->sheet);
  cell = std::move(*parsed);
  return CellRead::Cell;
}

bool HandheldWorkbook::SetNextCell(const CellRecord& cell) {
  std::string line = FormatCell(cell, form_);
  if (line.size() + 1 > kMaxRecord) return false;
  std::vector<uint8_t> data(line.begin(), line.end());
  data.push_back(0);
  return AppendRecord(data);
}

int32_t HandheldWorkbook::CountSheets(int32_t sheet) const {
  int32_t empty = 0;
  for (int32_t slot = 1; slot < sheet && slot < static_cast<int32_t>(fmt::kSheetSlots); ++slot) {
    if (block_.Name(static_cast<std::size_t>(slot)).empty()) ++empty;
  }
  return sheet - empty;
}

template <class Header>
void HandheldWorkbook::CopyCommonTo(Header& h) const {
  h.versionText = std::to_string(version());
  h.names = {};
  h.sheetCount = 0;
  if (block_.layout().sheet.byteSettings) {
    // Version 4: the names up to the first empty slot.
    for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) {
      std::string name = block_.Name(slot);
      if (name.empty()) break;
      h.names[slot] = std::move(name);
      ++h.sheetCount;
    }
  } else {
    for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) {
      h.names[slot] = block_.Name(slot);
      if (!h.names[slot].empty()) ++h.sheetCount;
    }
  }
  h.properties = block_.Properties();
  h.currentSheet = block_.CurrentSheet();
  h.defaultStyleFlags = block_.DefaultStyleFlags();
  h.userStyleCount = block_.UserStyleCount();
  h.currency = static_cast<char>(block_.Currency(0));
  h.secondChar = static_cast<char>(block_.Currency(1));
  for (std::size_t i = 0; i < fmt::kStyleCount; ++i) h.styles[i] = block_.Style(i);
  h.valid = true;
}

void HandheldWorkbook::CopyHeaderTo(CWorkbookHeader& h) const {
  CopyCommonTo(h);
  const bool v4 = block_.layout().sheet.byteSettings;
  for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) {
    SheetRecordV5& s = h.sheets[slot];
    for (std::size_t k = 0; k < fmt::kSettings; ++k) s.settings[k] = block_.Setting(slot, k);
    s.doubles = {block_.SheetDouble(slot, 0), block_.SheetDouble(slot, 1)};
    s.setting = block_.SheetSetting(slot);
    s.defaultWidth = v4 ? kDefaultWidth : block_.DefaultWidth(slot);
    for (std::size_t i = 0; i < s.widths.size(); ++i) s.widths[i] = block_.Width(slot, i);
    s.lastWord = v4 ? 0 : block_.LastWord(slot);
  }
}

void HandheldWorkbook::CopyHeaderTo(CWorkbookHeader_V8& h) const {
  CopyCommonTo(h);
  const bool v4 = block_.layout().sheet.byteSettings;
  for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) {
    SheetRecordV8& s = h.sheets[slot];
    for (std::size_t k = 0; k < fmt::kSettings; ++k) s.settings[k] = block_.Setting(slot, k);
    s.setting = block_.SheetSetting(slot);
    s.defaultWidth = v4 ? kDefaultWidth : block_.DefaultWidth(slot);
    for (std::size_t i = 0; i < s.widths.size(); ++i) s.widths[i] = block_.Width(slot, i);
    s.lastWord = v4 ? 0 : block_.LastWord(slot);
  }
  h.linkPath = block_.LinkPath();
  h.linkMethod = block_.LinkMethod();
  h.linkOption = block_.LinkOption();
  h.linkDate = block_.LinkDate();
}

template <class Header>
void HandheldWorkbook::CopyCommonFrom(const Header& h) {
  block_.SetProperties(h.properties);
  block_.SetCurrentSheet(static_cast<uint16_t>(h.currentSheet));
  block_.SetDefaultStyleFlags(h.defaultStyleFlags);
  block_.SetUserStyleCount(h.userStyleCount);
  block_.SetCurrency(0, static_cast<uint8_t>(h.currency));
  block_.SetCurrency(1, static_cast<uint8_t>(h.secondChar));
  for (std::size_t i = 0; i < fmt::kStyleCount; ++i) block_.SetStyle(i, h.styles[i]);
}

bool HandheldWorkbook::CopyHeaderFrom(const CWorkbookHeader& h) {
  for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) block_.SetName(slot, h.names[slot]);
  if (!h.valid) return true;
  const bool v4 = block_.layout().sheet.byteSettings;
  for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) {
    const SheetRecordV5& s = h.sheets[slot];
    for (std::size_t k = 0; k < fmt::kSettings; ++k) block_.SetSetting(slot, k, s.settings[k]);
    block_.SetSheetDouble(slot, 0, s.doubles[0]);
    block_.SetSheetDouble(slot, 1, s.doubles[1]);
    if (v4) {
      block_.SetSheetSetting(slot, s.setting);
      continue;
    }
    block_.SetSheetSetting(slot, s.setting > kMaxSetting ? kSettingFallback : s.setting);
    block_.SetDefaultWidth(slot, ClampWidth(s.defaultWidth, kDefaultWidth));
    for (std::size_t i = 0; i < s.widths.size(); ++i)
      block_.SetWidth(slot, i, ClampWidth(s.widths[i], 0));
    block_.SetLastWord(slot, s.lastWord);
  }
  if (v4) {
    for (std::size_t i = 0; i < fmt::kV4ColumnWidths; ++i) block_.SetColumnWidth(i, 0);
  }
  CopyCommonFrom(h);
  return true;
}

bool HandheldWorkbook::CopyHeaderFrom(const CWorkbookHeader_V8& h) {
  for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) block_.SetName(slot, h.names[slot]);
  if (!h.valid) return true;
  const bool v4 = block_.layout().sheet.byteSettings;
  for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) {
    const SheetRecordV8& s = h.sheets[slot];
    for (std::size_t k = 0; k < fmt::kSettings; ++k) block_.SetSetting(slot, k, s.settings[k]);
    if (v4) {
      block_.SetSheetSetting(slot, s.setting);
      continue;
    }
    block_.SetSheetSetting(slot, s.setting > kMaxSetting ? kSettingFallback : s.setting);
    block_.SetDefaultWidth(slot, ClampWidth(s.defaultWidth, kDefaultWidth));
    for (std::size_t i = 0; i < s.widths.size(); ++i)
      block_.SetWidth(slot, i, ClampWidth(s.widths[i], 0));
    block_.SetLastWord(slot, s.lastWord);
  }
  if (v4) {
    for (std::size_t i = 0; i < fmt::kV4ColumnWidths; ++i) block_.SetColumnWidth(i, 0);
  }
  CopyCommonFrom(h);
  if (!block_.SetLinkPath(h.linkPath)) return false;
  block_.SetLinkMethod(h.linkMethod);
  block_.SetLinkOption(h.linkOption);
  block_.SetLinkDate(h.linkDate);
  return true;
}

CWorkbook_V4::CWorkbook_V4(uint16_t version)
    : HandheldWorkbook(version, fmt::kV4, CellForm::Comma) {}

bool CWorkbook_V4::ReadAppInfo(uint16_t version) {
  if (version == 4) return HandheldWorkbook::ReadAppInfo(version);
  if (version != 0) return false;
  const auto bytes = ReadAppInfoBlock();
  if (!bytes) return false;
  auto block = WorkbookBlock::FromVersion0(*bytes);
  if (!block) return false;
  this->block() = std::move(*block);
  return true;
}

CWorkbook_V5::CWorkbook_V5(uint16_t version)
    : HandheldWorkbook(version, fmt::kV5, version == 5 ? CellForm::Comma : CellForm::Tab) {}

CWorkbook_V8::CWorkbook_V8(uint16_t version) : HandheldWorkbook(version, fmt::kV8, CellForm::Tab) {}

std::unique_ptr<HandheldWorkbook> HandheldWorkbookFor(uint16_t version) {
  switch (version) {
    case 5:
      return std::make_unique<CWorkbook_V5>();
    case 6:
      return std::make_unique<CWorkbook_V6>();
    case 7:
      return std::make_unique<CWorkbook_V7>();
    case 8:
    case 9:
      return std::make_unique<CWorkbook_V8>(version);
    default:
      return std::make_unique<CWorkbook_V4>(version);
  }
}

}  // namespace brevora::tabrel
