// The window entry points of the application object, on the recording form
// factory: what is set on frmSave and in which order, reuse and activation of
// main windows, the modal results, and errors.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <string>
#include <vector>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/users_test_support.h"
#include "frontend/frontend_test_support.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"
#include "platform/fs/files.h"
#include "platform/windows/window_directory.h"
#include "testing/temp_home.h"

namespace brevora::frontend {
namespace {

using core::OnFreshThread;
using test::ErrorOf;
using test::FakeForms;
using test::RecordedMessages;
using ::testing::ElementsAre;
using testing::RecordingForm;

// The host's callback object: counts its Finished calls, and may fail them.
class Host : public Dispatchable<Host> {
 public:
  int finished = 0;
  bool fail = false;
  static const MemberTable<Host>& Members() {
    static const MemberTable<Host> table{{"Finished", CallKind::Method, [](Host& h, Args) {
                                            ++h.finished;
                                            if (h.fail) RaiseError(5, "Host", "host failure");
                                          }}};
    return table;
  }
};

// A main window of another program (or this one) in the window directory.
windows::RegisteredWindow MainWindowNamed(const std::string& title) {
  return windows::RegisteredWindow("ThunderRT5Form", title,
                                   {{"ThunderRT5CommandButton", "Refresh"}});
}

std::vector<windows::WindowMessage> Received(windows::RegisteredWindow& window) {
  std::vector<windows::WindowMessage> messages;
  pollfd p{window.fd(), POLLIN, 0};
  if (poll(&p, 1, 0) == 1) {
    window.HandlePending([&](const windows::WindowMessage& m) { messages.push_back(m); });
  }
  return messages;
}

TEST(DoOpenStandAloneEX, SetsUpTheMainWindowThenImportsTheFile) {
  const std::string file = testing::MakeTempDir("in") + "/Budget.tbr";
  fs::AtomicWrite(file, std::string_view("2"));
  OnFreshThread([&] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    app->Session()->SetFileMode(2);
    Ref<Host> host = MakeRef<Host>();
    // Quotes are dropped and the last component takes the name on disk.
    std::string lowerCase = file;
    lowerCase.replace(lowerCase.size() - 10, 10, "budget.TBR");
    app->DoOpenStandAloneEX("\"" + lowerCase + "\"", host);

    EXPECT_THAT(forms->Log(),
                ElementsAre("Create(frmSave)", "frmSave.SaveMode=False", "frmSave.StandAlone=True",
                            "frmSave.oTabrelPC=<object>", "frmSave.Caption=Brevora Desktop",
                            "frmSave.Tag=Brevora Desktop", "frmSave.Load", "frmSave.Show(modeless)",
                            "DoEvents", "frmSave.BringFileIn(" + file + ")"));
    EXPECT_EQ(app->Session()->FileMode(), 0);
    EXPECT_FALSE(app->Session()->IsServerMode());
    EXPECT_EQ(core::Module().gSession, app->Session());
    Ref<RecordingForm> window = forms->Created().at(0);
    EXPECT_EQ(window->Property("oTabrelPC"), Variant(Ref<Dispatch>(app)));
    window->Unload();
  });
}

TEST(DoOpenStandAloneEX, ReusesTheVisibleWindowOfTheSameModeAndCallsFinishedOnce) {
  OnFreshThread([&] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    Ref<Host> host = MakeRef<Host>();
    forms->onCreate = [&](RecordingForm& form) {
      // frmSave tells its owner when the main window unloads.
      form.onUnload = [&](RecordingForm&) { app->NotifyFinished(); };
    };
    app->DoOpenStandAloneEX("", host);
    forms->ClearLog();
    app->DoOpenStandAloneEX("", host);
    EXPECT_THAT(forms->Log(),
                ElementsAre("frmSave.SaveMode=False", "frmSave.StandAlone=True",
                            "frmSave.oTabrelPC=<object>", "frmSave.Caption=Brevora Desktop",
                            "frmSave.Tag=Brevora Desktop", "frmSave.Show(modeless)", "DoEvents"));
    EXPECT_EQ(forms->Created().size(), 1u);
    EXPECT_EQ(host->finished, 0);
    forms->Created().at(0)->Unload();
    EXPECT_EQ(host->finished, 1);
    // A host that fails in Finished does not stop the window from closing.
    host->fail = true;
    app->DoOpenStandAloneEX("", host);
    forms->Created().at(1)->Unload();
    EXPECT_EQ(host->finished, 2);
  });
}

