// The handheld workbook classes over a device folder: a new database and its
// block, cells in both forms, records that are not cells, the class of each
// version, and the version-0 block.
#include <gtest/gtest.h>

#include "conduit/handheld_workbook.h"
#include "conduit/tests/tabrel_fixture.h"

namespace brevora::tabrel {
namespace {

using testing::Book;
using testing::TabrelTest;

class Handheld : public TabrelTest {
 protected:
  // Every cell of `name` read with the class of `version`, up to the first
  // result that is not a cell.
  std::vector<CellRecord> ReadAll(const std::string& name, uint16_t version,
                                  HandheldWorkbook::CellRead& last, std::string& problem) {
    Connect();
    const auto db = HandheldWorkbookFor(version);
    EXPECT_TRUE(db->OpenOrCreate(name, "", 0));
    std::vector<CellRecord> cells;
    CellRecord cell;
    while ((last = db->ReadNextCell(cell, problem)) == HandheldWorkbook::CellRead::Cell)
      cells.push_back(cell);
    db->Close();
    return cells;
  }
};

TEST_F(Handheld, ANewDatabaseHasTheDefaultsOfItsVersion) {
  Connect();
  CWorkbook_V8 db(9);
  ASSERT_TRUE(db.OpenOrCreate("Fresh", "Personal", 2));
  EXPECT_TRUE(db.created());
  ASSERT_TRUE(db.SetNextCell({1, 2, 3, "=A1", "5", 34, 230}));
  ASSERT_TRUE(db.Close());
  session_.reset();
  const auto stored = HandheldDatabase("Fresh");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, "Data");
  EXPECT_EQ(stored->creator, "Zeri");
  EXPECT_EQ(stored->version, 9);
  EXPECT_EQ(std::vector<uint8_t>(stored->appInfo.begin(), stored->appInfo.end()),
            WorkbookBlock::Defaults(9, 2).bytes());
  ASSERT_EQ(stored->records.size(), 1u);
  EXPECT_EQ(stored->records[0].data, std::string("1\t2\t3\t=A1\t5\t34\t230\0", 19));

  // Opened again, it is found, not created.
  Connect();
  CWorkbook_V8 again(9);
  ASSERT_TRUE(again.OpenOrCreate("Fresh", "Personal", 2));
  EXPECT_FALSE(again.created());
  EXPECT_EQ(again.GetCategoryID(), 2);
  EXPECT_FALSE(again.IsModified());
}

TEST_F(Handheld, CommaCellsAsTheyStand) {
  PutHandheld("Old",
              Book{5, 0, true, {"1,1,1,\"\",\"a,b\",3758096418,7", "2,3,4,\"=B2\",\"\",65,0"}});
  HandheldWorkbook::CellRead last;
  std::string problem;
  const auto cells = ReadAll("Old", 5, last, problem);
  EXPECT_EQ(last, HandheldWorkbook::CellRead::End);
  // The format word stays as the comma form holds it.
  EXPECT_EQ(cells, (std::vector<CellRecord>{{1, 1, 1, "", "a,b", 3758096418u, 7},
                                            {2, 3, 4, "=B2", "", 65, 0}}));
}

TEST_F(Handheld, TabCellsCountTheNamedSlots) {
  WorkbookBlock block = WorkbookBlock::Defaults(9, 0);
  block.SetName(2, "");
  block.SetName(3, "");
  block.SetName(4, "Fourth");
  block.SetName(5, "Fifth");
  PutHandheld(testing::WorkbookDatabase(
      "Gaps", 9, block,
      {"1\t1\t1\t\ta\t0\t0", "5\t2\t2\t\tb\t3758096418\t0", "4\t1\t1\t\tc\t0\t0"}));
  HandheldWorkbook::CellRead last;
  std::string problem;
  const auto cells = ReadAll("Gaps", 9, last, problem);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0].sheet, 1);
  EXPECT_EQ(cells[1].sheet, 3);             // slots 2 and 3 are empty
  EXPECT_EQ(cells[1].format, 3758096418u);  // no change in the TAB form
  EXPECT_EQ(cells[2].sheet, 2);
}

TEST_F(Handheld, ARecordIsReadAtItsLength) {
  const std::string value(5000, 'v');
  PutHandheld("Long", Book{9, 0, false, {"1\t1\t1\t\t" + value + "\t0\t0"}});
  HandheldWorkbook::CellRead last;
  std::string problem;
  const auto cells = ReadAll("Long", 9, last, problem);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0].value, value);
  // A record without its NUL is read to its end.
  auto db = testing::WorkbookDatabase("NoNul", Book{9, 0, false, {}});
  db.records.push_back({0, 1, "1\t1\t2\t\tx\t0\t0"});
  PutHandheld(db);
  const auto noNul = ReadAll("NoNul", 9, last, problem);
  ASSERT_EQ(noNul.size(), 1u);
  EXPECT_EQ(noNul[0].value, "x");
}

