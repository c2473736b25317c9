#include "conduit/workbook_block.h"

#include <algorithm>
#include <cstring>

namespace brevora::tabrel {
namespace fmt = workbook_format;
namespace {

constexpr std::size_t kMaxPadding = 3;

struct DefaultStyle {
  uint32_t flags;
  const char* name;
};

// Style tables of new databases: versions 4, 5, 8, 9; versions 6 and 7.
constexpr DefaultStyle kStyles[] = {
    {0x41, "Text"},        {0x48, "Bold Text"},        {0x10000022, "Number"},
    {0x20001082, "Money"}, {0x20000202, "Percentage"}, {0x4C, "Col Header"}};
constexpr DefaultStyle kStyles67[] = {
    {0x41, "Text"},        {0x48, "Bold Text"},        {0xF0000022, "Number"},
    {0x20001082, "Money"}, {0xF0000202, "Percentage"}, {0x4C, "Col Header"}};
constexpr DefaultStyle kDateStyles7[] = {{0x402, "Date"}, {0x802, "Time"}, {0xC02, "Date & Time"}};
constexpr const char* kEditStyles = "Edit Styles...";
constexpr uint16_t kV4Widths[fmt::kV4ColumnWidths] = {16, 48, 48, 48, 16, 16, 16, 16, 16, 16};
constexpr uint16_t kDefaultSettings[fmt::kSettings] = {0, 0, 0, 0, 0, 0, 1, 1};
constexpr uint16_t kDefaultSheetSetting = 4;
constexpr uint16_t kDefaultColumnWidth = 47;

}  // namespace

const WorkbookBlock::Layout& WorkbookBlock::LayoutOf(uint16_t version) {
  if (version >= 5 && version <= 7) return fmt::kV5;
  if (version == 8 || version == 9) return fmt::kV8;
  return fmt::kV4;
}

WorkbookBlock::WorkbookBlock(const Layout& layout) : layout_(&layout), bytes_(layout.size, 0) {}

std::optional<WorkbookBlock> WorkbookBlock::Parse(const Layout& layout,
                                                  std::span<const uint8_t> bytes) {
  if (bytes.size() < layout.size || bytes.size() > layout.size + kMaxPadding) return std::nullopt;
  WorkbookBlock block(layout);
  std::copy_n(bytes.begin(), layout.size, block.bytes_.begin());
  if (layout.linkPath != fmt::kNone &&
      std::find(block.bytes_.begin() + layout.linkPath,
                block.bytes_.begin() + layout.linkPath + fmt::kLinkPathSize,
                uint8_t{0}) == block.bytes_.begin() + layout.linkPath + fmt::kLinkPathSize) {
    return std::nullopt;
  }
  if (!layout.sheet.byteSettings) {
    for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) {
      for (std::size_t k = 0; k < fmt::kSettings; ++k) {
        if (block.Setting(slot, k) > fmt::kSettingCeiling) block.SetSetting(slot, k, 1);
      }
    }
  }
  return block;
}

std::optional<WorkbookBlock> WorkbookBlock::FromVersion0(std::span<const uint8_t> bytes) {
  if (bytes.size() < fmt::kV0Size || bytes.size() > fmt::kV0Size + kMaxPadding) return std::nullopt;
  WorkbookBlock block = Defaults(4, 0);
  auto copy = [&](std::size_t from, std::size_t count, std::size_t to) {
    std::copy_n(bytes.begin() + from, count, block.bytes_.begin() + to);
  };
  // Header word, names, sheet IDs and the last sheet ID lie where they lie in
  // the version-4 block.
  copy(0, fmt::kLastSheetIdOffset + 1, 0);
  copy(fmt::kV0ColumnWidths, 2 * fmt::kV4ColumnWidths, fmt::kV4.columnWidths);
  copy(fmt::kV0Properties, 4, fmt::kV4.properties);
  copy(fmt::kV0CategoryId, 1, fmt::kV4.categoryId);
  copy(fmt::kV0DefaultStyleFlags, 4, fmt::kV4.defaultStyleFlags);
  copy(fmt::kV0Double, 4, fmt::kV4.reservedDoubles + 4);
  block.SetModified(0);
  return block;
}

