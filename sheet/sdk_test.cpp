// The spreadsheet converter against a recording fake Excel and server pool.
#include "sheet/sdk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/device_user.h"
#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_manager.h"
#include "office/desktop_windows.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "sheet/converter_test_support.h"
#include "sheet/sheet_test_support.h"
#include "sheet/workbook.h"
#include "testing/temp_home.h"

namespace brevora::sheet {
namespace {

using ::brevora::testing::CallLine;
using ::brevora::testing::FakeServerPool;
using ::brevora::testing::MakeTempDir;
using ::brevora::testing::ScopedClass;
using ::brevora::testing::ScopedRunning;
using testing::ErrorOf;
using testing::FakeExcel;
using testing::kExcel;
namespace fsys = std::filesystem;
using Lines = std::vector<std::string>;

Ref<SDK> NewConverter() {
  Ref<SDK> sdk = MakeRef<SDK>();
  sdk->SetSession(core::GlobalSession());
  return sdk;
}

core::Session& TheSession() { return *core::GlobalSession(); }

void AddUser(int32_t id, const std::string& name, const std::string& path) {
  Ref<core::DeviceUser> user = MakeRef<core::DeviceUser>();
  user->SetUID(id);
  user->SetUserName(name);
  user->SetPath(path);
  TheSession().GetUserManager()->GetUsers()->Add(user);
}

// A desktop window that records its Refresh1 in the Excel's log.
class RecordingWindow : public Dispatch {
 public:
  RecordingWindow(std::shared_ptr<::brevora::testing::OfficeScript> script, bool fail = false)
      : script_(std::move(script)), fail_(fail) {}
  Variant Invoke(std::string_view name, CallKind kind, Args args) override {
    script_->Record(CallLine("Window", name, kind, args));
    if (fail_) RaiseError(70, "frmSave", "Permission denied");
    return Variant();
  }

