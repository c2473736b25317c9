// The PowerPoint converter against recording fakes of PowerPoint, its add-in
// and the server pool: the macro sequence, the add-in search, the Session
// hand-over, error handling and cleanup, and the in-process copies.
#include "slides/sdk_presentation.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/device_user.h"
#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_collection.h"
#include "core/user_manager.h"
#include "office/desktop_windows.h"
#include "office/session_values.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"
#include "platform/fs/files.h"
#include "platform/registry/registry.h"
#include "slides/presentation.h"
#include "testing/caught_error.h"
#include "testing/fake_office.h"
#include "testing/temp_home.h"

namespace brevora::slides {
namespace {

using Lines = std::vector<std::string>;
using brevora::testing::FakeOfficeApp;
using brevora::testing::FakeServerPool;
using brevora::testing::OfficeScript;
using brevora::testing::ScopedClass;
using brevora::testing::ScopedRunning;

constexpr const char* kProgId = "PowerPoint.Application";

using ::brevora::testing::ErrorOf;

class PowerPointConverter : public ::testing::Test {
 protected:
  PowerPointConverter() {
    ppt->version = "9.0";
    ppt->addIns->List(addInDir_ + "/slidr6.ppa");
    // The add-in's macros: SetSession keeps the values it is handed, GetSession
    // gives them back (or `returned` when a test set it), the conversions and
    // the document macros keep their array.
    ppt->SetMacro("slidr6.ppa!SetSession", [this](FakeOfficeApp&, Args a) {
      handed = a[0].AsArray();
      return Variant();
    });
    ppt->SetMacro("slidr6.ppa!GetSession", [this](FakeOfficeApp&, Args a) {
      a[0] = Variant(returned.empty() ? handed : returned);
      return Variant();
    });
    ppt->SetMacro("slidr6.ppa!DeleteSession", [](FakeOfficeApp&, Args) { return Variant(); });
    for (const char* macro : {"PPTToPDBExt", "PDBToPPTExt", "PPTToPDB"}) {
      ppt->SetMacro(std::string("slidr6.ppa!") + macro, [this](FakeOfficeApp&, Args a) {
        macroArrays.push_back(a[0].AsArray());
        if (failMacro) RaiseError(1004, "PowerPoint", "The macro failed.");
        return Variant();
      });
    }
    for (const char* macro : {"OpenPresentation", "SavePresentation"}) {
      ppt->SetMacro(std::string("slidr6.ppa!") + macro, [this](FakeOfficeApp&, Args a) {
        macroArrays.push_back(a[0].AsArray());
        return Variant(documentAnswer);
      });
    }
  }

  // Runs `body` where the module starts afresh (its own Session and pool).
  void Run(const std::function<void(core::Session&, SDK_Presentation&)>& body) {
    core::OnFreshThread([&] {
      Ref<core::Session> session = core::GlobalSession();
      ASSERT_TRUE(session);
      Ref<SDK_Presentation> sdk = MakeRef<SDK_Presentation>();
      sdk->SetSession(session);
      returned.clear();
      body(*session, *sdk);
    });
  }

  // The array GetSession hands back: element 0 empty, then the ten values.
  void ReturnSession(std::vector<Variant> ten) {
    returned = {Variant()};
    returned.insert(returned.end(), ten.begin(), ten.end());
  }