WorkbookBlock WorkbookBlock::Defaults(uint16_t version, uint8_t categoryId) {
  WorkbookBlock b(LayoutOf(version));
  const bool sixOrSeven = version == 6 || version == 7;
  b.SetHeaderWord(0x7FFF);
  b.SetName(0, "Clipboard");
  b.SetName(1, sixOrSeven ? "Sheet1" : "01 Sheet1");
  for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot)
    b.SetSheetId(slot, static_cast<uint8_t>(slot));
  b.SetLastSheetId(1);
  if (b.layout_->columnWidths != fmt::kNone) {
    for (std::size_t i = 0; i < fmt::kV4ColumnWidths; ++i) b.SetColumnWidth(i, kV4Widths[i]);
  }
  b.SetProperties(22);
  b.SetDefaultStyleFlags(sixOrSeven ? 0xF0000022 : 0x10000022);
  b.SetCurrency(0, '$');
  b.SetCurrentSheet(1);
  for (std::size_t slot = 0; slot < fmt::kSheetSlots; ++slot) {
    for (std::size_t k = 0; k < fmt::kSettings; ++k) b.SetSetting(slot, k, kDefaultSettings[k]);
    b.SetSheetSetting(slot, kDefaultSheetSetting);
    b.SetDefaultWidth(slot, kDefaultColumnWidth);
  }
  b.SetCategoryId(categoryId);
  for (std::size_t i = 0; i < std::size(kStyles); ++i) {
    const DefaultStyle& s = sixOrSeven ? kStyles67[i] : kStyles[i];
    b.SetStyle(i, {s.flags, s.name});
  }
  if (version == 7) {
    for (std::size_t i = 0; i < std::size(kDateStyles7); ++i) {
      b.SetStyle(std::size(kStyles) + i, {kDateStyles7[i].flags, kDateStyles7[i].name});
    }
  }
  b.SetStyle(fmt::kStyleCount - 1, {0, kEditStyles});
  b.SetUserStyleCount(2);
  return b;
}

std::string WorkbookBlock::Name(std::size_t slot) const {
  if (slot >= fmt::kSheetSlots) return {};
  const auto* start =
      reinterpret_cast<const char*>(bytes_.data() + fmt::kNamesOffset + slot * fmt::kNameSize);
  return std::string(start, strnlen(start, fmt::kNameSize));
}

void WorkbookBlock::SetName(std::size_t slot, std::string_view name) {
  if (slot >= fmt::kSheetSlots) return;
  uint8_t* start = bytes_.data() + fmt::kNamesOffset + slot * fmt::kNameSize;
  std::fill_n(start, fmt::kNameSize, 0);
  std::copy_n(name.begin(), std::min(name.size(), fmt::kMaxNameLength), start);
}

BlockStyle WorkbookBlock::Style(std::size_t i) const {
  if (i >= fmt::kStyleCount) return {};
  const std::size_t at = layout_->styles + i * fmt::kStyleSize;
  const auto* name = reinterpret_cast<const char*>(bytes_.data() + at + 4);
  return {DWord(at), std::string(name, strnlen(name, fmt::kStyleNameSize))};
}

void WorkbookBlock::SetStyle(std::size_t i, const BlockStyle& style) {
  if (i >= fmt::kStyleCount) return;
  const std::size_t at = layout_->styles + i * fmt::kStyleSize;
  SetDWord(at, style.flags);
  uint8_t* name = bytes_.data() + at + 4;
  std::fill_n(name, fmt::kStyleNameSize, 0);
  std::copy_n(style.name.begin(), std::min(style.name.size(), fmt::kStyleNameSize - 1), name);
}

std::size_t WorkbookBlock::SheetField(std::size_t slot, std::size_t field) const {
  if (slot >= fmt::kSheetSlots || field == fmt::kNone) return fmt::kNone;
  return layout_->sheets + slot * layout_->sheet.size + field;
}