// Without a main window of its own thread, a main window found by class and
// title (another program's) is brought to the front instead, the server one
// first; no window is made and the file is not imported.
TEST(DoOpenStandAloneEX, ActivatesAnExistingMainWindowAndImportsNothing) {
  registry::ImportRegedit(core::test::kRivorOdurovUserKey);
  OnFreshThread([&] {
    FakeForms forms;
    RecordedMessages messages;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    windows::RegisteredWindow desktop = MainWindowNamed("Brevora Desktop");
    app->DoOpenStandAloneEX("SERVERCONDUIT=\"Main Server\" /tmp/in.tbr", nullptr);
    EXPECT_TRUE(forms->Log().empty());
    EXPECT_THAT(Received(desktop), ElementsAre(windows::WindowMessage::Activate()));
    EXPECT_TRUE(app->Session()->IsServerMode());
    EXPECT_EQ(app->Session()->RivorOdurovFriendlyName(), "Main Server");
    EXPECT_EQ(app->ApplicationTitle(), "Brevora Server");

    windows::RegisteredWindow server = MainWindowNamed("Brevora Server");
    app->DoOpenStandAloneEX("/tmp/in.tbr", nullptr);
    EXPECT_FALSE(app->Session()->IsServerMode());
    EXPECT_THAT(Received(server), ElementsAre(windows::WindowMessage::Activate()));
    EXPECT_TRUE(Received(desktop).empty());
    EXPECT_TRUE(forms->Log().empty());
    EXPECT_TRUE(messages->shown().empty());
  });
}

TEST(DoOpenStandAloneEX, ShowsErrorsInsteadOfRaisingThem) {
  OnFreshThread([&] {
    FakeForms forms;
    RecordedMessages messages;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    forms->onCreate = [](RecordingForm& form) {
      form.onMethod = [](RecordingForm&, std::string_view, Args) -> Variant {
        RaiseError(32760, "frmSave.BringFileIn", "Could not import the file.");
      };
    };
    EXPECT_NO_THROW(app->DoOpenStandAloneEX("/tmp/none.tbr", nullptr));
    ASSERT_EQ(messages->shown().size(), 1u);
    EXPECT_EQ(messages->shown()[0],
              (services::Message{"Could not import the file.", "Brevora", services::MsgButtons::Ok,
                                 services::MsgIcon::Critical}));
  });
}

// A host learns what the call came to: its window shown, another one brought
// to the front, or a failure that was shown (the server switch without a
// server installed, a window that can't be made).
TEST(DoOpenStandAloneEX, TellsItsHostWhatItCameTo) {
  using Result = TabrelPC::StandAloneResult;
  OnFreshThread([&] {
    FakeForms forms;
    RecordedMessages messages;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_EQ(app->OpenStandAlone("SERVERCONDUIT=Main", nullptr), Result::kFailed);
    EXPECT_TRUE(forms->Created().empty());
    ASSERT_EQ(messages->shown().size(), 1u);
    EXPECT_EQ(
        messages->shown()[0],
        (services::Message{"You must install Zizizo RivorOdurov or Palm HotSync Server before "
                           "using Brevora Server",
                           "Brevora", services::MsgButtons::Ok, services::MsgIcon::Critical}));

    EXPECT_EQ(app->OpenStandAlone("", nullptr), Result::kShown);
    ASSERT_EQ(forms->Created().size(), 1u);
    forms->Created().at(0)->Unload();

    {
      windows::RegisteredWindow other = MainWindowNamed("Brevora Desktop");
      EXPECT_EQ(app->OpenStandAlone("", nullptr), Result::kActivatedOther);
    }
    forms->onCreate = [](RecordingForm& form) {
      form.onLoad = [](RecordingForm&) { RaiseError(429, "frmSave", "No display is available."); };
    };
    EXPECT_EQ(app->OpenStandAlone("", nullptr), Result::kFailed);
    EXPECT_EQ(messages->shown().back().text, "No display is available.");
  });
}