 private:
  std::shared_ptr<::brevora::testing::OfficeScript> script_;
  bool fail_;
};

// How Excel was obtained for a call.
enum class Origin { Started, Attached, Pool };

// Makes `xl` the Excel of the coming calls by that origin, for the scope.
struct ExcelRegistration {
  ExcelRegistration(FakeExcel& xl, Origin origin) {
    switch (origin) {
      case Origin::Started:
        started = std::make_unique<ScopedClass>(kExcel, xl.app, xl.script);
        break;
      case Origin::Attached:
        running = std::make_unique<ScopedRunning>(kExcel, xl.app);
        break;
      case Origin::Pool: {
        Ref<FakeServerPool> pool = MakeRef<FakeServerPool>(xl.script);
        pool->Lend(kExcel, xl.app);
        core::SetServerPool(pool);
        TheSession().SetIsServerMode(true);
        break;
      }
    }
  }
  std::unique_ptr<ScopedClass> started;
  std::unique_ptr<ScopedRunning> running;
};

TEST(SdkExcelTest, StartedExcelCallLog) {
  core::OnFreshThread([] {
    FakeExcel xl;
    ScopedClass excel(kExcel, xl.app, xl.script);
    xl.Macro("XLSToTBRExt", [](Args) { return Variant(); });
    NewConverter()->XLSToTBRExtSync("C:\\Data\\in.xls", "/t/out.tbr", "1");
    const std::string values = "False, , 0, 0, , <empty>, <empty>, <empty>, , 0";
    EXPECT_EQ(xl.script->calls,
              (Lines{"CreateObject(Excel.Application)", "App.Application", "App.Version",
                     "App.AddIns", "AddIns.Count", "AddIns.Item(1)", "AddIn(tabrel8.xla).Name",
                     "AddIn(tabrel8.xla).FullName", "App.Workbooks",
                     "Documents.Open(" + xl.addInPath + ")",
                     "App.Run(tabrel8.xla!SetSession, " + values + ")",
                     "App.Run(tabrel8.xla!XLSToTBRExt, C:\\Data\\in.xls, /t/out.tbr, 1)",
                     "App.Run(tabrel8.xla!GetSession, False, , 0, 0, , , , , , 0)", "App.Version",
                     "App.Quit()"}));
    EXPECT_EQ(xl.app->quitCount, 1);
  });
}

TEST(SdkExcelTest, AttachedExcelIsLeftRunningAndPoolExcelIsReleased) {
  for (Origin origin : {Origin::Attached, Origin::Pool}) {
    core::OnFreshThread([origin] {
      FakeExcel xl;
      ExcelRegistration registration(xl, origin);
      xl.Macro("TBRToXLSExt", [](Args) { return Variant(); });
      NewConverter()->TBRToXLSExt("a.tbr", "b.xls");
      EXPECT_FALSE(xl.script->Called("CreateObject"));
      EXPECT_EQ(xl.app->quitCount, 0);
      if (origin == Origin::Pool) {
        EXPECT_EQ(xl.script->Select({"Pool.", "Entry."}),
                  (Lines{"Pool.GetServer(Excel.Application)", "Entry.ServerObject",
                         "Entry.ReleaseServer()"}));
        EXPECT_EQ(xl.script->calls.back(), "Entry.ReleaseServer()");
        EXPECT_FALSE(xl.script->Called("App.Application"));  // the pool's object is used as it is
      } else {
        EXPECT_FALSE(xl.script->Called("Entry."));
      }
    });
  }
}

TEST(SdkExcelTest, Excel7ExchangesNoSessionAndLeavesItAlone) {
  core::OnFreshThread([] {
    FakeExcel xl("7.0");
    ScopedClass excel(kExcel, xl.app, xl.script);
    xl.Macro("XLSToTBRExt", [](Args) { return Variant(); });
    core::Session& session = TheSession();
    session.SetFileMode(2);
    session.SetParameter1(Variant("kept"));
    session.SetParameter3(Variant("also kept"));
    NewConverter()->XLSToTBRExt("a.xls", "b.tbr");
    EXPECT_EQ(xl.script->Select({"App.Run"}),
              (Lines{"App.Run(tabrel7.xla!XLSToTBRExt, a.xls, b.tbr, )"}));
    EXPECT_EQ(xl.script->calls.back(), "App.Quit()");
    EXPECT_EQ(session.FileMode(), 2);
    EXPECT_EQ(session.Parameter1(), Variant("kept"));
    EXPECT_EQ(session.Parameter3(), Variant("also kept"));
  });
}

TEST(SdkExcelTest, SessionValuesTravelBothWays) {
  core::OnFreshThread([] {
    FakeExcel xl;
    ScopedClass excel(kExcel, xl.app, xl.script);
    xl.Macro("XLSToTBRExt", [&](Args) {
      xl.session[5] = Variant("from the add-in");
      xl.session[2] = Variant(int16_t{1});
      return Variant();
    });
    core::Session& session = TheSession();
    session.SetParameter1(Variant("p1"));
    session.SetParameter2(Variant(int32_t{12}));
    // A failure left from an earlier call does not fail this one, and the add-in
    // never sees it.
    session.SetErrorMessage("stale");
    session.SetErrorNumber(1004);
    NewConverter()->XLSToTBRExt("a.xls", "b.tbr");
    const Lines runs = xl.script->Select({"App.Run(tabrel8.xla!SetSession"});
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], "App.Run(tabrel8.xla!SetSession, False, , 0, 0, , p1, 12, <empty>, , 0)");
    EXPECT_EQ(session.Parameter1(), Variant("from the add-in"));
    EXPECT_EQ(session.Parameter2(), Variant("12"));
    EXPECT_EQ(session.FileMode(), 1);
    EXPECT_EQ(session.ErrorMessage(), "");
    EXPECT_EQ(session.ErrorNumber(), 0);
  });
}

