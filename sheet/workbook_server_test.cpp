// The workbook's exchange with a server database object, against a recording
// fake of the object.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "office/server_database.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/time/dates.h"
#include "sheet/server_layout.h"
#include "sheet/sheet_test_support.h"
#include "sheet/workbook.h"
#include "testing/fake_server_database.h"

namespace brevora::sheet {
namespace {

using ::brevora::testing::FakeServerDatabase;
using ::brevora::testing::RecordedCall;
using testing::ErrorOf;
constexpr int32_t kObj = static_cast<int32_t>(0x80040000);

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> entries;
  std::stringstream in(text);
  std::string entry;
  while (std::getline(in, entry, ',')) entries.push_back(entry);
  return entries;
}

// A database object that takes the layouts.
Ref<FakeServerDatabase> Database() {
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  db->answers["SetLayouts"] = [](Args) { return Variant(true); };
  return db;
}

Variant Bytes(const std::string& text, size_t n) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.resize(n + 1, 0);
  return Variant(bytes);
}

// The items passed, by index; each index must come exactly once, in order.
std::vector<Variant> Items(const FakeServerDatabase& db) {
  std::vector<Variant> items;
  for (const RecordedCall& call : db.CallsOf("SetAppInfoItem")) {
    EXPECT_EQ(call.args.size(), 2u);
    EXPECT_EQ(call.args[0], Variant(static_cast<int16_t>(items.size())));
    items.push_back(call.args[1]);
  }
  return items;
}

Ref<Workbook> TwoCellWorkbook() {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  Sheet& sheet1 = wb->Sheets().Item(1);
  sheet1.SetColumnWidths(3, 12);
  Cell& a = sheet1.Cells().Add(1, 1);
  a.SetValue("5");
  Sheet& plan = wb->Sheets().Add("Plan");
  Cell& b = plan.Cells().Add(3, 4);
  b.SetFormula("=A1");
  b.SetValue("7");
  b.Format()->SetRaw(4118);
  wb->SetCategory(3);
  wb->SetLinkedXLSFileName("C:\\x.xls");
  wb->SetLinkedXLSSyncMethod(2);
  wb->SetLinkedXLSFileModDateTime(123456);
  return wb;
}

TEST(ServerLayoutTest, NineHundredItemsByIndex) {
  const std::string layout = server_layout::AppInfoLayout(9);
  EXPECT_EQ(layout, server_layout::AppInfoLayout(8));
  EXPECT_EQ(layout.find(' '), std::string::npos);
  EXPECT_TRUE(layout.starts_with("WORD,BYTE[16],BYTE[16],"));
  EXPECT_TRUE(layout.ends_with(",BYTE[256],WORD,WORD,DWORD"));
  const std::vector<std::string> e = Split(layout);
  ASSERT_EQ(e.size(), 900u);
  auto type = [&](size_t i) -> std::string {
    if (i == 0) return "WORD";
    if (i <= 16) return "BYTE[16]";
    if (i <= 34) return "BYTE";
    if (i <= 36) return "WORD";
    if (i <= 38) return "DWORD";
    if (i == 39) return "BYTE[2]";
    if (i <= 856) return "WORD";
    if (i <= 858) return "DWORD";
    if (i <= 860) return "BYTE";
    if (i == 861) return "WORD";
    if (i <= 893) return i % 2 == 0 ? "DWORD" : "BYTE[16]";
    if (i <= 895) return "WORD";
    if (i == 896) return "BYTE[256]";
    if (i <= 898) return "WORD";
    return "DWORD";
  };
  for (size_t i = 0; i < e.size(); ++i) EXPECT_EQ(e[i], type(i)) << "item " << i;

  const AutomationError error = ErrorOf([] { server_layout::AppInfoLayout(7); });
  EXPECT_EQ(error.number(), kObj + 0x109);
  EXPECT_EQ(error.description(), "Can only work with Tabulyn 5.0 files.");
}

