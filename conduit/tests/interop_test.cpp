// The workbook conduit and the desktop program's workbook (sheet/) on the same
// files: a desktop file the conduit writes opens in the Workbook with all it
// holds, a file the Workbook saves goes to the handheld and back with the same
// cell lines, and handheld workbooks of versions 4 and 5 arrive as files the
// Workbook opens. The handheld database the conduit writes also opens as a
// handheld spreadsheet database of sheet/.
#include <gtest/gtest.h>

#include <filesystem>

#include "conduit/cell_record.h"
#include "conduit/tests/tabrel_fixture.h"
#include "platform/hotsync/device_names.h"
#include "sheet/workbook.h"
#include "sheet/workbook_internal.h"

namespace brevora::tabrel {
namespace {

using testing::Book;
using testing::DesktopCells;
namespace stdfs = std::filesystem;

constexpr int32_t kSynchronize = 0;

class Interop : public testing::TabrelTest {
 protected:
  Ref<sheet::Workbook> Open(const std::string& category, const std::string& name) {
    Ref<sheet::Workbook> wb = MakeRef<sheet::Workbook>();
    sheet::WorkbookInternal::SetLinkStep(*wb, nullptr);
    EXPECT_TRUE(wb->OpenFromDisk(desktop_ + category + "/" + name + ".tbr"));
    return wb;
  }
};

TEST_F(Interop, AFileTheConduitWritesOpensInTheWorkbookWithAllItHolds) {
  WorkbookBlock block = WorkbookBlock::Defaults(9, 1);
  block.SetModified(1);
  block.SetName(1, "Income");
  block.SetName(2, "Costs");
  block.SetStyle(6, {0x402, "Date"});
  block.SetUserStyleCount(7);
  block.SetWidth(1, 0, 60);
  block.SetWidth(1, 39, 30);
  block.SetSetting(2, 0, 3);  // frozen at row 3
  block.SetSetting(2, 4, 7);  // current cell at row 7
  block.SetSheetSetting(2, 5);
  block.SetProperties(0x1016);
  block.SetDefaultStyleFlags(0xF0000022);
  block.SetCurrentSheet(2);
  block.SetLinkPath("/home/alice/Plan.xls");
  block.SetLinkMethod(2);
  block.SetLinkOption(1);
  block.SetLinkDate(3900000000u);
  const std::vector<std::string> cells = {"1\t1\t1\t=A2\tHello, world\t65\t0",
                                          "2\t3\t4\t\t12.5\t4026531874\t230", "1\t2\t1\t\t\t0\t0"};
  PutHandheld(testing::WorkbookDatabase("Plan", 9, block, cells));
  Run(kSynchronize);
  ASSERT_TRUE(Desktop("Business", "Plan"));

  const Ref<sheet::Workbook> wb = Open("Business", "Plan");
  ASSERT_EQ(wb->Sheets().Count(), 2);
  EXPECT_EQ(wb->Sheets().Item(1).name(), "Income");
  EXPECT_EQ(wb->Sheets().Item(2).name(), "Costs");
  const sheet::Cell& a1 = wb->Sheets().Item(1).Cells().ItemDirect(1, 1);
  EXPECT_EQ(a1.Formula(), "=A2");
  EXPECT_EQ(a1.Value(), "Hello, world");
  EXPECT_EQ(a1.FormatBits(), 65u);
  const sheet::Cell& d3 = wb->Sheets().Item(2).Cells().ItemDirect(3, 4);
  EXPECT_EQ(d3.Value(), "12.5");
  EXPECT_EQ(d3.FormatBits(), 4026531874u);
  EXPECT_EQ(d3.Format2(), 230);
  EXPECT_EQ(wb->Sheets().Item(1).Cells().Count(), 2);
  EXPECT_EQ(wb->Sheets().Item(1).ColumnWidths(0), 60);
  EXPECT_EQ(wb->Sheets().Item(1).ColumnWidths(39), 30);
  EXPECT_EQ(wb->Sheets().Item(2).FrozenCells()[0], 3);
  EXPECT_EQ(wb->Sheets().Item(2).CurrentCell()[0], 7);
  EXPECT_EQ(sheet::WorkbookInternal::Header(*wb).SheetParams[2].OverflowColumn, 5);
  EXPECT_EQ(wb->Styles().Item("Date").Format().Raw(), 0x402);
  EXPECT_EQ(wb->Styles().Item("Percentage").Format().Raw(), 0x20000202);
  EXPECT_EQ(wb->HeaderExtra(), 7);
  EXPECT_EQ(wb->Properties(), 0x1016);
  EXPECT_EQ(wb->DefaultStyle().Raw(), 0xF0000022);
  EXPECT_EQ(wb->CurrentSheet(), 2);
  EXPECT_EQ(wb->CurrencyCharacter(), "$");
  EXPECT_EQ(wb->LinkedXLSFileName(), "/home/alice/Plan.xls");
  EXPECT_EQ(wb->LinkedXLSFileModDateTime(), 3900000000.0);
  EXPECT_EQ(wb->LinkedXLSSyncMethod(), 2);
  EXPECT_EQ(wb->LinkedXLSSyncOption(), 1);
  EXPECT_FALSE(wb->IsModified());
}

TEST_F(Interop, AFileTheWorkbookSavesGoesToTheHandheldAndBackWithTheSameCells) {
  stdfs::create_directories(desktop_ + "Unfiled");
  Ref<sheet::Workbook> wb = MakeRef<sheet::Workbook>();
  sheet::WorkbookInternal::SetLinkStep(*wb, nullptr);
  wb->InitFromDefaults();
  wb->Sheets().Add("Second");
  sheet::Cell& a1 = wb->Sheets().Item(1).Cells().Add(1, 1);
  a1.SetFormula("=SUM(B1,C1)");
  a1.SetValue("3");
  sheet::Cell& b2 = wb->Sheets().Item(2).Cells().Add(2, 2);
  b2.SetValue("text with \"quotes\", and commas");
  b2.SetFormat2(131302);
  wb->Sheets().Item(1).SetColumnWidths(3, 72);
  const std::string path = desktop_ + "Unfiled/Round.tbr";
  wb->WriteToDisk(path);
  const auto before = DesktopCells(*Desktop("Unfiled", "Round"), 9);
  ASSERT_TRUE(before);
  ASSERT_EQ(before->size(), 2u);

  Run(kSynchronize);
  const auto db = HandheldDatabase("Round");
  ASSERT_TRUE(db);
  EXPECT_EQ(testing::CellTexts(*db), *before);

  // Changed on the handheld, it comes back.
  auto changed = *db;
  auto block = *testing::BlockOf(changed);
  block.SetModified(1);
  changed.appInfo.assign(block.bytes().begin(), block.bytes().end());
  PutHandheld(changed);
  Run(kSynchronize);
  EXPECT_TRUE(Logged("Tabulyn - Copy Round to PC."));
  EXPECT_EQ(DesktopCells(*Desktop("Unfiled", "Round"), 9), before);
  const Ref<sheet::Workbook> back = Open("Unfiled", "Round");
  EXPECT_EQ(back->Sheets().Item(2).name(), "Second");
  EXPECT_EQ(back->Sheets().Item(2).Cells().ItemDirect(2, 2).Value(),
            "text with \"quotes\", and commas");
  EXPECT_EQ(back->Sheets().Item(1).ColumnWidths(3), 72);
  EXPECT_EQ(back->Styles().Count(), wb->Styles().Count());
}

TEST_F(Interop, HandheldWorkbooksOfVersions4And5ArriveAsFilesTheWorkbookOpens) {
  for (uint16_t version : {4, 5}) {
    const std::string name = "Old" + std::to_string(version);
    PutHandheld(
        name,
        Book{version, 2, true, {"1,1,1,\"=B1\",\"a, b\",3758096449,230", "1,4,2,\"\",\"\",65,0"}});
  }
  Run(kSynchronize);
  for (uint16_t version : {4, 5}) {
    const std::string name = "Old" + std::to_string(version);
    ASSERT_TRUE(Desktop("Personal", name)) << name;
    const Ref<sheet::Workbook> wb = Open("Personal", name);
    ASSERT_EQ(wb->Sheets().Count(), 1) << name;
    EXPECT_EQ(wb->Sheets().Item(1).name(), "01 Sheet1");
    const sheet::Cell& a1 = wb->Sheets().Item(1).Cells().ItemDirect(1, 1);
    EXPECT_EQ(a1.Formula(), "=B1");
    EXPECT_EQ(a1.Value(), "a, b");
    EXPECT_EQ(a1.FormatBits(), ToTabFormat(3758096449u));
    EXPECT_EQ(a1.Format2(), 230);
    EXPECT_EQ(wb->Sheets().Item(1).Cells().ItemDirect(4, 2).FormatBits(), 65u);
  }
}

TEST_F(Interop, TheHandheldDatabaseTheConduitWritesOpensAsASpreadsheetDatabase) {
  stdfs::create_directories(desktop_ + "Unfiled");
  PutDesktop("Unfiled", "ToHandheld", testing::DesktopFile(9, {"1\t2\t3\t=A1\tx\t65\t230"}, true));
  Run(kSynchronize);
  Ref<sheet::Workbook> wb = MakeRef<sheet::Workbook>();
  sheet::WorkbookInternal::SetLinkStep(*wb, nullptr);
  ASSERT_TRUE(wb->OpenFromPDB(device_ + "/" + hotsync::DatabaseFileName("ToHandheld")));
  EXPECT_EQ(wb->Sheets().Item(1).name(), "01 Sheet1");
  EXPECT_EQ(wb->Sheets().Item(1).Cells().ItemDirect(2, 3).Value(), "x");
  EXPECT_EQ(wb->Sheets().Item(1).Cells().ItemDirect(2, 3).Format2(), 230);
}

}  // namespace
}  // namespace brevora::tabrel