// Every way a conversion can fail hands Excel back by where it came from.
TEST(SdkExcelTest, ExcelIsHandedBackOnEveryFailure) {
  struct Failure {
    const char* what;
    std::function<void(FakeExcel&)> arrange;
    int32_t number;
    std::string source;
    std::string description;
  };
  const AutomationError boom(1004, "Excel", "Boom.");
  const std::vector<Failure> failures = {
      {"no add-in", [](FakeExcel& xl) { xl.app->addIns->items.clear(); }, kWrapError,
       "SDK.OpenAddIN",
       "The Tabulyn add-in is not installed.  Please install the Tabulyn add-in using Excel / "
       "Tools | Add-Ins "
       "to load TABREL(5)(7)(8).XLA prior to using this function."},
      {"add-in does not open", [&](FakeExcel& xl) { xl.script->FailOn("Documents.Open", boom); },
       kWrapError, "SDK.OpenAddIn", "Could not open TABREL add-in\r\nBoom."},
      {"SetSession fails",
       [&](FakeExcel& xl) { xl.script->FailOn("App.Run(tabrel8.xla!SetSession", boom); },
       kWrapError, "SDK.SetXLSession", "Error setting session.\r\nBoom."},
      {"the macro fails",
       [&](FakeExcel& xl) { xl.script->FailOn("App.Run(tabrel8.xla!XLSToTBRExt", boom); },
       kWrapError, "SDK.XLSToTBRExt", "Error converting XLS to TBR.\r\nBoom."},
      {"GetSession fails",
       [&](FakeExcel& xl) { xl.script->FailOn("App.Run(tabrel8.xla!GetSession", boom); },
       kWrapError, "SDK.GetXLSession", "Error getting session.\r\nBoom."},
      {"the add-in reports 32760",
       [](FakeExcel& xl) { xl.SetError(kWrapError, "The sheet 'Plan' is too large."); }, kWrapError,
       "Brevora", "The sheet 'Plan' is too large."},
      {"the add-in reports another number",
       [](FakeExcel& xl) { xl.SetError(1004, "Cannot read the workbook."); }, kWrapError,
       "SDK.XLSToTBRExt", "Error converting XLS to TBR.\r\nCannot read the workbook."},
      {"the add-in reports a message only", [](FakeExcel& xl) { xl.SetError(0, "Disk full."); },
       kWrapError, "Brevora", "Disk full."},
  };
  for (Origin origin : {Origin::Started, Origin::Attached, Origin::Pool}) {
    for (const Failure& f : failures) {
      core::OnFreshThread([&] {
        FakeExcel xl;
        ExcelRegistration registration(xl, origin);
        xl.Macro("XLSToTBRExt", [&](Args) {
          f.arrange(xl);  // the error slot is set by the macro itself
          return Variant();
        });
        f.arrange(xl);
        const AutomationError e = ErrorOf([] { NewConverter()->XLSToTBRExt("a.xls", "b.tbr"); });
        const std::string at =
            std::string(f.what) + " / origin " + std::to_string(static_cast<int>(origin));
        EXPECT_EQ(e.number(), f.number) << at;
        EXPECT_EQ(e.source(), f.source) << at;
        EXPECT_EQ(e.description(), f.description) << at;
        EXPECT_EQ(xl.app->quitCount, origin == Origin::Started ? 1 : 0) << at;
        EXPECT_EQ(xl.script->Select({"Entry.ReleaseServer"}).size(),
                  origin == Origin::Pool ? 1u : 0u)
            << at;
      });
    }
  }
}

TEST(SdkExcelTest, ExcelIsHandedBackByWhereItCameFromNotByTheModeAfterwards) {
  // The add-in switches server mode off: the pool entry is still released.
  core::OnFreshThread([] {
    FakeExcel xl;
    ExcelRegistration registration(xl, Origin::Pool);
    xl.Macro("XLSToTBRExt", [&](Args) {
      xl.session[0] = Variant(false);
      return Variant();
    });
    NewConverter()->XLSToTBRExt("a.xls", "b.tbr");
    EXPECT_FALSE(TheSession().IsServerMode());
    EXPECT_EQ(xl.script->calls.back(), "Entry.ReleaseServer()");
    EXPECT_EQ(xl.app->quitCount, 0);
  });
  // The add-in switches server mode on: the Excel this call started is quit.
  core::OnFreshThread([] {
    FakeExcel xl;
    ExcelRegistration registration(xl, Origin::Started);
    xl.Macro("XLSToTBRExt", [&](Args) {
      xl.session[0] = Variant(true);
      return Variant();
    });
    NewConverter()->XLSToTBRExt("a.xls", "b.tbr");
    EXPECT_TRUE(TheSession().IsServerMode());
    EXPECT_EQ(xl.app->quitCount, 1);
  });
}