TEST_F(Handheld, RecordsThatAreNotCells) {
  struct Case {
    uint16_t version;
    std::vector<std::string> cells;
    std::string problem;
  };
  const Case cases[] = {
      {9, {"1\t1\t1\t\ta\t0\t0", "1\tx\t1\t\ta\t0\t0"}, "record 1: the row is not a number."},
      {9, {"0\t1\t1\t\ta\t0\t0"}, "record 0: the sheet is below 1."},
      {9, {""}, "record 0: the line does not have seven fields separated by tabs."},
      {4,
       {"1,1,1,\"a\",\"b\",0,0", "1,1,1,\"a\",\"b\",0"},
       "record 1: the line does not have seven fields separated by commas."},
  };
  for (const Case& c : cases) {
    PutHandheld("Bad", Book{c.version, 0, false, c.cells});
    HandheldWorkbook::CellRead last;
    std::string problem;
    ReadAll("Bad", c.version, last, problem);
    EXPECT_EQ(last, HandheldWorkbook::CellRead::Bad);
    EXPECT_EQ(problem, c.problem);
  }
}

TEST_F(Handheld, AFailingReadIsNotTheEnd) {
  PutHandheld("Two", Book{9, 0, false, {"1\t1\t1\t\ta\t0\t0", "1\t2\t1\t\tb\t0\t0"}});
  // Open, the block, the first record; the fourth call fails.
  session_.reset();
  session_ = std::make_unique<hotsync::DeviceSession>(device_, hotsync::Faults{4, {}, {}, {}});
  CWorkbook_V8 db(9);
  ASSERT_TRUE(db.OpenOrCreate("Two", "", 0));
  CellRecord cell;
  std::string problem;
  ASSERT_EQ(db.ReadNextCell(cell, problem), HandheldWorkbook::CellRead::Cell);
  EXPECT_EQ(db.ReadNextCell(cell, problem), HandheldWorkbook::CellRead::Failed);
}

TEST_F(Handheld, TheClassOfEachVersion) {
  struct Case {
    uint16_t version;
    bool read;
    CellForm form;
  };
  const Case cases[] = {{0, true, CellForm::Comma},   {3, false, CellForm::Comma},
                        {4, true, CellForm::Comma},   {5, true, CellForm::Comma},
                        {6, true, CellForm::Tab},     {7, true, CellForm::Tab},
                        {8, true, CellForm::Tab},     {9, true, CellForm::Tab},
                        {10, false, CellForm::Comma}, {12, false, CellForm::Comma}};
  for (const Case& c : cases) {
    const auto db = HandheldWorkbookFor(c.version);
    EXPECT_EQ(db->version(), c.version);
    EXPECT_EQ(db->form(), c.form) << c.version;
    const bool v4Class = dynamic_cast<CWorkbook_V4*>(db.get()) != nullptr;
    EXPECT_EQ(v4Class, c.version < 5 || c.version > 9) << c.version;
    // A database of the version, with a block of the layout of its class.
    const uint16_t layoutVersion = c.version == 0 || c.version > 9 ? 4 : c.version;
    std::vector<uint8_t> block = WorkbookBlock::Defaults(layoutVersion, 1).bytes();
    if (c.version == 0) block.resize(313);
    const std::string name = "V" + std::to_string(c.version);
    auto stored = testing::WorkbookDatabase(name, Book{layoutVersion, 1, false, {}});
    stored.version = c.version;
    stored.appInfo.assign(block.begin(), block.end());
    PutHandheld(stored);
    Connect();
    const auto opened = HandheldWorkbookFor(c.version);
    ASSERT_TRUE(opened->Open(name, ""));
    EXPECT_EQ(opened->ReadState(), c.read) << c.version;
  }
}

TEST_F(Handheld, AVersion0DatabaseIsListedWithItsCategory) {
  std::vector<uint8_t> v0(313, 0);
  v0[0] = 0x7F;
  v0[1] = 0xFF;
  v0[304] = 2;  // its category
  auto stored = testing::WorkbookDatabase("Ancient", Book{4, 0, false, {}});
  stored.version = 0;
  stored.appInfo.assign(v0.begin(), v0.end());
  PutHandheld(stored);
  Connect();
  const auto db = HandheldWorkbookFor(0);
  ASSERT_TRUE(db->Open("Ancient", ""));
  ASSERT_TRUE(db->ReadState());
  EXPECT_EQ(db->GetCategoryID(), 2);
  EXPECT_FALSE(db->IsModified());
  EXPECT_EQ(db->block().layout().size, 968u);
}

TEST_F(Handheld, ServerSyncIsBit13OfVersion8AndLater) {
  for (uint16_t version : {5, 6, 7, 8, 9}) {
    const auto db = HandheldWorkbookFor(version);
    db->InitDefaults(0);
    db->block().SetProperties(22 | 0x2000);
    EXPECT_EQ(db->IsServerSync(), version >= 8) << version;
    db->block().SetProperties(22);
    EXPECT_FALSE(db->IsServerSync());
  }
}

TEST_F(Handheld, CellsAreWrittenInTheFormOfTheClass) {
  Connect();
  CWorkbook_V5 v5;
  ASSERT_TRUE(v5.OpenOrCreate("Five", "", 0));
  ASSERT_TRUE(v5.SetNextCell({1, 2, 3, "f", "v,w", 0xE0000000, 1}));
  ASSERT_TRUE(v5.Close());
  session_.reset();
  EXPECT_EQ(testing::CellTexts(*HandheldDatabase("Five")),
            std::vector<std::string>{"1,2,3,\"f\",\"v,w\",3758096384,1"});
  EXPECT_EQ(HandheldDatabase("Five")->version, 5);
}

}  // namespace
}  // namespace brevora::tabrel