TEST(DoOpenStandAloneEX, WithoutWindowsSaysThatNoDisplayIsAvailable) {
  OnFreshThread([&] {
    RecordedMessages messages;
    const auto previous = InstallFormFactory(nullptr);
    // A library that is not there stands for any machine without the windows.
    const AutomationError e = ErrorOf([] { LoadForms("/nonexistent/libtabrel_forms.so"); });
    EXPECT_EQ(e.number(), 429);
    EXPECT_TRUE(e.description().ends_with("No display is available.")) << e.description();
    InstallFormFactory(previous);
  });
}

TEST(DoOpenStandAlone, IsWithdrawn) {
  OnFreshThread([&] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    const AutomationError e =
        ErrorOf([&] { CallByName(app, "DoOpenStandAlone", CallKind::Method, "x"); });
    EXPECT_EQ(e.number(), 380);
    EXPECT_EQ(e.source(), "Tabrelpc");
    EXPECT_EQ(e.description(),
              "Depreciated Function.  Please get updated version of Brevora Desktop");
    EXPECT_TRUE(forms->Log().empty());
  });
}

// Calls `member` late-bound with (file, template) by reference.
struct DialogCall {
  Variant result;
  Variant file;
  Variant openAsTemplate;
};
DialogCall CallOpen(TabrelPC& app, const char* member, std::vector<Variant> args) {
  DialogCall call;
  call.result = app.Invoke(member, CallKind::Method, Args(args));
  call.file = args[args.size() - 2];
  call.openAsTemplate = args.back();
  return call;
}

TEST(GetFileToOpenEX, OkReturnsTheWindowsFileAndTemplateAnswer) {
  OnFreshThread([&] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    windows::RegisteredWindow desktop = MainWindowNamed("Brevora Desktop");
    forms->onCreate = [](RecordingForm& form) {
      form.onModal = [](RecordingForm& f) {
        f.SetProperty("FileName", Variant("/home/a/tabrel/Unfiled/Plan.tbr"));
        f.SetProperty("OpenAsTemplate", Variant(true));
        core::Module().gDialogCancelled = false;
      };
    };
    const DialogCall call =
        CallOpen(*app, "GetFileToOpenEX", {Variant(int16_t{0}), Variant("Plan"), Variant(false)});
    EXPECT_EQ(call.result, Variant(true));
    EXPECT_EQ(call.file, Variant("/home/a/tabrel/Unfiled/Plan.tbr"));
    EXPECT_EQ(call.openAsTemplate, Variant(true));
    EXPECT_THAT(forms->Log(),
                ElementsAre("Create(frmSave)", "frmSave.FileName=Plan", "frmSave.SaveMode=False",
                            "frmSave.StandAlone=False", "frmSave.oTabrelPC=<object>", "DoEvents",
                            "frmSave.Load", "frmSave.RemoveMinimizeBox", "frmSave.Show(modal)",
                            "frmSave.Unload"));
    // The main windows were minimised first, so the dialog is not hidden behind one.
    EXPECT_THAT(Received(desktop), ElementsAre(windows::WindowMessage::Minimize()));
  });
}

TEST(GetFileToOpenEX, CancelReturnsNothing) {
  OnFreshThread([&] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    forms->onCreate = [&](RecordingForm& form) {
      form.onModal = [](RecordingForm& f) {
        f.SetProperty("FileName", Variant("/not/this.tbr"));
        core::Module().gDialogCancelled = true;
      };
    };
    for (const char* member : {"GetFileToOpen_Slidora", "GetFileToSave_Scrivane"}) {
      forms->ClearLog();
      const bool open = std::string(member).starts_with("GetFileToOpen");
      std::vector<Variant> args = {Variant("/suggested.pdb")};
      if (open) args.push_back(Variant(true));
      EXPECT_EQ(app->Invoke(member, CallKind::Method, Args(args)), Variant(false)) << member;
      EXPECT_EQ(args[0], Variant("")) << member;
      if (open) {
        EXPECT_EQ(args[1], Variant(false));
      }
      const std::vector<std::string> log = forms->Log();
      EXPECT_THAT(std::vector<std::string>(log.end() - 2, log.end()),
                  ElementsAre("frmSave.Show(modal)", "frmSave.Unload"))
          << member;
      EXPECT_EQ(app->Session()->FileMode(), open ? 2 : 1);
    }
  });
}