TEST(WorkbookServerTest, TwoCellWorkbookCallSequence) {
  Ref<Workbook> wb = TwoCellWorkbook();
  Ref<FakeServerDatabase> db = Database();
  const int32_t before = office::ServerCreationTime(dates::NowVbDate());
  CallByName(wb, "WriteToZazerDB", CallKind::Method, Ref<Dispatch>(db));
  const int32_t after = office::ServerCreationTime(dates::NowVbDate());

  std::vector<std::string> expected = {"SetLayouts", "Parse", "setVersion"};
  expected.insert(expected.end(), 900, "SetAppInfoItem");
  expected.insert(expected.end(), {"MoveFirst", "AddNewRecord", "SetRecordItem", "AddNewRecord",
                                   "SetRecordItem", "SetCreationTime"});
  EXPECT_EQ(db->Members(), expected);

  const RecordedCall& layouts = db->calls[0];
  ASSERT_EQ(layouts.args.size(), 2u);
  EXPECT_EQ(layouts.args[0], Variant(server_layout::AppInfoLayout(9)));
  EXPECT_EQ(layouts.args[1], Variant("STRING"));
  EXPECT_TRUE(db->calls[1].args.empty());
  EXPECT_EQ(db->calls[2].args, std::vector<Variant>{Variant(int16_t{9})});

  const std::vector<Variant> items = Items(*db);
  ASSERT_EQ(items.size(), 900u);
  const auto word = [](int v) { return Variant(static_cast<int16_t>(v)); };
  EXPECT_EQ(items[0], word(32767));
  EXPECT_EQ(items[1], Bytes("Clipboard", 16));
  EXPECT_EQ(items[2], Bytes("Sheet1", 16));
  EXPECT_EQ(items[3], Bytes("Plan", 16));
  EXPECT_EQ(items[4], Bytes("", 16));
  for (int i = 17; i <= 32; ++i) EXPECT_EQ(items[static_cast<size_t>(i)], word(i - 16));
  for (int i = 33; i <= 36; ++i) EXPECT_EQ(items[static_cast<size_t>(i)], word(0));
  EXPECT_EQ(items[37], Variant(4118.0 + 0x2000));  // IsServerSync set first
  EXPECT_EQ(items[38], Variant(4026531874.0));
  EXPECT_EQ(items[39], Bytes("$", 2));
  EXPECT_EQ(items[40], word(1));
  const auto sheetItem = [&](int slot, int m) {
    return items[static_cast<size_t>(41 + 51 * slot + m)];
  };
  EXPECT_EQ(sheetItem(0, 9), word(0));  // the clipboard slot is not filled
  EXPECT_EQ(sheetItem(1, 6), word(1));  // Current offsetX of Sheet1
  EXPECT_EQ(sheetItem(1, 7), word(1));
  for (int slot : {1, 2}) {
    EXPECT_EQ(sheetItem(slot, 9), word(47)) << slot;
    EXPECT_EQ(sheetItem(slot, 50), word(0)) << slot;
  }
  EXPECT_EQ(sheetItem(1, 10 + 3), word(12));
  EXPECT_EQ(sheetItem(3, 9), word(0));
  EXPECT_EQ(items[857], word(0));
  EXPECT_EQ(items[858], word(0));
  EXPECT_EQ(items[859], word(3));
  EXPECT_EQ(items[860], Variant(true));
  EXPECT_EQ(items[861], word(0));
  EXPECT_EQ(items[862], Variant(65.0));
  EXPECT_EQ(items[863], Bytes("Text", 16));
  EXPECT_EQ(items[862 + 2 * 9], Variant(0.0));
  EXPECT_EQ(items[863 + 2 * 9], Bytes("", 16));
  EXPECT_EQ(items[892], Variant(0.0));
  EXPECT_EQ(items[893], Bytes("Edit Styles...", 16));
  EXPECT_EQ(items[894], Variant(2.0));
  EXPECT_EQ(items[895], word(0));
  EXPECT_EQ(items[896], Bytes("C:\\x.xls", 256));
  EXPECT_EQ(items[897], word(2));
  EXPECT_EQ(items[898], word(0));
  EXPECT_EQ(items[899], Variant(123456.0));

  const std::vector<RecordedCall> records = db->CallsOf("SetRecordItem");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].args, (std::vector<Variant>{word(0), Variant("1\t1\t1\t\t5\t0\t0")}));
  EXPECT_EQ(records[1].args, (std::vector<Variant>{word(0), Variant("2\t3\t4\t=A1\t7\t4118\t0")}));

  const std::vector<RecordedCall> stamp = db->CallsOf("SetCreationTime");
  ASSERT_EQ(stamp[0].args.size(), 1u);
  ASSERT_EQ(stamp[0].args[0].type(), VarType::Long);
  EXPECT_GE(stamp[0].args[0].AsLong(), before);
  EXPECT_LE(stamp[0].args[0].AsLong(), after);
  EXPECT_TRUE(wb->Flag(workbook_flags::kIsServerSync));
}

TEST(WorkbookServerTest, SixteenSheetsAllCellsButFifteenInTheApplicationInfo) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  for (int i = 2; i <= 16; ++i) wb->Sheets().Add("S" + std::to_string(i));
  wb->Sheets().Item(16).Cells().Add(2, 2).SetValue("x");
  wb->Sheets().Item(15).SetColumnWidths(0, 9);
  wb->Sheets().Item(16).SetColumnWidths(0, 9);
  Ref<FakeServerDatabase> db = Database();
  wb->WriteToZazerDB(Variant(Ref<Dispatch>(db)));
  const std::vector<Variant> items = Items(*db);
  ASSERT_EQ(items.size(), 900u);
  EXPECT_EQ(items[16], Bytes("S15", 16));                    // slot 15: the 15th sheet
  EXPECT_EQ(items[41 + 51 * 15 + 10], Variant(int16_t{9}));  // its width 0
  const std::vector<RecordedCall> records = db->CallsOf("SetRecordItem");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].args[1], Variant("16\t2\t2\t\tx\t0\t0"));
}

