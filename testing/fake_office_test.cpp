#include "testing/fake_office.h"

#include <gtest/gtest.h>

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/running_objects.h"
#include "testing/fake_server_database.h"

namespace brevora::testing {
namespace {

using Lines = std::vector<std::string>;

class FakeOfficeTest : public ::testing::Test {
 protected:
  std::shared_ptr<OfficeScript> script = std::make_shared<OfficeScript>();
  Ref<FakeOfficeApp> app = MakeRef<FakeOfficeApp>(script, "Word");
};

TEST_F(FakeOfficeTest, MacrosFillTheirArgumentsByReference) {
  app->SetMacro("GetSession", [](FakeOfficeApp&, Args a) {
    a[0] = Variant("filled");
    return Variant(true);
  });
  Variant args[] = {Variant("getsession"), Variant("")};
  EXPECT_EQ(app->Invoke("Run", CallKind::Method, args), Variant(true));
  EXPECT_EQ(args[1], Variant("filled"));
  try {
    CallByName(app, "Run", CallKind::Method, "Missing");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 1004);
  }
  EXPECT_EQ(script->calls, (Lines{"Word.Run(getsession, )", "Word.Run(Missing)"}));
}

TEST_F(FakeOfficeTest, DocumentsVariablesAndTheActiveDocument) {
  Variant doc = CallByName(CallByName(app, "Documents", CallKind::Get).AsObject(), "Open",
                           CallKind::Method, "/t/a.doc");
  Variant vars = CallByName(doc.AsObject(), "Variables", CallKind::Get);
  CallByName(vars.AsObject(), "Add", CallKind::Method, "N", true);
  Variant item = CallByName(vars.AsObject(), "Item", CallKind::Method, "n");
  EXPECT_EQ(CallByName(item.AsObject(), "Value", CallKind::Get), Variant("True"));  // kept as text
  EXPECT_EQ(CallByName(app, "ActiveDocument", CallKind::Get), doc);
  CallByName(doc.AsObject(), "Close", CallKind::Method, false);
  try {
    CallByName(app, "ActiveDocument", CallKind::Get);
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 4248);
  }
  EXPECT_EQ(script->Select({"Document(", "Variables"}),
            (Lines{"Document(a.doc).Variables", "Variables.Add(N, True)", "Variables.Item(n)",
                   "Document(a.doc).Close(False)"}));
}

TEST_F(FakeOfficeTest, AddInsByPositionOrNameAndScriptedFailures) {
  app->addIns->List("/t/Startup/scriv8.dot");
  Variant addIns = CallByName(app, "AddIns", CallKind::Get);
  EXPECT_EQ(CallByName(addIns.AsObject(), "Count", CallKind::Get), Variant(int32_t{1}));
  Variant byName = CallByName(addIns.AsObject(), "Item", CallKind::Method, "SCRIV8.DOT");
  EXPECT_EQ(CallByName(byName.AsObject(), "Path", CallKind::Get), Variant("/t/Startup"));
  script->FailOn("Word.Quit", AutomationError(70, "Word", "Busy."));
  EXPECT_THROW(CallByName(app, "Quit", CallKind::Method), AutomationError);
  EXPECT_EQ(app->quitCount, 0);
  EXPECT_TRUE(script->Called("Word.Quit()"));
}

TEST_F(FakeOfficeTest, RegisteredByProgIdAndAsTheRunningApplication) {
  {
    ScopedClass registered("BrevoraTest.Word", app, script);
    EXPECT_EQ(CreateObject("BrevoraTest.Word"), Ref<Dispatch>(app));
    ScopedRunning running("BrevoraTest.Word", app);
    EXPECT_EQ(GetActiveObject("BrevoraTest.Word"), Ref<Dispatch>(app));
  }
  EXPECT_THROW(CreateObject("BrevoraTest.Word"), AutomationError);
  EXPECT_THROW(GetActiveObject("BrevoraTest.Word"), AutomationError);
  EXPECT_EQ(script->calls, (Lines{"CreateObject(BrevoraTest.Word)"}));
}

TEST_F(FakeOfficeTest, ThePoolLendsItsApplications) {
  Ref<FakeServerPool> pool = MakeRef<FakeServerPool>(script);
  pool->Lend("Word.Application", app);
  Variant entry = CallByName(pool, "GetServer", CallKind::Method, "word.application");
  EXPECT_EQ(CallByName(entry.AsObject(), "ServerObject", CallKind::Get), Variant(app));
  CallByName(entry.AsObject(), "ReleaseServer", CallKind::Method);
  EXPECT_THROW(CallByName(pool, "GetServer", CallKind::Method, "Excel.Application"),
               AutomationError);
  EXPECT_EQ(script->calls.size(), 4u);
}

TEST(FakeServerDatabaseTest, RecordsEveryCallAndAnswersAddNewRecord) {
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  db->AllowRecords(1);
  EXPECT_EQ(CallByName(db, "AddNewRecord", CallKind::Method), Variant(true));
  EXPECT_EQ(CallByName(db, "AddNewRecord", CallKind::Method), Variant(false));
  CallByName(db, "SetRecordBinaryData", CallKind::Method, std::vector<uint8_t>{1, 2});
  EXPECT_EQ(db->Members(), (Lines{"AddNewRecord", "AddNewRecord", "SetRecordBinaryData"}));
  EXPECT_EQ(db->CallsOf("setrecordbinarydata").at(0).args.at(0),
            Variant(std::vector<uint8_t>{1, 2}));
}

}  // namespace
}  // namespace brevora::testing