TEST(GetFileToSaveEx, OkAndTheWrappers) {
  OnFreshThread([&] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    forms->onCreate = [](RecordingForm& form) {
      form.onModal = [](RecordingForm& f) {
        f.SetProperty("FileName", Variant("/home/a/scriv/Unfiled/Notes.scv"));
        core::Module().gDialogCancelled = false;
      };
    };
    std::string file = "Notes";
    EXPECT_TRUE(app->GetFileToSaveEx(1, file));
    EXPECT_EQ(file, "/home/a/scriv/Unfiled/Notes.scv");
    EXPECT_EQ(forms->Created().back()->Property("SaveMode"), Variant(true));
    const struct {
      const char* member;
      int mode;
    } wrappers[] = {{"GetFileToSave", 0},          {"GetFileToSave_Scrivane", 1},
                    {"GetFileToSave_Slidora", 2},  {"GetFileToOpen", 0},
                    {"GetFileToOpen_Scrivane", 1}, {"GetFileToOpen_Slidora", 2}};
    for (const auto& w : wrappers) {
      std::vector<Variant> args = {Variant("x")};  // the template flag is optional
      EXPECT_EQ(app->Invoke(w.member, CallKind::Method, Args(args)), Variant(true)) << w.member;
      EXPECT_EQ(args[0], Variant("/home/a/scriv/Unfiled/Notes.scv")) << w.member;
      EXPECT_EQ(app->Session()->FileMode(), w.mode) << w.member;
      EXPECT_EQ(forms->Created().back()->Property("SaveMode"),
                Variant(std::string(w.member).starts_with("GetFileToSave")))
          << w.member;
    }
  });
}

TEST(GetFileToOpenEX, AnInvalidModeFailsBeforeAnyWindow) {
  OnFreshThread([&] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    std::string file = "x";
    bool openAsTemplate = true;
    AutomationError e = ErrorOf([&] { app->GetFileToOpenEX(5, file, openAsTemplate); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "TabrelPC.SetFileMode");
    EXPECT_EQ(e.description(), "Invalid File Mode.");
    e = ErrorOf([&] { app->GetFileToSaveEx(5, file); });
    EXPECT_EQ(e.description(), "Invalid File Mode.");
    EXPECT_TRUE(forms->Log().empty());
    EXPECT_EQ(file, "x");
  });
}

TEST(GetFileToOpenEX, OtherErrorsAreWrapped) {
  OnFreshThread([&] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    forms->onCreate = [](RecordingForm& form) {
      form.onModal = [](RecordingForm&) { RaiseError(7, "", "Out of memory"); };
    };
    std::string file;
    bool openAsTemplate = false;
    AutomationError e = ErrorOf([&] { app->GetFileToOpenEX(0, file, openAsTemplate); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "TabrelPC.GetFileToOpenEx");
    EXPECT_EQ(e.description(), "Could not get file to open\r\nOut of memory");
    e = ErrorOf([&] { app->GetFileToSaveEx(0, file); });
    EXPECT_EQ(e.source(), "TabrelPC.GetFileToSaveEx");
    EXPECT_EQ(e.description(), "Could not get file to save\r\nOut of memory");
  });
}

TEST(RefreshDisplay, PressesTheRefreshButtonOfThisModesVisibleMainWindow) {
  OnFreshThread([&] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    app->RefreshDisplay();  // no window: nothing
    app->DoOpenStandAloneEX("", nullptr);
    forms->ClearLog();
    CallByName(app, "RefreshDisplay", CallKind::Method);
    EXPECT_THAT(forms->Log(), ElementsAre("frmSave.btnRefresh.Value=True"));

    forms->ClearLog();
    forms->Created().at(0)->Unload();
    app->RefreshDisplay();
    EXPECT_THAT(forms->Log(), ElementsAre("frmSave.Unload"));
  });
}

}  // namespace
}  // namespace brevora::frontend