TEST(WorkbookServerTest, LongNamesAreCutToTheItemSize) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->Sheets().Item(1).Setname("A sheet name of 20ch");
  wb->SetCurrencyCharacter("EUR");
  Ref<FakeServerDatabase> db = Database();
  wb->WriteToZazerDB(Variant(Ref<Dispatch>(db)));
  const std::vector<Variant> items = Items(*db);
  EXPECT_EQ(items[2], Bytes("A sheet name of ", 16));
  EXPECT_EQ(items[2].AsBytes().size(), 17u);
  EXPECT_EQ(items[39], Bytes("EU", 2));
}

TEST(WorkbookServerTest, EmptySheetsWriteOnlyTheApplicationInfoAndTheTime) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  Ref<FakeServerDatabase> db = Database();
  wb->WriteToZazerDB(Variant(Ref<Dispatch>(db)));
  EXPECT_TRUE(db->CallsOf("AddNewRecord").empty());
  EXPECT_EQ(db->Members().back(), "SetCreationTime");
  EXPECT_EQ(db->Members()[db->calls.size() - 2], "MoveFirst");
}

TEST(WorkbookServerTest, Failures) {
  struct Case {
    const char* what;
    int16_t version;
    std::function<void(FakeServerDatabase&)> setUp;
    int32_t number;
    std::string description;
    std::vector<std::string> lastCalls;  // the calls made, from the end
  };
  const Case cases[] = {
      {"version 7 calls nothing",
       7,
       [](FakeServerDatabase&) {},
       kObj + 0x109,
       "Can only work with Tabulyn 5.0 files.",
       {}},
      {"layouts refused",
       9,
       [](FakeServerDatabase& db) {
         db.answers["SetLayouts"] = [](Args) { return Variant(false); };
       },
       kObj + 0x110,
       "Could not set layout for database object",
       {"SetLayouts"}},
      {"layouts without an answer count as refused",
       9,
       [](FakeServerDatabase& db) { db.answers.erase("SetLayouts"); },
       kObj + 0x110,
       "Could not set layout for database object",
       {"SetLayouts"}},
      {"second record refused",
       9,
       [](FakeServerDatabase& db) { db.AllowRecords(1); },
       kObj + 0x112,
       "Cannot add new record.",
       {"AddNewRecord", "SetRecordItem"}},
      {"the object's own error",
       9,
       [](FakeServerDatabase& db) {
         db.answers["MoveFirst"] = [](Args) -> Variant {
           RaiseError(3021, "Zazer", "No current record.");
         };
       },
       3021,
       "No current record.",
       {"MoveFirst"}},
  };
  for (const Case& c : cases) {
    Ref<Workbook> wb = TwoCellWorkbook();
    wb->SetVersion(c.version);
    Ref<FakeServerDatabase> db = Database();
    c.setUp(*db);
    const AutomationError e = ErrorOf([&] { wb->WriteToZazerDB(Variant(Ref<Dispatch>(db))); });
    EXPECT_EQ(e.number(), c.number) << c.what;
    EXPECT_EQ(e.source(), "tabrelpc") << c.what;
    EXPECT_EQ(e.description(), c.description) << c.what;
    std::vector<std::string> members = db->Members();
    ASSERT_GE(members.size(), c.lastCalls.size()) << c.what;
    EXPECT_EQ(members.empty(), c.lastCalls.empty()) << c.what;
    for (size_t i = 0; i < c.lastCalls.size(); ++i) {
      EXPECT_EQ(members[members.size() - 1 - i], c.lastCalls[i]) << c.what;
    }
  }
  // Nothing to write into.
  Ref<Workbook> wb = TwoCellWorkbook();
  const AutomationError e =
      ErrorOf([&] { CallByName(wb, "WriteToZazerDB", CallKind::Method, Variant::Nothing()); });
  EXPECT_EQ(e.number(), 91);
  EXPECT_EQ(e.source(), "tabrelpc");
}

TEST(WorkbookServerTest, OpenFromZazerDBIsRefusedWithoutTouchingAnything) {
  Ref<Workbook> wb = TwoCellWorkbook();
  Ref<FakeServerDatabase> db = Database();
  const AutomationError e =
      ErrorOf([&] { CallByName(wb, "OpenFromZazerDB", CallKind::Method, Ref<Dispatch>(db)); });
  EXPECT_EQ(e.number(), kObj + 0x114);
  EXPECT_EQ(e.source(), "tabrelpc");
  EXPECT_EQ(e.description(), "Not implemented.");
  EXPECT_TRUE(db->calls.empty());
  EXPECT_EQ(wb->Sheets().Count(), 2);
  EXPECT_FALSE(wb->Flag(workbook_flags::kIsServerSync));
}

}  // namespace
}  // namespace brevora::sheet
