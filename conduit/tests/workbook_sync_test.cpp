// Workbooks synchronized in process: each version's way to the other side,
// the format words on the way from the older forms, what is refused and left
// alone on both sides, and linked office files through a recording converter.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "conduit-framework/category_block.h"
#include "conduit/cell_record.h"
#include "conduit/style_remap.h"
#include "conduit/tests/tabrel_fixture.h"
#include "platform/automation/class_registry.h"
#include "platform/fs/files.h"
#include "platform/hotsync/sync_manager.h"
#include "testing/fake_converter.h"
#include "testing/temp_home.h"

namespace brevora::tabrel {

using conduit::CategoryBlock;
namespace {

using testing::Book;
using testing::DesktopCells;
using testing::DesktopFile;
namespace stdfs = std::filesystem;

constexpr int32_t kSynchronize = 0;

class Sync : public testing::TabrelTest {
 protected:
  // A desktop that has been synchronized before: its category folders exist.
  void OldDesktop() {
    for (const char* category : {"Unfiled", "Business", "Personal"})
      stdfs::create_directories(desktop_ + category);
  }
  bool Ended(int32_t activity) const {
    const auto activities = LogActivities();
    return !activities.empty() && activities.back() == activity && LogTexts().back() == "Tabulyn";
  }
  std::string Path(const std::string& category, const std::string& name) const {
    return desktop_ + category + "/" + name + ".tbr";
  }
};

TEST_F(Sync, AVersion5FileReachesTheHandheldAsVersion9) {
  OldDesktop();
  PutDesktop(
      "Business", "Budget",
      DesktopFile(5, {"1,1,1,\"\",\"Rent\",3758096418,3", "1,2,1,\"=SUM(A1,B2)\",\"9,5\",65,0"},
                  true));
  Run(kSynchronize);
  EXPECT_TRUE(Logged("Tabulyn - Copy Budget to Device."));
  EXPECT_TRUE(Ended(kLogConduitDone));
  const auto db = HandheldDatabase("Budget");
  ASSERT_TRUE(db);
  EXPECT_EQ(db->version, 9);
  // Each format word put in the TAB form once, each second word remapped once.
  EXPECT_EQ(testing::CellTexts(*db),
            (std::vector<std::string>{
                "1\t1\t1\t\tRent\t" + std::to_string(ToTabFormat(3758096418u)) + "\t125",
                "1\t2\t1\t=SUM(A1,B2)\t9,5\t65\t230"}));
  const auto block = testing::BlockOf(*db);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->Name(0), "Clipboard");
  EXPECT_EQ(block->Name(1), "01 Sheet1");
  EXPECT_EQ(block->CategoryId(), kBusiness);
  EXPECT_EQ(block->Modified(), 0);
  EXPECT_EQ(block->DefaultStyleFlags(), 0x10000022u);
  EXPECT_EQ(block->DefaultWidth(1), 47);
  // The desktop file is marked synchronized by its first byte alone.
  std::string expected = DesktopFile(
      5, {"1,1,1,\"\",\"Rent\",3758096418,3", "1,2,1,\"=SUM(A1,B2)\",\"9,5\",65,0"}, true);
  expected[0] = '0';
  EXPECT_EQ(Desktop("Business", "Budget"), expected);
}

TEST_F(Sync, AHandheldWorkbookOfEveryVersionReachesTheDesktopInItsLayout) {
  for (uint16_t version : {4, 5, 6, 7, 8, 9}) {
    const CellRecord cell{1, 2, 3, "=A1", "x", 0xE0000022, 57};
    const CellForm form = CellFormOf(version);
    PutHandheld("Book" + std::to_string(version),
                Book{version, kBusiness, true, {FormatCell(cell, form)}});
  }
  Run(kSynchronize);  // a new desktop: the handheld overwrites it
  EXPECT_TRUE(Ended(kLogConduitDone)) << ::testing::PrintToString(LogTexts());
  for (uint16_t version : {4, 5, 6, 7, 8, 9}) {
    const std::string name = "Book" + std::to_string(version);
    const CellRecord cell{1, 2, 3, "=A1", "x", 0xE0000022, 57};
    // The file of the handheld's version, its cells as they were.
    EXPECT_EQ(Desktop("Business", name),
              DesktopFile(version, {FormatCell(cell, CellFormOf(version))}, false))
        << name;
    EXPECT_TRUE(Logged("Tabulyn - Copy " + name + " to PC."));
    EXPECT_EQ(testing::BlockOf(*HandheldDatabase(name))->Modified(), 0) << name;
    EXPECT_EQ(HandheldDatabase(name)->version, version);
  }
}

TEST_F(Sync, AVersion5WorkbookThereAndBackChangesItsFormatsOnce) {
  const uint32_t format = 0xF0000041;
  PutHandheld("Old", Book{5, 0, false, {"1,1,1,\"\",\"a\"," + std::to_string(format) + ",4"}});
  Run(kSynchronize);
  ASSERT_TRUE(Desktop("Unfiled", "Old"));
  EXPECT_EQ(*DesktopCells(*Desktop("Unfiled", "Old"), 5),
            std::vector<std::string>{"1,1,1,\"\",\"a\"," + std::to_string(format) + ",4"});
  // Changed on the desktop, it goes back as a version-9 workbook.
  std::string text = *Desktop("Unfiled", "Old");
  text[0] = '1';
  PutDesktop("Unfiled", "Old", text);
  Run(kSynchronize);
  EXPECT_TRUE(Logged("Tabulyn - Copy Old to Device."));
  const auto db = HandheldDatabase("Old");
  EXPECT_EQ(db->version, 9);
  EXPECT_EQ(testing::CellTexts(*db),
            std::vector<std::string>{"1\t1\t1\t\ta\t" + std::to_string(ToTabFormat(format)) + "\t" +
                                     std::to_string(RemapFormat2(4))});
  // Back on the desktop as version 9, unchanged.
  text = DesktopFile(9, {}, false);
  ClearLog();
  PutHandheld([&] {
    auto changed = *db;
    auto block = *testing::BlockOf(changed);
    block.SetModified(1);
    changed.appInfo.assign(block.bytes().begin(), block.bytes().end());
    return changed;
  }());
  Run(kSynchronize);
  EXPECT_EQ(*DesktopCells(*Desktop("Unfiled", "Old"), 9), testing::CellTexts(*db));
}

TEST_F(Sync, SheetNamesAreCutTo15Characters) {
  OldDesktop();
  std::string text = DesktopFile(9, {"1\t1\t1\t\tx\t0\t0"}, true);
  text.replace(text.find("\"01 Sheet1\""), 11, "\"Quarterly results 2023\"");
  PutDesktop("Unfiled", "Quarters", text);
  Run(kSynchronize);
  EXPECT_EQ(testing::BlockOf(*HandheldDatabase("Quarters"))->Name(1), "Quarterly resul");
}

// What can't cross unchanged is refused: logged with the file and the line or
// record, nothing written on either side, and the run reported as failed.
TEST_F(Sync, WhatCantCrossIsLeftAloneOnBothSides) {
  struct Case {
    std::string what;
    std::optional<std::string> desktop;  // a desktop file of "Book" in Unfiled
    std::optional<testing::TestDatabase> handheld;
    std::string line;  // the log line after "Tabulyn - Book: "
  };
  std::string duplicate = DesktopFile(9, {}, true);
  duplicate.replace(duplicate.find("\r\n2\r\n\"Clipboard\""), 17,
                    "\r\n3\r\n\"Clipboard\"\r\n\"Summary of 2023 A\"");
  duplicate.replace(duplicate.find("\"01 Sheet1\""), 11, "\"summary of 2023 b\"");
  std::string gap = DesktopFile(9, {}, true);
  gap.replace(gap.find("\r\n2\r\n\"Clipboard\""), 17, "\r\n3\r\n\"Clipboard\"\r\n\"\"");
  WorkbookBlock brokenName = WorkbookBlock::Defaults(9, 0);
  brokenName.SetName(1, "Two\nlines");
  WorkbookBlock brokenCurrency = WorkbookBlock::Defaults(9, 0);
  brokenCurrency.SetCurrency(0, '\n');
  WorkbookBlock quotedCurrency = WorkbookBlock::Defaults(6, 0);
  quotedCurrency.SetCurrency(1, '"');
  const std::string path = desktop_ + "Unfiled/Book.tbr";
  const Case cases[] = {
      {"a bad row in the middle",
       DesktopFile(9, {"1\t1\t1\t\ta\t0\t0", "1\tx\t1\t\tb\t0\t0", "1\t3\t1\t\tc\t0\t0"}, true),
       std::nullopt, path + ", line 65: the row is not a number."},
      {"sheet 0", DesktopFile(6, {"0\t1\t1\t\ta\t0\t0"}, true), std::nullopt,
       path + ", line 60: the sheet is below 1."},
      {"a blank line among the cells",
       DesktopFile(9, {"1\t1\t1\t\ta\t0\t0", "", "1\t2\t1\t\tb\t0\t0"}, true), std::nullopt,
       path + ", line 65: a blank line among the cells."},
      {"a tab inside a comma cell", DesktopFile(5, {"1,1,1,\"\",\"a\tb\",0,0"}, true), std::nullopt,
       path + ", line 60: the value of the cell at sheet 1, row 1, column 1 holds a tab."},
      {"names the same in 15 characters", duplicate, std::nullopt,
       path + ": the sheet names 'Summary of 2023 A' and 'summary of 2023 b' are the same in their "
              "first 15 "
              "characters; please rename one of them."},
      {"an empty sheet name before another", gap, std::nullopt,
       path + ": sheet name 2 is empty, and the handheld can't keep an empty name before another."},
      {"a cell beyond the named sheets",
       DesktopFile(9, {"2\t1\t1\t\ta\t0\t0", "3\t1\t1\t\tb\t0\t0"}, true), std::nullopt,
       path + ", line 65: the cell at sheet 3, row 1, column 1 is beyond the named sheets; the "
              "handheld would "
              "put it on another sheet."},
      {"a handheld record that is not a cell", std::nullopt,
       testing::WorkbookDatabase("Book",
                                 Book{9, 0, true, {"1\t1\t1\t\ta\t0\t0", "1\t0\t1\t\tb\t0\t0"}}),
       "the handheld's copy, record 1: the row is below 1."},
      {"a line break in a handheld text", std::nullopt,
       testing::WorkbookDatabase("Book", Book{9, 0, true, {"1\t1\t1\t\tone\ntwo\t0\t0"}}),
       "the handheld's copy: the value of the cell at sheet 1, row 1, column 1 holds a line "
       "break."},
      {"a quote in a handheld text for a comma file", std::nullopt,
       testing::WorkbookDatabase("Book", Book{5, 0, true, {"1,1,1,\"\",\"say \"\"hi\"\"\",0,0"}}),
       "the handheld's copy: the value of the cell at sheet 1, row 1, column 1 holds a double "
       "quote."},
      {"a line break in a sheet name", std::nullopt,
       testing::WorkbookDatabase("Book", 9, brokenName, {}),
       "the handheld's copy: the sheet name 'Two\nlines' holds a line break."},
      {"a line break in the currency", std::nullopt,
       testing::WorkbookDatabase("Book", 9, brokenCurrency, {}),
       "the handheld's copy: the currency holds a line break."},
      {"a quote in the currency", std::nullopt,
       testing::WorkbookDatabase("Book", 6, quotedCurrency, {}),
       "the handheld's copy: the currency holds a double quote."},
  };
  for (const Case& c : cases) {
    stdfs::remove_all(desktop_);
    stdfs::remove_all(device_);
    stdfs::create_directories(device_);
    OldDesktop();
    if (c.desktop) PutDesktop("Unfiled", "Book", *c.desktop);
    if (c.handheld) PutHandheld(*c.handheld);
    const auto before = State();
    ClearLog();
    Run(kSynchronize);
    const auto after = State();
    EXPECT_EQ(after.desktop, before.desktop) << c.what;
    EXPECT_EQ(after.handheld.contains("Book"), before.handheld.contains("Book")) << c.what;
    if (before.handheld.contains("Book")) {
      EXPECT_EQ(after.handheld.at("Book"), before.handheld.at("Book")) << c.what;
    }
    EXPECT_TRUE(Logged("Tabulyn - Book: " + c.line)) << c.what << "\n"
                                                     << ::testing::PrintToString(LogTexts());
    EXPECT_TRUE(Ended(kLogConduitFailed)) << c.what;
  }
}

TEST_F(Sync, HandheldWorkbooksItCantTakeAreLeftAlone) {
  OldDesktop();
  std::vector<uint8_t> v0(313, 0);
  auto ancient = testing::WorkbookDatabase("Ancient", Book{4, 0, true, {"1,1,1,\"\",\"a\",0,0"}});
  ancient.version = 0;
  ancient.appInfo.assign(v0.begin(), v0.end());
  PutHandheld(ancient);
  auto three = testing::WorkbookDatabase("Three", Book{4, 0, true, {"1,1,1,\"\",\"a\",0,0"}});
  three.version = 3;
  PutHandheld(three);
  auto shortBlock = testing::WorkbookDatabase("Short", Book{9, 0, true, {}});
  shortBlock.appInfo.resize(2000);
  PutHandheld(shortBlock);
  const auto before = State();
  Run(kSynchronize);
  const auto after = State();
  for (const char* name : {"Ancient", "Three", "Short"}) {
    EXPECT_EQ(after.handheld.at(name), before.handheld.at(name)) << name;
    EXPECT_FALSE(Desktop("Unfiled", name)) << name;
  }
  EXPECT_TRUE(
      Logged("Tabulyn - Three: the handheld's copy can't be read -- left as it is on both sides."));
  EXPECT_TRUE(
      Logged("Tabulyn - Short: the handheld's copy can't be read -- left as it is on both sides."));
  EXPECT_TRUE(Ended(kLogConduitFailed));
}

TEST_F(Sync, TheOlderMainDatabaseIsTakenOverAndTheReservedNameLeftAlone) {
  CategoryBlock categories = CategoryBlock::Defaults();
  categories.labels[3] = "Travel";
  const auto bytes = categories.Bytes();
  testing::TestDatabase old = brevora::testing::Database("MainLanternspanDB");
  old.type = "Data";
  old.creator = "Zeri";
  old.version = 9;
  old.appInfo.assign(bytes.begin(), bytes.end());
  PutHandheld(old);
  const auto reserved =
      testing::WorkbookDatabase("Tabrel1DB", Book{9, 0, true, {"1\t1\t1\t\tx\t0\t0"}});
  PutHandheld(reserved);
  Run(kSynchronize);
  EXPECT_FALSE(HandheldDatabase("MainLanternspanDB"));
  const auto main = HandheldDatabase("MainTabulynDB");
  ASSERT_TRUE(main);
  const auto block = CategoryBlock::Parse(
      std::span(reinterpret_cast<const uint8_t*>(main->appInfo.data()), main->appInfo.size()));
  ASSERT_TRUE(block);
  EXPECT_EQ(block->labels[3], "Travel");
  EXPECT_TRUE(stdfs::is_directory(desktop_ + "Travel"));
  EXPECT_EQ(HandheldDatabase("Tabrel1DB"), reserved);
  EXPECT_FALSE(Desktop("Unfiled", "Tabrel1DB"));
  EXPECT_TRUE(Ended(kLogConduitDone));
}

class Linked : public Sync {
 protected:
  void SetUp() override {
    Sync::SetUp();
    office_ = brevora::testing::MakeTempDir("office");
  }
  void TearDown() override {
    UnregisterClass("TabulynPC.SDK");
    Sync::TearDown();
  }
  static uint32_t SecondsOf(const std::string& path) {
    return static_cast<uint32_t>(std::llround(fs::FileDateTime(path) * 86400.0));
  }
  std::string office_;
};

TEST_F(Linked, ANewerOfficeFileIsConvertedIn) {
  brevora::testing::RegisterFakeConverter(brevora::testing::FakeConverterKind::Spreadsheet);
  OldDesktop();
  const std::string xls = office_ + "/Plan.xls";
  // The fake converter copies the office file over the workbook: here the
  // office file holds the workbook it converts into.
  std::ofstream(xls, std::ios::binary)
      << DesktopFile(9, {"1\t1\t1\t\tfrom Excel\t0\t0"}, false, testing::Link{xls, 0, 1, 0});
  const uint32_t newer = SecondsOf(xls);
  PutDesktop("Business", "Plan",
             DesktopFile(9, {"1\t1\t1\t\told\t0\t0"}, false, testing::Link{xls, 0, 1, newer - 60}));
  Run(kSynchronize);
  using Call = brevora::testing::ConverterCall;
  EXPECT_EQ(brevora::testing::FakeConverterCalls(),
            (std::vector<Call>{{"XLSToTBRExt_Sync", xls, Path("Business", "Plan"), "1"}}));
  EXPECT_EQ(testing::CellTexts(*HandheldDatabase("Plan")),
            std::vector<std::string>{"1\t1\t1\t\tfrom Excel\t0\t0"});
  EXPECT_TRUE(Ended(kLogConduitDone));
}

TEST_F(Linked, AHandheldChangeIsPushedOutAndTheFileGetsTheLinkDate) {
  brevora::testing::RegisterFakeConverter(brevora::testing::FakeConverterKind::Spreadsheet);
  const std::string xls = office_ + "/Plan.xls";
  WorkbookBlock block = WorkbookBlock::Defaults(9, kBusiness);
  block.SetModified(1);
  block.SetLinkPath(xls);
  block.SetLinkMethod(1);
  block.SetLinkOption(2);
  const uint32_t linkDate = 3900000000u;  // in 2023
  block.SetLinkDate(linkDate);
  PutHandheld(testing::WorkbookDatabase("Plan", 9, block, {"1\t1\t1\t\tfrom the handheld\t0\t0"}));
  Run(kSynchronize);
  using Call = brevora::testing::ConverterCall;
  EXPECT_EQ(brevora::testing::FakeConverterCalls(),
            (std::vector<Call>{{"TBRToXLSExt_Sync", Path("Business", "Plan"), xls, "2"}}));
  ASSERT_TRUE(stdfs::exists(xls));
  EXPECT_EQ(SecondsOf(xls), linkDate);
  EXPECT_TRUE(Ended(kLogConduitDone));
}

TEST_F(Linked, AFailedConversionIsLoggedAndTheWorkbookStillSyncs) {
  const std::string xls = office_ + "/Plan.xls";
  WorkbookBlock block = WorkbookBlock::Defaults(9, kBusiness);
  block.SetModified(1);
  block.SetLinkPath(xls);
  block.SetLinkDate(3900000000u);
  for (bool registered : {false, true}) {
    if (registered) {
      brevora::testing::RegisterFakeConverter(brevora::testing::FakeConverterKind::Spreadsheet);
      brevora::testing::SetFakeConverterFails(true);
    }
    PutHandheld(testing::WorkbookDatabase("Plan", 9, block, {"1\t1\t1\t\tx\t0\t0"}));
    ClearLog();
    Run(kSynchronize);
    // Why, in the converter's words; or that there is no converter.
    const std::string why = registered ? "The fake converter was told to fail."
                                       : "ActiveX component can't create object";
    EXPECT_TRUE(Logged("Tabulyn - Linked file '" + xls + "' could not be converted. " + why))
        << registered;
    EXPECT_TRUE(Logged("Tabulyn - Copy Plan to PC.")) << registered;
    EXPECT_TRUE(Desktop("Business", "Plan")) << registered;
    EXPECT_FALSE(stdfs::exists(xls));
  }
  EXPECT_EQ(brevora::testing::FakeConverterCalls().size(), 1u);
}

}  // namespace
}  // namespace brevora::tabrel