TEST(SdkExcelTest, WithoutExcel) {
  core::OnFreshThread([] {
    // A plain machine: nothing runs, nothing can be created.
    AutomationError e = ErrorOf([] { NewConverter()->XLSToTBRExtSync("a.xls", "b.tbr", "1"); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "GetExcelObject");
    EXPECT_EQ(e.description(),
              "Error getting excel object.\r\nActiveX component can't create object");

    // Server mode without a pool.
    TheSession().SetIsServerMode(true);
    e = ErrorOf([] { NewConverter()->TBRToXLSExtSync("a.tbr", "b.xls", "3"); });
    EXPECT_EQ(e.source(), "SDK.TBRToXLSExt_Sync");
    EXPECT_EQ(e.description(),
              "Error converting TBR to XLS.\r\nObject variable or With block variable not set");
  });
  core::OnFreshThread([] {
    FakeExcel xl("4.0");
    ScopedClass excel(kExcel, xl.app, xl.script);
    const AutomationError e = ErrorOf([] { NewConverter()->XLSToTBRExt("a.xls", "b.tbr"); });
    EXPECT_EQ(e.source(), "SDK.GetExcelObject");
    EXPECT_EQ(e.description(), "This API requires Excel 5 or newer.");
    EXPECT_EQ(xl.app->quitCount, 1);
    EXPECT_FALSE(xl.script->Called("AddIns"));
  });
}

TEST(SdkExcelTest, ConduitCallsByProgIdWithThreeStrings) {
  core::OnFreshThread([] {
    FakeExcel xl;
    ScopedClass excel(kExcel, xl.app, xl.script);
    Lines received;
    xl.Macro("XLSToTBRExt", [&](Args a) {
      for (const Variant& v : a) received.push_back(CStr(v));
      return Variant();
    });
    ASSERT_TRUE(ClsidFromProgId("TabulynPC.SDK"));
    Ref<Dispatch> converter = CreateObject("TabulynPC.SDK");
    Variant args[] = {Variant("C:\\Budget.xls"), Variant("/home/a/Budget.tbr"), Variant("1")};
    EXPECT_TRUE(converter->Invoke("XLSToTBRExt_Sync", CallKind::Method, args).IsEmpty());
    EXPECT_EQ(received, (Lines{"C:\\Budget.xls", "/home/a/Budget.tbr", "1"}));
    EXPECT_EQ(CallByName(converter, "Refresh", CallKind::Method), Variant(int32_t{0}));

    xl.script->FailOn("App.Run(tabrel8.xla!TBRToXLSExt", AutomationError(1004, "Excel", "Boom."));
    Variant back[] = {Variant("/home/a/Budget.tbr"), Variant("C:\\Budget.xls"), Variant("17")};
    const AutomationError e =
        ErrorOf([&] { converter->Invoke("TBRToXLSExt_Sync", CallKind::Method, back); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "SDK.TBRToXLSExt_Sync");
    EXPECT_EQ(xl.script->Select({"App.Run(tabrel8.xla!TBRToXLSExt"}),
              (Lines{"App.Run(tabrel8.xla!TBRToXLSExt, /home/a/Budget.tbr, C:\\Budget.xls, 17)"}));
  });
}

TEST(SdkExcelTest, EachConversionRunsItsMacroWithItsArguments) {
  const std::string anna = MakeTempDir("Anna");
  struct Case {
    std::function<void(SDK&)> call;
    std::string run;
    bool user;
  };
  const Case cases[] = {
      {[](SDK& s) { s.XLSToTBRExt("x.xls", "t.tbr"); }, "XLSToTBRExt, x.xls, t.tbr, ", false},
      {[](SDK& s) { s.TBRToXLSExt("t.tbr", "x.xls"); }, "TBRToXLSExt, t.tbr, x.xls, ", false},
      {[](SDK& s) { s.XLSToTBRExtSync("x.xls", "t.tbr", "x.xls"); },
       "XLSToTBRExt, x.xls, t.tbr, x.xls", false},
      {[](SDK& s) { s.TBRToXLSExtSync("t.tbr", "x.xls", "4"); }, "TBRToXLSExt, t.tbr, x.xls, 4",
       false},
      {[](SDK& s) { s.XLSToTBR("x.xls", "anna", "Unfiled", "Budget"); },
       "XLSToTBR, x.xls, Unfiled, Budget", true},
      {[](SDK& s) { s.TBRToXLS("anna", "Unfiled", "Budget", "x.xls"); },
       "TBRToXLS, Unfiled, Budget, x.xls", true},
  };
  for (const Case& c : cases) {
    core::OnFreshThread([&] {
      AddUser(7, "Anna", anna);
      FakeExcel xl;
      ScopedClass excel(kExcel, xl.app, xl.script);
      for (const char* macro : {"XLSToTBRExt", "TBRToXLSExt", "XLSToTBR", "TBRToXLS"}) {
        xl.Macro(macro, [](Args) { return Variant(); });
      }
      c.call(*NewConverter());
      const Lines runs = xl.script->Select({"App.Run"});
      ASSERT_EQ(runs.size(), 3u) << c.run;
      EXPECT_EQ(runs[1], "App.Run(tabrel8.xla!" + c.run + ")");
      // The user is made current before the values go to the add-in.
      const std::string userValues = c.user ? "7, Anna" : "0, ";
      EXPECT_NE(runs[0].find(userValues), std::string::npos) << runs[0];
    });
  }
}

TEST(SdkExcelTest, ExcelForTheUser) {
  // OpenWorkbook: shown and left running when the add-in opened it.
  core::OnFreshThread([] {
    FakeExcel xl;
    ScopedClass excel(kExcel, xl.app, xl.script);
    xl.Macro("OpenWorkbook", [](Args a) { return Variant(CStr(a[0]) == "Unfiled"); });
    NewConverter()->OpenWorkbook("", "Unfiled", "Budget");
    EXPECT_EQ(xl.script->Select({"App.Run(tabrel8.xla!OpenWorkbook"}),
              (Lines{"App.Run(tabrel8.xla!OpenWorkbook, Unfiled, Budget)"}));
    EXPECT_TRUE(xl.app->visible);
    EXPECT_EQ(xl.app->quitCount, 0);

    // Nothing opened: the Excel started for it does not stay behind, hidden.
    xl.script->Clear();
    NewConverter()->OpenWorkbook("", "Business", "Budget");
    EXPECT_FALSE(xl.script->Called("App.Visible"));
    EXPECT_EQ(xl.app->quitCount, 1);
  });
  // SaveWorkbook in the user's running Excel: never quit.
  core::OnFreshThread([] {
    FakeExcel xl;
    ScopedRunning running(kExcel, xl.app);
    xl.Macro("SaveWorkbook", [&](Args) {
      xl.SetError(kWrapError, "Nothing to save.");
      return Variant(false);
    });
    const AutomationError e =
        ErrorOf([] { NewConverter()->SaveWorkbook("", "Unfiled", "Budget"); });
    EXPECT_EQ(e.source(), "Brevora");
    EXPECT_EQ(e.description(), "Nothing to save.");
    EXPECT_EQ(xl.app->quitCount, 0);
  });
  // OpenXLSWorkbook: the add-in, the file, then Excel shown.
  core::OnFreshThread([] {
    FakeExcel xl;
    ScopedClass excel(kExcel, xl.app, xl.script);
    NewConverter()->OpenXLSWorkbook("C:\\Budget.xls");
    EXPECT_EQ(xl.script->Select({"Documents.Open", "App.Visible", "App.Quit"}),
              (Lines{"Documents.Open(" + xl.addInPath + ")", "Documents.Open(C:\\Budget.xls)",
                     "App.Visible=True"}));
    xl.script->FailOn("Documents.Open(C:", AutomationError(1004, "Excel", "Cannot open."));
    const AutomationError e = ErrorOf([] { NewConverter()->OpenXLSWorkbook("C:\\Budget.xls"); });
    EXPECT_EQ(e.source(), "SDK.OpenXLSWorkbook");
    EXPECT_EQ(e.description(), "Error opening workbook.\r\nCannot open.");
    EXPECT_EQ(xl.app->quitCount, 1);
  });
}

TEST(SdkStoreTest, RemoveFromUserDeletesOnlyTheWorkbookAndRefreshes) {
  const std::string anna = MakeTempDir("Anna");
  fsys::create_directories(anna + "/tabrel/Unfiled");
  fsys::create_directories(anna + "/scriv/Unfiled");
  testing::WriteText(anna + "/tabrel/Unfiled/Budget.tbr", "1\r\n");
  testing::WriteText(anna + "/scriv/Unfiled/Budget.scv", "x\r\n");
  core::OnFreshThread([&] {
    AddUser(7, "Anna", anna);
    auto script = std::make_shared<::brevora::testing::OfficeScript>();
    const Ref<Dispatch> window = MakeRef<RecordingWindow>(script);
    office::RegisterDesktopWindow(window);
    // Whatever file mode the Session was left in, a workbook is removed.
    TheSession().SetFileMode(1);
    Ref<SDK> sdk = NewConverter();
    sdk->RemoveFromUser("Anna", "Unfiled", "Budget");
    EXPECT_FALSE(fsys::exists(anna + "/tabrel/Unfiled/Budget.tbr"));
    EXPECT_TRUE(fsys::exists(anna + "/scriv/Unfiled/Budget.scv"));
    EXPECT_EQ(script->calls, (Lines{"Window.Refresh1()"}));

    // Already gone: no error, the windows are refreshed all the same.
    sdk->RemoveFromUser("Anna", "Unfiled", "Budget");
    EXPECT_EQ(script->calls.size(), 2u);

    // Names that would leave the folder, and unknown users, are refused.
    testing::WriteText(anna + "/tabrel/Budget.tbr", "1\r\n");
    const struct {
      const char* user;
      const char* category;
      const char* name;
    } refused[] = {{"Anna", "..", "Budget"},
                   {"Anna", "Unfiled", "../Budget"},
                   {"Anna", "Unfiled/..", "Budget"},
                   {"Anna", "", "Budget"},
                   {"Nobody", "Unfiled", "Budget"}};
    for (const auto& r : refused) {
      const AutomationError e = ErrorOf([&] { sdk->RemoveFromUser(r.user, r.category, r.name); });
      EXPECT_EQ(e.number(), kWrapError) << r.category << " " << r.name;
      EXPECT_EQ(e.source(), "SDK.RemoveFromUser");
    }
    EXPECT_TRUE(fsys::exists(anna + "/tabrel/Budget.tbr"));
    EXPECT_EQ(script->calls.size(), 2u);
    office::UnregisterDesktopWindow(window);
  });
}

TEST(SdkStoreTest, RemoveFromUserRemovesAWorkbookStoredInAnotherCase) {
  const std::string anna = MakeTempDir("Anna");
  fsys::create_directories(anna + "/tabrel/Unfiled");
  testing::WriteText(anna + "/tabrel/Unfiled/budget.TBR", "1\r\n");
  core::OnFreshThread([&] {
    AddUser(7, "Anna", anna);
    NewConverter()->RemoveFromUser("Anna", "Unfiled", "Budget");
  });
  EXPECT_FALSE(fsys::exists(anna + "/tabrel/Unfiled/budget.TBR"));
}

TEST(SdkStoreTest, RefreshFailureNamesTheWindowTitle) {
  core::OnFreshThread([] {
    auto script = std::make_shared<::brevora::testing::OfficeScript>();
    const Ref<Dispatch> window = MakeRef<RecordingWindow>(script, true);
    office::RegisterDesktopWindow(window);
    const AutomationError e = ErrorOf([] { NewConverter()->Refresh(); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "SDK.Refresh");
    EXPECT_EQ(e.description(),
              "Could not refresh Brevora Desktop.  Please close and reopen Brevora "
              "Desktop.\r\nPermission denied");
    office::UnregisterDesktopWindow(window);
  });
}

// ---- In process ----

// A workbook with one cell on a second sheet, saved at `path`.
void SaveSample(const std::string& path) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->Sheets().Add("Plan").Cells().Add(2, 3).SetValue("42");
  wb->WriteToDisk(path);
}

std::string CellValueOf(Workbook& wb) {
  return wb.Sheets().Item(2).Cells().ItemDirect(2, 3).Value();
}

TEST(SdkInProcessTest, DesktopFileAndHandheldDatabase) {
  const std::string dir = MakeTempDir("files");
  const std::string anna = MakeTempDir("Anna");
  core::OnFreshThread([&] {
    AddUser(7, "Anna", anna);
    SaveSample(dir + "/a.tbr");
    Ref<SDK> sdk = NewConverter();
    CallByName(sdk, "TBRToPDBExt", CallKind::Method, dir + "/a.tbr", dir + "/a.pdb");
    sdk->PDBToTBRExt(dir + "/a.pdb", dir + "/b.tbr");
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->OpenFromDisk(dir + "/b.tbr");
    EXPECT_EQ(CellValueOf(*wb), "42");

    sdk->PDBToTBR(dir + "/a.pdb", "Anna", "Business", "Plan");
    EXPECT_TRUE(fsys::exists(anna + "/tabrel/Business/Plan.tbr"));
    sdk->TBRToPDB("Anna", "Business", "Plan", dir + "/c.pdb");
    wb->OpenFromPDB(dir + "/c.pdb");
    EXPECT_EQ(CellValueOf(*wb), "42");

    const AutomationError e =
        ErrorOf([&] { sdk->TBRToPDB("Anna", "Business", "Missing", dir + "/d.pdb"); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_FALSE(fsys::exists(dir + "/d.pdb"));
    const AutomationError bad = ErrorOf([&] { sdk->PDBToTBRExt(dir + "/a.tbr", dir + "/e.tbr"); });
    EXPECT_EQ(bad.number(), kWrapError);
    EXPECT_FALSE(fsys::exists(dir + "/e.tbr"));
  });
}

TEST(SdkInProcessTest, XlsAndHandheldDatabaseGoThroughExcel) {
  const std::string dir = MakeTempDir("files");
  core::OnFreshThread([&] {
    FakeExcel xl;
    ScopedClass excel(kExcel, xl.app, xl.script);
    // The add-in's conversions: .xls -> the sample workbook; .tbr -> a text
    // naming the value of the cell.
    xl.Macro("XLSToTBRExt", [](Args a) {
      SaveSample(CStr(a[1]));
      return Variant();
    });
    xl.Macro("TBRToXLSExt", [](Args a) {
      Ref<Workbook> wb = MakeRef<Workbook>();
      wb->OpenFromDisk(CStr(a[0]));
      testing::WriteText(CStr(a[1]), "xls with " + CellValueOf(*wb));
      return Variant();
    });
    Ref<SDK> sdk = NewConverter();
    sdk->XLSToPDB(dir + "/in.xls", dir + "/out.pdb");
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->OpenFromPDB(dir + "/out.pdb");
    EXPECT_EQ(CellValueOf(*wb), "42");
    sdk->PDBToXLS(dir + "/out.pdb", dir + "/out.xls");
    EXPECT_EQ(testing::ReadText(dir + "/out.xls"), "xls with 42");
    for (const auto& e : fsys::directory_iterator(::brevora::testing::TempHome() + "/tmp")) {
      EXPECT_FALSE(e.is_regular_file()) << e.path();  // no temporary file left
    }
    EXPECT_EQ(xl.app->quitCount, 2);
  });
}

}  // namespace
}  // namespace brevora::sheet
