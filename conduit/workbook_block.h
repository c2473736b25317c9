#pragma once
// WorkbookBlock: the application-info block of a handheld workbook database
// (workbook_format.h) as its bytes, in the handheld's byte order, with its
// fields read and written through accessors in host order. Bytes that no
// accessor names (reserved, padding) are kept as they were read.
//
// Every accessor stays inside the block: a field the layout does not have
// reads 0 (or "") and is not written.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/workbook_format.h"

namespace brevora::tabrel {

// A style-table entry.
struct BlockStyle {
  uint32_t flags = 0;
  std::string name;  // at most 15 bytes when written
  bool operator==(const BlockStyle&) const = default;
};

class WorkbookBlock {
 public:
  using Layout = workbook_format::BlockLayout;

  // The layout of database `version`: 5-7 the version-5 one, 8 and 9 the
  // version-8 one, any other the version-4 one.
  static const Layout& LayoutOf(uint16_t version);

  // A block of `layout`, all zero.
  explicit WorkbookBlock(const Layout& layout);

  // The block read from a database of `layout`: nullopt when it is shorter
  // than the layout or longer by more than 3 bytes of padding (which are
  // dropped), or when its link path does not end within its field. A
  // setting word above 32000 in a V5 or V8 sheet record reads as 1.
  static std::optional<WorkbookBlock> Parse(const Layout& layout, std::span<const uint8_t> bytes);
  // A version-0 block (313 bytes, or 3 more of padding) converted into the
  // version-4 layout: the version-4 defaults, then the fields the older block
  // has; not modified.
  static std::optional<WorkbookBlock> FromVersion0(std::span<const uint8_t> bytes);
  // The default block of a new database of `version` in category `categoryId`.
  static WorkbookBlock Defaults(uint16_t version, uint8_t categoryId);

  const Layout& layout() const { return *layout_; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

  uint16_t headerWord() const { return Word(0); }
  void SetHeaderWord(uint16_t v) { SetWord(0, v); }
  // Slot `slot` (0-15): the bytes up to the first NUL, at most 16.
  std::string Name(std::size_t slot) const;
  // Cut to 15 bytes; the rest of the slot NUL.
  void SetName(std::size_t slot, std::string_view name);
  uint8_t SheetId(std::size_t slot) const {
    return bytes_[workbook_format::kSheetIdsOffset + slot];
  }
  void SetSheetId(std::size_t slot, uint8_t id) {
    bytes_[workbook_format::kSheetIdsOffset + slot] = id;
  }
  uint8_t LastSheetId() const { return bytes_[workbook_format::kLastSheetIdOffset]; }
  void SetLastSheetId(uint8_t id) { bytes_[workbook_format::kLastSheetIdOffset] = id; }
  // The version-4 workbook-wide column widths (0-9).
  uint16_t ColumnWidth(std::size_t i) const { return Word(layout_->columnWidths, i * 2); }
  void SetColumnWidth(std::size_t i, uint16_t v) { SetWord(layout_->columnWidths, v, i * 2); }
  uint32_t Properties() const { return DWord(layout_->properties); }
  void SetProperties(uint32_t v) { SetDWord(layout_->properties, v); }
  uint32_t DefaultStyleFlags() const { return DWord(layout_->defaultStyleFlags); }
  void SetDefaultStyleFlags(uint32_t v) { SetDWord(layout_->defaultStyleFlags, v); }
  // The currency character and the byte after it.
  uint8_t Currency(std::size_t i) const { return bytes_[layout_->currency + i]; }
  void SetCurrency(std::size_t i, uint8_t c) { bytes_[layout_->currency + i] = c; }
  uint16_t CurrentSheet() const { return Word(layout_->currentSheet); }
  void SetCurrentSheet(uint16_t v) { SetWord(layout_->currentSheet, v); }
  uint32_t ReservedDouble(std::size_t i) const { return DWord(layout_->reservedDoubles, i * 4); }
  void SetReservedDouble(std::size_t i, uint32_t v) {
    SetDWord(layout_->reservedDoubles, v, i * 4);
  }
  uint8_t CategoryId() const { return bytes_[layout_->categoryId]; }
  void SetCategoryId(uint8_t id) { bytes_[layout_->categoryId] = id; }
  uint8_t Modified() const { return bytes_[layout_->modified]; }
  void SetModified(uint8_t v) { bytes_[layout_->modified] = v; }
  BlockStyle Style(std::size_t i) const;
  void SetStyle(std::size_t i, const BlockStyle& style);
  uint16_t UserStyleCount() const { return Word(layout_->userStyleCount); }
  void SetUserStyleCount(uint16_t v) { SetWord(layout_->userStyleCount, v); }

  // Sheet record `slot` (0-15).
  uint16_t Setting(std::size_t slot, std::size_t k) const;
  void SetSetting(std::size_t slot, std::size_t k, uint16_t v);  // V4: the low byte
  uint32_t SheetDouble(std::size_t slot, std::size_t k) const {
    return DWord(SheetField(slot, layout_->sheet.doubles), k * 4);
  }
  void SetSheetDouble(std::size_t slot, std::size_t k, uint32_t v) {
    SetDWord(SheetField(slot, layout_->sheet.doubles), v, k * 4);
  }
  uint16_t SheetSetting(std::size_t slot) const {
    return Word(SheetField(slot, layout_->sheet.setting));
  }
  void SetSheetSetting(std::size_t slot, uint16_t v) {
    SetWord(SheetField(slot, layout_->sheet.setting), v);
  }
  uint16_t DefaultWidth(std::size_t slot) const {
    return Word(SheetField(slot, layout_->sheet.defaultWidth));
  }
  void SetDefaultWidth(std::size_t slot, uint16_t v) {
    SetWord(SheetField(slot, layout_->sheet.defaultWidth), v);
  }
  // Width `i` below the record's count (20 or 40; V4 none).
  uint16_t Width(std::size_t slot, std::size_t i) const;
  void SetWidth(std::size_t slot, std::size_t i, uint16_t v);
  // The record's last word, not converted (its two bytes as the desktop
  // reads them, little-endian).
  uint16_t LastWord(std::size_t slot) const;
  void SetLastWord(std::size_t slot, uint16_t v);

  // The link (V8 only).
  std::string LinkPath() const;
  // False when the path does not fit (255 bytes at most).
  bool SetLinkPath(std::string_view path);
  uint16_t LinkMethod() const { return Word(layout_->linkMethod); }
  void SetLinkMethod(uint16_t v) { SetWord(layout_->linkMethod, v); }
  uint16_t LinkOption() const { return Word(layout_->linkOption); }
  void SetLinkOption(uint16_t v) { SetWord(layout_->linkOption, v); }
  uint32_t LinkDate() const { return DWord(layout_->linkDate); }
  void SetLinkDate(uint32_t v) { SetDWord(layout_->linkDate, v); }

 private:
  std::size_t SheetField(std::size_t slot, std::size_t field) const;
  uint16_t Word(std::size_t offset, std::size_t plus = 0) const;
  void SetWord(std::size_t offset, uint16_t v, std::size_t plus = 0);
  uint32_t DWord(std::size_t offset, std::size_t plus = 0) const;
  void SetDWord(std::size_t offset, uint32_t v, std::size_t plus = 0);

  const Layout* layout_;
  std::vector<uint8_t> bytes_;
};

}  // namespace brevora::tabrel