uint16_t WorkbookBlock::Setting(std::size_t slot, std::size_t k) const {
  if (k >= fmt::kSettings) return 0;
  if (layout_->sheet.byteSettings) {
    const std::size_t at = SheetField(slot, k);
    return at == fmt::kNone ? 0 : bytes_[at];
  }
  return Word(SheetField(slot, 0), k * 2);
}

void WorkbookBlock::SetSetting(std::size_t slot, std::size_t k, uint16_t v) {
  if (k >= fmt::kSettings) return;
  if (layout_->sheet.byteSettings) {
    const std::size_t at = SheetField(slot, k);
    if (at != fmt::kNone) bytes_[at] = static_cast<uint8_t>(v & 0xFF);
    return;
  }
  SetWord(SheetField(slot, 0), v, k * 2);
}

uint16_t WorkbookBlock::Width(std::size_t slot, std::size_t i) const {
  if (i >= layout_->sheet.widthCount) return 0;
  return Word(SheetField(slot, layout_->sheet.widths), i * 2);
}

void WorkbookBlock::SetWidth(std::size_t slot, std::size_t i, uint16_t v) {
  if (i >= layout_->sheet.widthCount) return;
  SetWord(SheetField(slot, layout_->sheet.widths), v, i * 2);
}

uint16_t WorkbookBlock::LastWord(std::size_t slot) const {
  const std::size_t at = SheetField(slot, layout_->sheet.lastWord);
  if (at == fmt::kNone) return 0;
  return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
}

void WorkbookBlock::SetLastWord(std::size_t slot, uint16_t v) {
  const std::size_t at = SheetField(slot, layout_->sheet.lastWord);
  if (at == fmt::kNone) return;
  bytes_[at] = static_cast<uint8_t>(v & 0xFF);
  bytes_[at + 1] = static_cast<uint8_t>(v >> 8);
}

std::string WorkbookBlock::LinkPath() const {
  if (layout_->linkPath == fmt::kNone) return {};
  const auto* start = reinterpret_cast<const char*>(bytes_.data() + layout_->linkPath);
  return std::string(start, strnlen(start, fmt::kLinkPathSize));
}

bool WorkbookBlock::SetLinkPath(std::string_view path) {
  if (layout_->linkPath == fmt::kNone) return path.empty();
  if (path.size() >= fmt::kLinkPathSize || path.find('\0') != std::string_view::npos) return false;
  uint8_t* start = bytes_.data() + layout_->linkPath;
  std::fill_n(start, fmt::kLinkPathSize, 0);
  std::copy(path.begin(), path.end(), start);
  return true;
}

uint16_t WorkbookBlock::Word(std::size_t offset, std::size_t plus) const {
  if (offset == fmt::kNone || offset + plus + 2 > bytes_.size()) return 0;
  const std::size_t at = offset + plus;
  return static_cast<uint16_t>((bytes_[at] << 8) | bytes_[at + 1]);
}

void WorkbookBlock::SetWord(std::size_t offset, uint16_t v, std::size_t plus) {
  if (offset == fmt::kNone || offset + plus + 2 > bytes_.size()) return;
  const std::size_t at = offset + plus;
  bytes_[at] = static_cast<uint8_t>(v >> 8);
  bytes_[at + 1] = static_cast<uint8_t>(v & 0xFF);
}

uint32_t WorkbookBlock::DWord(std::size_t offset, std::size_t plus) const {
  if (offset == fmt::kNone || offset + plus + 4 > bytes_.size()) return 0;
  const std::size_t at = offset + plus;
  return (uint32_t{bytes_[at]} << 24) | (uint32_t{bytes_[at + 1]} << 16) |
         (uint32_t{bytes_[at + 2]} << 8) | bytes_[at + 3];
}

void WorkbookBlock::SetDWord(std::size_t offset, uint32_t v, std::size_t plus) {
  if (offset == fmt::kNone || offset + plus + 4 > bytes_.size()) return;
  const std::size_t at = offset + plus;
  bytes_[at] = static_cast<uint8_t>(v >> 24);
  bytes_[at + 1] = static_cast<uint8_t>(v >> 16);
  bytes_[at + 2] = static_cast<uint8_t>(v >> 8);
  bytes_[at + 3] = static_cast<uint8_t>(v);
}

}  // namespace brevora::tabrel
