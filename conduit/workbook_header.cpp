#include "conduit/workbook_header.h"

#include <algorithm>

namespace brevora::tabrel {
namespace {

constexpr uint16_t kResetSetting = 4;
constexpr uint16_t kResetDefaultWidth = 47;

void ResetCommon(HeaderCommon& h) { h = HeaderCommon{}; }

}  // namespace

void CWorkbookHeader::Reset() {
  ResetCommon(*this);
  currentSheet = 0;
  for (SheetRecordV5& s : sheets) {
    s = SheetRecordV5{};
    s.setting = kResetSetting;
    s.defaultWidth = kResetDefaultWidth;
  }
}

void CWorkbookHeader_V8::Reset() {
  ResetCommon(*this);
  currentSheet = 0;
  for (SheetRecordV8& s : sheets) {
    s = SheetRecordV8{};
    s.settings = {0, 0, 0, 0, 0, 0, 1, 1};
    s.setting = kResetSetting;
    s.defaultWidth = kResetDefaultWidth;
  }
  linkPath.clear();
  linkMethod = 0;
  linkOption = 0;
  linkDate = 0;
}

void CWorkbookHeader_V8::Fill(const CWorkbookHeader& older) {
  Reset();
  static_cast<HeaderCommon&>(*this) = older;
  versionText.assign(1, '9');  // (not = "9": g++ 12 warns wrongly about that one)
  currentSheet = static_cast<uint16_t>(older.currentSheet);
  for (std::size_t i = 0; i < kHeaderSlots; ++i) {
    const SheetRecordV5& from = older.sheets[i];
    SheetRecordV8& to = sheets[i];
    to.settings = from.settings;
    to.setting = from.setting;
    to.defaultWidth = from.defaultWidth;
    std::copy(from.widths.begin(), from.widths.end(), to.widths.begin());
    to.lastWord = from.lastWord;
  }
}

}  // namespace brevora::tabrel
