// The about box and help entry of the application object, on the recording
// form factory and help viewer; and every slot of the interface by name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "frontend/about_box.h"
#include "frontend/frontend_test_support.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/services/help.h"
#include "platform/text/case.h"

namespace brevora::frontend {
namespace {

using core::OnFreshThread;
using test::FakeForms;
using test::RecordedMessages;
using ::testing::ElementsAre;
using testing::RecordingForm;

TEST(DoAbout, ShowsTheAboutBoxModallyWithTheMacroVersion) {
  OnFreshThread([] {
    FakeForms forms;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    std::string seen;
    forms->onCreate = [&](RecordingForm& form) {
      form.onModal = [&](RecordingForm&) { seen = app->MacroVersion(); };
    };
    // No version: the module's own, handed back to the caller.
    std::vector<Variant> args = {Variant("")};
    app->Invoke("DoAbout", CallKind::Method, Args(args));
    EXPECT_EQ(args[0], Variant("{7.1.0}"));
    EXPECT_EQ(seen, "{7.1.0}");
    EXPECT_THAT(forms->Log(),
                ElementsAre("Create(frmAbout)", "frmAbout.oTabrelPC=<object>", "frmAbout.Load",
                            "frmAbout.Show(modal)", "frmAbout.Unload"));
    CallByName(app, "DoAbout", CallKind::Method);  // the argument is optional
    EXPECT_EQ(CallByName(app, "m_MacroVersion", CallKind::Get), Variant("{7.1.0}"));

    CallByName(app, "DoAbout", CallKind::Method, "3.2 beta");
    EXPECT_EQ(seen, "3.2 beta");
    EXPECT_EQ(CallByName(app, "m_MacroVersion", CallKind::Get), Variant("3.2 beta"));
    CallByName(app, "m_MacroVersion", CallKind::Let, "4");
    EXPECT_EQ(app->MacroVersion(), "4");
  });
}

TEST(DoAbout, ShowsAFailedLoadInsteadOfRaisingIt) {
  OnFreshThread([] {
    FakeForms forms;
    RecordedMessages messages;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    forms->onCreate = [](RecordingForm& form) {
      form.onLoad = [](RecordingForm&) { RaiseError(5, "frmAbout", "no version resource"); };
    };
    EXPECT_NO_THROW(CallByName(app, "DoAbout", CallKind::Method, "1"));
    EXPECT_THAT(messages->shown(), ElementsAre(services::Message{
                                       "Could not open about box.   no version resource", "Brevora",
                                       services::MsgButtons::Ok, services::MsgIcon::Critical}));
  });
}

TEST(AboutBox, Texts) {
  EXPECT_EQ(AboutTexts("{7.1.0}"),
            (AboutBoxTexts{"Brevora Desktop 7.1", "Copyright \xA9 Orvanex.  All rights reserved.",
                           "Brevora, Tabulyn, Scrivane and Slidora are trademarks of Orvanex.",
                           "Macro version:  {7.1.0}"}));
  EXPECT_EQ(AboutTexts("").macroVersion, "Macro version:  ");
}

TEST(DoHelp, OpensTheContentsOfTheFile) {
  auto viewer = std::make_shared<services::RecordingHelpViewer>();
  services::ScopedService<services::HelpViewer> scope(services::InstallHelpViewer, viewer);
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_EQ(CallByName(app, "DoHelp", CallKind::Method, 0, "TABRELPC.HLP", 1, 726), Variant());
    CallByName(app, "DoHelp", CallKind::Method, 42, "/opt/help/SCRIV.HLP", 3, 0);
  });
  EXPECT_THAT(viewer->requests(), ElementsAre(services::HelpRequest{"TABRELPC.HLP", 11, 0},
                                              services::HelpRequest{"/opt/help/SCRIV.HLP", 11, 0}));
}

// Every member of the interface answers by its name and kind.
TEST(TabrelPC, EverySlotAnswersByName) {
  using K = CallKind;
  const struct {
    const char* name;
    CallKind kind;
  } slots[] = {
      {"m_MacroVersion", K::Get},
      {"m_MacroVersion", K::Let},
      {"ApplicationTitle", K::Get},
      {"DoHelp", K::Method},
      {"DoOpenStandAloneEX", K::Method},
      {"GetFileToOpenEX", K::Method},
      {"GetFileToSaveEx", K::Method},
      {"GetSyncPath", K::Method},
      {"MakeDirty", K::Method},
      {"ORX_BitAndEx", K::Method},
      {"RefreshDisplay", K::Method},
      {"Session", K::Set},
      {"Session", K::Get},
      {"ShutdownPooling", K::Method},
      {"UserName", K::Let},
      {"UserName", K::Get},
      {"UserID", K::Let},
      {"UserID", K::Get},
      {"SetCurrentUser", K::Method},
      {"GetTabulynPath", K::Get},
      {"GetScrivanePath", K::Get},
      {"GetSlidoraPath", K::Get},
      {"SetTitle", K::Method},
      {"GetTempFile", K::Method},
      {"BringToFront", K::Method},
      {"ResetAllProperties", K::Method},
      {"GetPropertyFile", K::Method},
      {"LongPathToShort", K::Method},
      {"GetProperty", K::Method},
      {"SetProperty", K::Method},
      {"DoAbout", K::Method},
      {"DoOpenStandAlone", K::Method},
      {"SetFileMode", K::Method},
      {"GetFileToSave_Scrivane", K::Method},
      {"GetFileToSave_Slidora", K::Method},
      {"GetFileToSave", K::Method},
      {"GetFileToOpen", K::Method},
      {"GetFileToOpen_Scrivane", K::Method},
      {"GetFileToOpen_Slidora", K::Method},
      {"WarnThreshold", K::Let},
      {"WarnThreshold", K::Get},
      {"HomeDirectory", K::Let},
      {"IsCustomHomeDirectory", K::Get},
      {"HomeDirectory", K::Get},
      {"HotSyncHome", K::Get},
      {"InstalledTabulyn", K::Get},
      {"InstalledScrivane", K::Get},
      {"InstalledSlidora", K::Get},
      {"tbPalmIndexToRGB", K::Method},
      {"tbRBGToPalmIndex", K::Method},
  };
  for (const auto& slot : slots) {
    EXPECT_TRUE(TabrelPC::Members().Has(slot.name, slot.kind)) << slot.name;
    EXPECT_TRUE(TabrelPC::Members().Has(text::LCase(slot.name), slot.kind))
        << slot.name << " (any case)";
  }
}

}  // namespace
}  // namespace brevora::frontend