  std::shared_ptr<OfficeScript> script = std::make_shared<OfficeScript>();
  Ref<FakeOfficeApp> ppt = MakeRef<FakeOfficeApp>(script, "PPT");
  std::vector<Variant> handed;
  std::vector<Variant> returned;
  std::vector<std::vector<Variant>> macroArrays;
  bool failMacro = false;
  bool documentAnswer = true;
  std::string addInDir_ = brevora::testing::MakeTempDir("addins");
};

// The Session values as the add-in gets them: element 0 empty, then the set.
std::vector<Variant> Handed(const core::Session& session) {
  const auto values = office::GetSessionValues(session);
  std::vector<Variant> array{Variant()};
  array.insert(array.end(), values.begin(), values.end());
  return array;
}

TEST_F(PowerPointConverter, WithoutPowerPointTheDocumentedErrorIsRaised) {
  Run([&](core::Session&, SDK_Presentation& sdk) {
    const AutomationError e = ErrorOf([&] { sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", ""); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "GetPowerPointObject");
    EXPECT_EQ(e.description(), "Error getting PowerPoint object.\r\n" + RuntimeErrorText(429));
  });
}

// A PowerPoint the call starts: minimised, its window hidden, the add-in
// loaded, the four macros in order with 0-based arrays, then quit.
TEST_F(PowerPointConverter, StartedPowerPointRunsTheSequenceAndIsQuit) {
  ScopedClass started(kProgId, ppt, script);
  Run([&](core::Session& session, SDK_Presentation& sdk) {
    session.SetParameter1(Variant("p1"));
    const std::vector<Variant> expected = Handed(session);
    sdk.PPTToPDBExtSync("/in/deck.ppt", "/out/deck.pdb", "/in/deck.ppt");
    EXPECT_EQ(script->calls,
              (Lines{"CreateObject(PowerPoint.Application)", "PPT.WindowState=2", "PPT.Version",
                     "PPT.Version", "PPT.AddIns", "AddIns.Count", "AddIns.Item(1)",
                     "AddIn(slidr6.ppa).Name", "AddIn(slidr6.ppa).FullName", "PPT.AddIns",
                     "AddIns.Add(" + addInDir_ + "/slidr6.ppa)", "PPT.Version",
                     "PPT.Run(slidr6.ppa!SetSession, <array 11>)",
                     "PPT.Run(slidr6.ppa!PPTToPDBExt, <array 4>)", "PPT.Version",
                     "PPT.Run(slidr6.ppa!GetSession, <array 11>)", "PPT.Version",
                     "PPT.Run(slidr6.ppa!DeleteSession)", "PPT.Quit()"}));
    EXPECT_EQ(handed, expected);
    ASSERT_EQ(macroArrays.size(), 1u);
    EXPECT_EQ(macroArrays[0],
              (std::vector<Variant>{Variant(), Variant("/in/deck.ppt"), Variant("/out/deck.pdb"),
                                    Variant("/in/deck.ppt")}));
    EXPECT_EQ(sdk.HiddenWindowClasses(), Lines{"PP9FrameClass"});
  });
}

TEST_F(PowerPointConverter, MacroArraysOfEachConversion) {
  ScopedClass started(kProgId, ppt, script);
  Run([&](core::Session&, SDK_Presentation& sdk) {
    sdk.PDBToPPTExtSync("/d/a.pdb", "/d/a.ppt", "opts");
    sdk.PPTToPDB("/d/a.ppt", "", "Unfiled", "Deck");
    ASSERT_EQ(macroArrays.size(), 2u);
    EXPECT_EQ(macroArrays[0], (std::vector<Variant>{Variant(), Variant("/d/a.pdb"),
                                                    Variant("/d/a.ppt"), Variant("opts")}));
    EXPECT_EQ(macroArrays[1], (std::vector<Variant>{Variant(), Variant("/d/a.ppt"),
                                                    Variant("Unfiled"), Variant("Deck")}));
    EXPECT_EQ(script->Select({"PPT.Run(slidr6.ppa!P"}),
              (Lines{"PPT.Run(slidr6.ppa!PDBToPPTExt, <array 4>)",
                     "PPT.Run(slidr6.ppa!PPTToPDB, <array 4>)"}));
    EXPECT_EQ(ppt->quitCount, 2);
  });
}

// A PowerPoint that was running is used as it is: not minimised, not hidden,
// not quit. Its version is checked all the same.
TEST_F(PowerPointConverter, AttachedPowerPointIsLeftAsItWas) {
  ScopedRunning running(kProgId, ppt);
  Run([&](core::Session&, SDK_Presentation& sdk) {
    sdk.PDBToPPTExtSync("/d/a.pdb", "/d/a.ppt", "");
    EXPECT_FALSE(script->Called("CreateObject"));
    EXPECT_FALSE(script->Called("PPT.WindowState"));
    EXPECT_EQ(ppt->quitCount, 0);
    EXPECT_TRUE(sdk.HiddenWindowClasses().empty());
    EXPECT_EQ(macroArrays.size(), 1u);

    ppt->version = "5.0";
    const AutomationError e = ErrorOf([&] { sdk.PDBToPPTExtSync("/d/a.pdb", "/d/a.ppt", ""); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "SDK.GetPowerPointObject");
    EXPECT_EQ(e.description(), "This API requires PowerPoint 6 or newer.");
    EXPECT_EQ(macroArrays.size(), 1u);
    EXPECT_EQ(ppt->quitCount, 0);
  });
}

TEST_F(PowerPointConverter, TooOldStartedPowerPointIsQuit) {
  ScopedClass started(kProgId, ppt, script);
  ppt->version = "5.0";
  Run([&](core::Session&, SDK_Presentation& sdk) {
    const AutomationError e = ErrorOf([&] { sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", ""); });
    EXPECT_EQ(e.source(), "SDK.GetPowerPointObject");
    EXPECT_EQ(ppt->quitCount, 1);
  });
}

// PowerPoint 7 has no session macros: the conversion runs, and the Session's
// values stay as they were (they used to be blanked for the whole thread).
TEST_F(PowerPointConverter, Version7RunsNoSessionMacrosAndKeepsTheSession) {
  ScopedClass started(kProgId, ppt, script);
  ppt->version = "7.0";
  Run([&](core::Session& session, SDK_Presentation& sdk) {
    session.SetParameter1(Variant("kept"));
    session.SetParameter3(Variant("also kept"));
    session.SetFileMode(2);
    const auto before = office::GetSessionValues(session);
    sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", "");
    EXPECT_EQ(script->Select({"PPT.Run"}), Lines{"PPT.Run(slidr6.ppa!PPTToPDBExt, <array 4>)"});
    EXPECT_EQ(office::GetSessionValues(session), before);
    EXPECT_TRUE(sdk.HiddenWindowClasses().empty()) << "no main window class for version 7";
    EXPECT_EQ(ppt->quitCount, 1);
  });
}

TEST_F(PowerPointConverter, SessionValuesComeBackFromTheAddIn) {
  ScopedClass started(kProgId, ppt, script);
  Run([&](core::Session& session, SDK_Presentation& sdk) {
    ReturnSession({Variant(false), Variant(""), Variant("2"), Variant("0"), Variant(""),
                   Variant("one"), Variant("two"), Variant("three"), Variant(""), Variant("0")});
    sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", "");
    EXPECT_EQ(session.FileMode(), 2);
    EXPECT_EQ(CStr(session.Parameter1()), "one");
    EXPECT_EQ(CStr(session.Parameter3()), "three");
  });
}

// What the add-in leaves in the error slot is raised after PowerPoint is
// given back: 32760 as it is, any other number inside the method's message.
TEST_F(PowerPointConverter, AddInErrorIsRaisedAfterCleanup) {
  ScopedClass started(kProgId, ppt, script);
  struct Case {
    const char* number;
    int32_t raised;
    const char* source;
    const char* description;
  };
  for (const Case& c : {Case{"1234", 32760, "SDK.PPTToSLDExt",
                             "Error converting PPT to SLD.\r\nThe file is damaged."},
                        Case{"32760", 32760, "Brevora", "The file is damaged."}}) {
    Run([&](core::Session&, SDK_Presentation& sdk) {
      ReturnSession({Variant(false), Variant(""), Variant("2"), Variant("0"), Variant(""),
                     Variant(""), Variant(""), Variant(""), Variant("The file is damaged."),
                     Variant(c.number)});
      const int before = ppt->quitCount;
      const AutomationError e = ErrorOf([&] { sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", ""); });
      EXPECT_EQ(e.number(), c.raised);
      EXPECT_EQ(e.source(), c.source);
      EXPECT_EQ(e.description(), c.description);
      EXPECT_EQ(ppt->quitCount, before + 1);
    });
  }
}

// An error left in the slot by an earlier call is not raised again: the slot
// is emptied before the add-in runs.
TEST_F(PowerPointConverter, StaleErrorSlotIsEmptiedFirst) {
  ScopedClass started(kProgId, ppt, script);
  Run([&](core::Session& session, SDK_Presentation& sdk) {
    session.SetErrorMessage("old failure");
    session.SetErrorNumber(77);
    ppt->version = "7.0";  // no GetSession to overwrite the slot
    sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", "");
    EXPECT_EQ(session.ErrorMessage(), "");
    EXPECT_EQ(session.ErrorNumber(), 0);
    ppt->version = "9.0";
    session.SetErrorMessage("old failure");
    sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", "");
    EXPECT_EQ(handed.at(9), Variant("")) << "the add-in is handed an empty slot";
  });
}

// A failure in the middle of the sequence still quits the PowerPoint the call
// started (it used to stay running, hidden).
TEST_F(PowerPointConverter, FailuresStillQuitAStartedPowerPoint) {
  ScopedClass started(kProgId, ppt, script);
  Run([&](core::Session&, SDK_Presentation& sdk) {
    failMacro = true;
    AutomationError e = ErrorOf([&] { sdk.PDBToPPTExtSync("/a.pdb", "/a.ppt", ""); });
    EXPECT_EQ(e.source(), "SDK.SLDToPPTExt_Sync");
    EXPECT_EQ(e.description(), "Error converting SLD to PPT.\r\nThe macro failed.");
    EXPECT_EQ(ppt->quitCount, 1);

    ppt->addIns->items.clear();  // no add-in anywhere
    e = ErrorOf([&] { sdk.PDBToPPTExtSync("/a.pdb", "/a.ppt", ""); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "SDK.OpenAddIN");
    EXPECT_EQ(e.description(),
              "The Slidora add-in is not installed.  Please install the Slidora add-in using "
              "PowerPoint / Tools | Add-Ins to load Slidr(5)(7)(8).PPA prior to using this file.");
    EXPECT_EQ(ppt->quitCount, 2);
  });
}

// Server mode: PowerPoint comes from the pool, minimised, is never hidden or
// quit, and goes back to the pool on success and on failure.
TEST_F(PowerPointConverter, ServerModeTakesAndGivesBackAPoolServer) {
  Run([&](core::Session& session, SDK_Presentation& sdk) {
    Ref<FakeServerPool> pool = MakeRef<FakeServerPool>(script);
    pool->Lend(kProgId, ppt);
    core::SetServerPool(pool);
    session.SetIsServerMode(true);
    ASSERT_TRUE(session.IsServerMode());
    sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", "");
    EXPECT_EQ(script->Select({"Pool.", "Entry.", "PPT.WindowState", "PPT.Quit"}),
              (Lines{"Pool.GetServer(PowerPoint.Application)", "Entry.ServerObject",
                     "PPT.WindowState=2", "Entry.ReleaseServer()"}));
    EXPECT_TRUE(sdk.HiddenWindowClasses().empty());

    script->Clear();
    failMacro = true;
    ErrorOf([&] { sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", ""); });
    EXPECT_EQ(script->Select({"Entry.ReleaseServer", "PPT.Quit"}), Lines{"Entry.ReleaseServer()"});
    EXPECT_EQ(ppt->quitCount, 0);
    core::SetServerPool(nullptr);
  });
}

TEST_F(PowerPointConverter, AddInSearchOrder) {
  ScopedRunning running(kProgId, ppt);
  const std::string program = brevora::testing::MakeTempDir("office");
  const std::string addInFolder = brevora::testing::MakeTempDir("office/Addins");
  fs::AtomicWrite(addInFolder + "/slidr6.ppa", std::string_view("ADDIN"));
  const char* kCommandKey = "PowerPoint.AddIn\\shell\\open\\command";
  auto added = [&] { return script->Select({"AddIns.Add"}); };
  Run([&](core::Session&, SDK_Presentation& sdk) {
    // 1. Listed, under a name in small letters.
    ppt->addIns->items.clear();
    ppt->addIns->List("/shared/addins/slidr6");
    sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", "");
    EXPECT_EQ(added(), Lines{"AddIns.Add(/shared/addins/slidr6)"});

    // 2. PowerPoint's folder, any case of the name.
    script->Clear();
    ppt->addIns->items.clear();
    ppt->path = addInDir_;
    fs::AtomicWrite(addInDir_ + "/Slidr6.PPA", std::string_view("ADDIN"));
    sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", "");
    EXPECT_EQ(added(), Lines{"AddIns.Add(" + addInDir_ + "\\Slidr6.PPA)"});

    // 3. The add-in command of the registry: the folder before "\PowerPoint.exe".
    script->Clear();
    ppt->addIns->items.clear();
    ppt->path = "";
    registry::SetValue(registry::Hive::ClassesRoot, kCommandKey, "",
                       registry::Value::String("\"" + program + "\\POWERPOINT.EXE\" /a \"%1\""));
    sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", "");
    EXPECT_EQ(added(), Lines{"AddIns.Add(" + program + "\\Addins\\slidr6.ppa)"});

    // A command without "\PowerPoint.exe": the add-in error around the cause.
    ppt->addIns->items.clear();
    registry::SetValue(registry::Hive::ClassesRoot, kCommandKey, "",
                       registry::Value::String("\"" + program + "\\present.exe\""));
    const AutomationError e = ErrorOf([&] { sdk.PPTToPDBExtSync("/a.ppt", "/a.pdb", ""); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "SDK.OpenAddIn");
    EXPECT_EQ(e.description().rfind("Could not open Slidr add-in\r\n", 0), 0u) << e.description();
  });
}

// The document methods keep PowerPoint running and show it when the macro
// answers True; only SavePresentation hides a PowerPoint it started, and only
// OpenPresentation lets the add-in drop the session.
TEST_F(PowerPointConverter, OpenAndSavePresentationShowPowerPoint) {
  ScopedClass started(kProgId, ppt, script);
  Run([&](core::Session&, SDK_Presentation& sdk) {
    sdk.OpenPresentation("", "Unfiled", "Deck");
    EXPECT_EQ(macroArrays.back(),
              (std::vector<Variant>{Variant(), Variant("Unfiled"), Variant("Deck")}));
    EXPECT_TRUE(ppt->visible);
    EXPECT_EQ(ppt->windowState, 1);
    EXPECT_EQ(ppt->quitCount, 0);
    EXPECT_TRUE(sdk.HiddenWindowClasses().empty());
    EXPECT_TRUE(script->Called("PPT.Run(slidr6.ppa!DeleteSession)"));

    script->Clear();
    ppt->visible = false;
    sdk.SavePresentation("", "Work", "Plan");
    EXPECT_EQ(macroArrays.back(),
              (std::vector<Variant>{Variant(), Variant("Work"), Variant("Plan")}));
    EXPECT_TRUE(ppt->visible);
    EXPECT_EQ(ppt->quitCount, 0);
    EXPECT_EQ(sdk.HiddenWindowClasses(), Lines{"PP9FrameClass"});
    EXPECT_FALSE(script->Called("PPT.Run(slidr6.ppa!DeleteSession)"));

    // Answered False: PowerPoint is not shown.
    ppt->visible = false;
    documentAnswer = false;
    sdk.OpenPresentation("", "Unfiled", "Deck");
    EXPECT_FALSE(ppt->visible);

    // A failure quits the PowerPoint the call started.
    ppt->addIns->items.clear();
    const AutomationError e = ErrorOf([&] { sdk.SavePresentation("", "Work", "Plan"); });
    EXPECT_EQ(e.source(), "SDK.OpenAddIN");
    EXPECT_EQ(ppt->quitCount, 1);
  });
}

TEST_F(PowerPointConverter, OpenPPTPresentationShowsTheFile) {
  ScopedClass started(kProgId, ppt, script);
  Run([&](core::Session&, SDK_Presentation& sdk) {
    sdk.OpenPPTPresentation("/talks/q3.ppt");
    EXPECT_EQ(script->Select({"PPT.Visible", "PPT.WindowState", "Documents.Open", "PPT.Quit"}),
              (Lines{"PPT.WindowState=2", "PPT.Visible=True", "PPT.WindowState=1",
                     "Documents.Open(/talks/q3.ppt)"}));
    ASSERT_TRUE(ppt->documents->Find("q3.ppt"));
    EXPECT_EQ(ppt->quitCount, 0);
  });
}

// Reached as the conduits reach converters: by ProgID, late-bound, strings.
TEST_F(PowerPointConverter, LateBoundByProgId) {
  ScopedClass started(kProgId, ppt, script);
  Run([&](core::Session&, SDK_Presentation&) {
    Ref<Dispatch> sdk = CreateObject("TabulynPC.SDK_Presentation");
    CallByName(sdk, "PPTToPDBExt_Sync", CallKind::Method, "/a.ppt", "/a.pdb", "/a.ppt");
    EXPECT_EQ(macroArrays.size(), 1u);
  });
}

// A desktop window that records its refreshes, or fails.
class FakeDesktopWindow : public Dispatchable<FakeDesktopWindow> {
 public:
  static const MemberTable<FakeDesktopWindow>& Members() {
    static const MemberTable<FakeDesktopWindow> table{
        {"Refresh1", CallKind::Method, [](FakeDesktopWindow& w, Args) {
           ++w.refreshed;
           if (w.fail) RaiseError(5, "frmSave", "The list is busy.");
         }}};
    return table;
  }
  int refreshed = 0;
  bool fail = false;
};

TEST_F(PowerPointConverter, RefreshReloadsEveryDesktopWindow) {
  Run([&](core::Session&, SDK_Presentation& sdk) {
    Ref<FakeDesktopWindow> a = MakeRef<FakeDesktopWindow>();
    Ref<FakeDesktopWindow> b = MakeRef<FakeDesktopWindow>();
    office::RegisterDesktopWindow(a);
    office::RegisterDesktopWindow(b);
    sdk.Refresh();
    EXPECT_EQ(a->refreshed, 1);
    EXPECT_EQ(b->refreshed, 1);
    b->fail = true;
    const AutomationError e = ErrorOf([&] { sdk.Refresh(); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "SDK.Refresh");
    EXPECT_EQ(e.description(),
              "Could not refresh Brevora Desktop.  Please close and reopen  Brevora Desktop.\r\n"
              "The list is busy.");
    office::UnregisterDesktopWindow(a);
    office::UnregisterDesktopWindow(b);
  });
}

// ---- In process --------------------------------------------------------------------

class InProcess : public PowerPointConverter {
 protected:
  // A one-slide presentation file at `path`.
  void WriteDeck(const std::string& path, const std::string& title) {
    fs::AtomicWrite(dir_ + "/pic.png", std::string_view("PICTURE"));
    fs::AtomicWrite(dir_ + "/thumb.png", std::string_view("THUMB"));
    Ref<Presentation> p = MakeRef<Presentation>();
    p->SetFileName(title);
    Ref<Slide> s = p->Slides()->Add(1, 0, dir_ + "/pic.png");
    s->AddThumbnail(dir_ + "/thumb.png", 0);
    s->Outlines()->Add(0, 0, 0, NONE, title);
    p->WriteToDisk(path);
  }

  // Runs `body` with "Anna" as a user whose folder is anna_.
  void WithAnna(const std::function<void(core::Session&, SDK_Presentation&)>& body) {
    Run([&](core::Session& session, SDK_Presentation& sdk) {
      Ref<core::DeviceUser> user = MakeRef<core::DeviceUser>();
      user->SetUID(7);
      user->SetUserName("Anna");
      user->SetPath(anna_);
      session.GetUserManager()->GetUsers()->Add(user);
      body(session, sdk);
    });
  }

  std::string dir_ = brevora::testing::MakeTempDir("files");
  std::string anna_ = brevora::testing::MakeTempDir("Anna");
};

TEST_F(InProcess, CopyPDBToExternalCopiesOnlyPresentations) {
  Run([&](core::Session&, SDK_Presentation& sdk) {
    WriteDeck(dir_ + "/deck.pdb", "Deck");
    sdk.CopyPDBToExternal(dir_ + "/deck.pdb", dir_ + "/copy.pdb");
    EXPECT_TRUE(Presentation::FileIsPresentation(dir_ + "/copy.pdb"));

    // Not a presentation database: nothing happens and nothing is reported.
    fs::AtomicWrite(dir_ + "/notes.pdb", std::string_view("just some text"));
    sdk.CopyPDBToExternal(dir_ + "/notes.pdb", dir_ + "/other.pdb");
    EXPECT_FALSE(fs::FileExists(dir_ + "/other.pdb"));
  });
}

TEST_F(InProcess, DesktopCopiesAndRemoveFromUser) {
  ScopedClass started(kProgId, ppt, script);
  WithAnna([&](core::Session& session, SDK_Presentation& sdk) {
    WriteDeck(dir_ + "/deck.pdb", "Deck");
    sdk.CopyPDBToDesktop(dir_ + "/deck.pdb", "Anna", "Work", "Deck");
    const std::string stored = anna_ + "\\slidr\\Work/Deck.pdb";
    EXPECT_TRUE(Presentation::FileIsPresentation(stored));

    sdk.DesktopPDBToExternal("Anna", "Work", "Deck", dir_ + "/out.pdb");
    EXPECT_TRUE(Presentation::FileIsPresentation(dir_ + "/out.pdb"));

    // To PowerPoint through a temporary database handed to the add-in.
    sdk.DesktopPDBToPPT("Anna", "Work", "Deck", dir_ + "/deck.ppt");
    ASSERT_EQ(macroArrays.size(), 1u);
    EXPECT_EQ(CStr(macroArrays[0][1]).find("/tbr"), CStr(macroArrays[0][1]).rfind('/'));
    EXPECT_EQ(macroArrays[0][2], Variant(dir_ + "/deck.ppt"));
    EXPECT_FALSE(fs::FileExists(CStr(macroArrays[0][1]))) << "the temporary database is gone";

    // Names that lead out of the user's folder are refused, whatever is there.
    WriteDeck(anna_ + "/slidr/outside.pdb", "Outside");
    session.SetFileMode(0);
    AutomationError e = ErrorOf([&] { sdk.RemoveFromUser("Anna", "..", "outside"); });
    EXPECT_EQ(e.source(), "SDK.RemoveFromUser");
    EXPECT_EQ(e.description().rfind("Error removing from user.\r\n", 0), 0u);
    EXPECT_TRUE(fs::FileExists(anna_ + "/slidr/outside.pdb"));

    sdk.RemoveFromUser("Anna", "Work", "deck");  // the name in another case
    EXPECT_FALSE(fs::FileExists(stored));
    EXPECT_EQ(session.FileMode(), 2);

    // 32760 passes the other methods unchanged ...
    e = ErrorOf([&] { sdk.DesktopPDBToExternal("Anna", "Work", "Deck", dir_ + "/x.pdb"); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "Presentation.OpenFromDisk");
    // ... but RemoveFromUser puts its message in front of every error.
    Ref<FakeDesktopWindow> window = MakeRef<FakeDesktopWindow>();
    window->fail = true;
    office::RegisterDesktopWindow(window);
    e = ErrorOf([&] { sdk.RemoveFromUser("Anna", "Work", "Deck"); });
    EXPECT_EQ(e.source(), "SDK.RemoveFromUser");
    EXPECT_EQ(e.description(),
              "Error removing from user.\r\nCould not refresh Brevora Desktop.  Please close and "
              "reopen  Brevora Desktop.\r\nThe list is busy.");
    office::UnregisterDesktopWindow(window);
  });
}

}  // namespace
}  // namespace brevora::slides
