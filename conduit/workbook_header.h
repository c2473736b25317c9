#pragma once
// The workbook header as it travels between a handheld block and a desktop
// file: CWorkbookHeader for versions 4 to 7 (sheet records of the version-5
// form) and CWorkbookHeader_V8 for versions 8 and 9 (sheet records of the
// version-8 form, and the link). A copy to the handheld turns an older header
// into the newer kind with CWorkbookHeader_V8::Fill.
#include <array>
#include <cstdint>
#include <string>

#include "conduit/workbook_block.h"
#include "conduit/workbook_format.h"

namespace brevora::tabrel {

inline constexpr std::size_t kHeaderSlots = workbook_format::kSheetSlots;

// What the two kinds share.
struct HeaderCommon {
  bool valid = false;  // the header's fields were filled (not only the names)
  std::string versionText;
  std::string secondText;  // carried along, written nowhere
  uint32_t defaultStyleFlags = 0;
  char currency = ' ';  // the currency character and a second one
  char secondChar = ' ';
  uint16_t sheetCount = 0;
  uint32_t properties = 0;
  uint16_t userStyleCount = 0;
  std::array<std::string, kHeaderSlots> names;
  std::array<BlockStyle, workbook_format::kStyleCount> styles;
  bool operator==(const HeaderCommon&) const = default;
};

struct SheetRecordV5 {
  std::array<uint16_t, workbook_format::kSettings> settings{};
  std::array<uint32_t, 2> doubles{};
  uint16_t setting = 0;  // the setting of 0 to 9
  uint16_t defaultWidth = 0;
  std::array<uint16_t, 20> widths{};
  uint16_t lastWord = 0;
  bool operator==(const SheetRecordV5&) const = default;
};

struct SheetRecordV8 {
  std::array<uint16_t, workbook_format::kSettings> settings{};
  uint16_t setting = 0;
  uint16_t defaultWidth = 0;
  std::array<uint16_t, 40> widths{};
  uint16_t lastWord = 0;
  bool operator==(const SheetRecordV8&) const = default;
};

struct CWorkbookHeader : HeaderCommon {
  int32_t currentSheet = 0;
  std::array<SheetRecordV5, kHeaderSlots> sheets;

  CWorkbookHeader() { Reset(); }
  // Not valid, texts empty, numbers 0, both characters a space, every sheet
  // record 0 with the setting 4 and the default column width 47.
  void Reset();
  bool operator==(const CWorkbookHeader&) const = default;
};

struct CWorkbookHeader_V8 : HeaderCommon {
  uint16_t currentSheet = 0;
  std::array<SheetRecordV8, kHeaderSlots> sheets;
  std::string linkPath;  // the linked office file; at most 255 bytes
  uint16_t linkMethod = 0;
  uint16_t linkOption = 0;
  uint32_t linkDate = 0;  // seconds since 1899-12-30, local time

  CWorkbookHeader_V8() { Reset(); }
  // As CWorkbookHeader::Reset, with the sheet records' settings 0, 0, 0, 0,
  // 0, 0, 1, 1 and no link.
  void Reset();
  // A reset header filled from an older one: version text "9", the fields
  // copied, widths 20 to 39 0, the double words dropped, no link. The older
  // header's valid flag is kept.
  void Fill(const CWorkbookHeader& older);
  bool operator==(const CWorkbookHeader_V8&) const = default;
};

}  // namespace brevora::tabrel
