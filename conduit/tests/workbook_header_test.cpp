// The header object: Reset, Fill from an older header, and the copies between
// a handheld block and a header of each version, with their corrections.
#include <gtest/gtest.h>

#include "conduit/handheld_workbook.h"
#include "conduit/workbook_header.h"

namespace brevora::tabrel {
namespace {

TEST(WorkbookHeader, Reset) {
  CWorkbookHeader h;
  h.valid = true;
  h.names[3] = "x";
  h.sheets[2].widths[4] = 9;
  h.Reset();
  EXPECT_FALSE(h.valid);
  EXPECT_EQ(h.currency, ' ');
  EXPECT_EQ(h.secondChar, ' ');
  EXPECT_EQ(h.names[3], "");
  for (const SheetRecordV5& s : h.sheets) {
    EXPECT_EQ(s.setting, 4);
    EXPECT_EQ(s.defaultWidth, 47);
    EXPECT_EQ(s.settings, (std::array<uint16_t, 8>{}));
    EXPECT_EQ(s.widths[4], 0);
  }
  CWorkbookHeader_V8 v8;
  v8.linkPath = "/x.xls";
  v8.Reset();
  EXPECT_EQ(v8.linkPath, "");
  for (const SheetRecordV8& s : v8.sheets) {
    EXPECT_EQ(s.settings, (std::array<uint16_t, 8>{0, 0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(s.setting, 4);
    EXPECT_EQ(s.defaultWidth, 47);
  }
}

TEST(WorkbookHeader, FillMakesAVersion9HeaderWithoutLink) {
  CWorkbookHeader older;
  older.valid = true;
  older.versionText = "5";
  older.secondText = "kept";
  older.currentSheet = 2;
  older.defaultStyleFlags = 0x10000022;
  older.currency = '$';
  older.secondChar = '\0';
  older.properties = 22;
  older.sheetCount = 2;
  older.userStyleCount = 3;
  older.names[0] = "Clipboard";
  older.names[1] = "01 Sheet1";
  older.styles[0] = {0x41, "Text"};
  older.sheets[1].settings = {1, 2, 3, 4, 5, 6, 7, 8};
  older.sheets[1].doubles = {11, 12};
  older.sheets[1].setting = 6;
  older.sheets[1].defaultWidth = 50;
  for (std::size_t i = 0; i < 20; ++i) older.sheets[1].widths[i] = static_cast<uint16_t>(30 + i);
  older.sheets[1].lastWord = 5;
  CWorkbookHeader_V8 h;
  h.linkPath = "/stale.xls";
  h.Fill(older);
  EXPECT_TRUE(h.valid);
  EXPECT_EQ(h.versionText, "9");
  EXPECT_EQ(h.secondText, "kept");
  EXPECT_EQ(h.currentSheet, 2);
  EXPECT_EQ(h.defaultStyleFlags, 0x10000022u);
  EXPECT_EQ(h.currency, '$');
  EXPECT_EQ(h.properties, 22u);
  EXPECT_EQ(h.sheetCount, 2);
  EXPECT_EQ(h.userStyleCount, 3);
  EXPECT_EQ(h.names, older.names);
  EXPECT_EQ(h.styles, older.styles);
  EXPECT_EQ(h.sheets[1].settings, older.sheets[1].settings);
  EXPECT_EQ(h.sheets[1].setting, 6);
  EXPECT_EQ(h.sheets[1].defaultWidth, 50);
  EXPECT_EQ(h.sheets[1].widths[19], 49);
  for (std::size_t i = 20; i < 40; ++i) EXPECT_EQ(h.sheets[1].widths[i], 0);
  EXPECT_EQ(h.sheets[1].lastWord, 5);
  EXPECT_EQ(h.linkPath, "");
  EXPECT_EQ(h.linkMethod, 0);
  EXPECT_EQ(h.linkDate, 0u);
  // An older header that was never filled stays so: the handheld keeps its own defaults.
  CWorkbookHeader empty;
  empty.names[0] = "Clipboard";
  h.Fill(empty);
  EXPECT_FALSE(h.valid);
  EXPECT_EQ(h.names[0], "Clipboard");
}

TEST(HandheldHeader, Version4ToHeader) {
  CWorkbook_V4 db(4);
  WorkbookBlock& b = db.block();
  b = WorkbookBlock::Defaults(4, 1);
  b.SetName(2, "Costs");
  b.SetName(4, "After a gap");
  b.SetSetting(3, 0, 200);
  b.SetSheetDouble(3, 1, 77);
  b.SetSheetSetting(3, 8);
  b.SetProperties(0x1016);
  b.SetCurrency(0, 'E');
  CWorkbookHeader h;
  db.CopyHeaderTo(h);
  EXPECT_TRUE(h.valid);
  EXPECT_EQ(h.versionText, "4");
  // Up to the first empty slot.
  EXPECT_EQ(h.sheetCount, 3);
  EXPECT_EQ(h.names[2], "Costs");
  EXPECT_EQ(h.names[4], "");
  EXPECT_EQ(h.sheets[3].settings[0], 200);
  EXPECT_EQ(h.sheets[3].doubles[1], 77u);
  EXPECT_EQ(h.sheets[3].setting, 8);
  EXPECT_EQ(h.sheets[3].defaultWidth, 47);
  EXPECT_EQ(h.sheets[3].widths, (std::array<uint16_t, 20>{}));
  EXPECT_EQ(h.properties, 0x1016u);
  EXPECT_EQ(h.currency, 'E');
  EXPECT_EQ(h.styles[1], (BlockStyle{0x48, "Bold Text"}));
}

TEST(HandheldHeader, Versions5To9ToHeader) {
  CWorkbook_V6 v6;
  v6.block() = WorkbookBlock::Defaults(6, 0);
  v6.block().SetName(3, "Third");
  v6.block().SetWidth(1, 19, 120);
  v6.block().SetSheetDouble(1, 0, 5);
  CWorkbookHeader h;
  v6.CopyHeaderTo(h);
  EXPECT_EQ(h.versionText, "6");
  EXPECT_EQ(h.sheetCount, 3);  // every named slot, wherever it is
  EXPECT_EQ(h.names[1], "Sheet1");
  EXPECT_EQ(h.names[2], "");
  EXPECT_EQ(h.names[3], "Third");
  EXPECT_EQ(h.sheets[1].widths[19], 120);
  EXPECT_EQ(h.sheets[1].doubles[0], 5u);
  EXPECT_EQ(h.defaultStyleFlags, 0xF0000022u);

  CWorkbook_V8 v9(9);
  v9.block() = WorkbookBlock::Defaults(9, 0);
  v9.block().SetLinkPath("/home/u/Plan.xls");
  v9.block().SetLinkMethod(1);
  v9.block().SetLinkOption(2);
  v9.block().SetLinkDate(3900000000u);
  v9.block().SetWidth(2, 39, 88);
  CWorkbookHeader_V8 h8;
  v9.CopyHeaderTo(h8);
  EXPECT_EQ(h8.versionText, "9");
  EXPECT_EQ(h8.linkPath, "/home/u/Plan.xls");
  EXPECT_EQ(h8.linkMethod, 1);
  EXPECT_EQ(h8.linkOption, 2);
  EXPECT_EQ(h8.linkDate, 3900000000u);
  EXPECT_EQ(h8.sheets[2].widths[39], 88);
  EXPECT_EQ(h8.sheets[1].settings, (std::array<uint16_t, 8>{0, 0, 0, 0, 0, 0, 1, 1}));
}

TEST(HandheldHeader, HeaderToBlockWithItsCorrections) {
  CWorkbookHeader h;
  h.valid = true;
  h.names[0] = "Clipboard";
  h.names[1] = "Sheet1";
  h.currentSheet = 1;
  h.sheets[1].widths[0] = 5;  // below 10: 0
  h.sheets[1].widths[1] = 10;
  h.sheets[1].widths[2] = 145;
  h.sheets[1].widths[3] = 146;  // above 145: 0
  h.sheets[1].defaultWidth = 200;
  h.sheets[1].setting = 12;
  h.sheets[2].defaultWidth = 9;
  h.sheets[2].setting = 9;
  h.sheets[1].doubles = {1, 2};
  CWorkbook_V5 v5;
  v5.block() = WorkbookBlock::Defaults(5, 0);
  ASSERT_TRUE(v5.CopyHeaderFrom(h));
  const WorkbookBlock& b = v5.block();
  EXPECT_EQ(b.Width(1, 0), 0);
  EXPECT_EQ(b.Width(1, 1), 10);
  EXPECT_EQ(b.Width(1, 2), 145);
  EXPECT_EQ(b.Width(1, 3), 0);
  EXPECT_EQ(b.DefaultWidth(1), 47);
  EXPECT_EQ(b.SheetSetting(1), 4);
  EXPECT_EQ(b.DefaultWidth(2), 47);
  EXPECT_EQ(b.SheetSetting(2), 9);
  EXPECT_EQ(b.SheetDouble(1, 1), 2u);
  EXPECT_EQ(b.Name(1), "Sheet1");
  EXPECT_EQ(b.Currency(0), ' ');

  // The same through Fill to the version-9 block the conduit writes.
  CWorkbookHeader_V8 h8;
  h8.Fill(h);
  CWorkbook_V8 v9(9);
  v9.block() = WorkbookBlock::Defaults(9, 0);
  ASSERT_TRUE(v9.CopyHeaderFrom(h8));
  EXPECT_EQ(v9.block().Width(1, 0), 0);
  EXPECT_EQ(v9.block().DefaultWidth(1), 47);
  EXPECT_EQ(v9.block().SheetSetting(1), 4);
  EXPECT_EQ(v9.block().Name(2), "");
}

TEST(HandheldHeader, Version4BlockFromHeader) {
  CWorkbookHeader h;
  h.valid = true;
  h.sheets[2].settings = {0x1FF, 2, 3, 4, 5, 6, 7, 8};
  h.sheets[2].doubles = {9, 10};
  h.sheets[2].setting = 11;  // not corrected in the version-4 record
  CWorkbook_V4 v4(4);
  v4.block() = WorkbookBlock::Defaults(4, 0);
  ASSERT_TRUE(v4.CopyHeaderFrom(h));
  EXPECT_EQ(v4.block().Setting(2, 0), 0xFF);  // the low byte
  EXPECT_EQ(v4.block().SheetDouble(2, 1), 10u);
  EXPECT_EQ(v4.block().SheetSetting(2), 11);
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(v4.block().ColumnWidth(i), 0);
}

TEST(HandheldHeader, AHeaderNeverFilledChangesOnlyTheNames) {
  CWorkbook_V8 v9(9);
  v9.block() = WorkbookBlock::Defaults(9, 3);
  const WorkbookBlock before = v9.block();
  CWorkbookHeader_V8 h;
  h.names[0] = "Clipboard";
  h.names[1] = "Renamed";
  ASSERT_TRUE(v9.CopyHeaderFrom(h));
  WorkbookBlock expected = before;
  expected.SetName(1, "Renamed");
  EXPECT_EQ(v9.block().bytes(), expected.bytes());
}

TEST(HandheldHeader, CountSheets) {
  CWorkbook_V8 v9(9);
  v9.block() = WorkbookBlock::Defaults(9, 0);
  v9.block().SetName(1, "");
  v9.block().SetName(2, "Two");
  v9.block().SetName(3, "");
  EXPECT_EQ(v9.CountSheets(1), 1);
  EXPECT_EQ(v9.CountSheets(4), 2);
  EXPECT_EQ(v9.CountSheets(2), 1);
  // Past the sixteen slots only the slots there are count.
  EXPECT_EQ(v9.CountSheets(100), 100 - 14);
}

}  // namespace
}  // namespace brevora::tabrel
