// The slide-show control against the recording PowerPoint fake.
#include "remote/powerpoint_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/input/recording_input.h"
#include "platform/services/event_log.h"
#include "platform/services/service_slot.h"
#include "remote/command_dispatcher.h"
#include "remote/receiver_strings.h"
#include "remote/testing/packets.h"
#include "remote/testing/recording_host.h"
#include "testing/fake_office.h"
#include "testing/fake_slide_show.h"

namespace brevora::remote {
namespace {

using services::MsgResult;
using Lines = std::vector<std::string>;
using testing::operator+;

class PowerPointSessionTest : public ::testing::Test {
 protected:
  PowerPointSessionTest() { session_.ResetPowerPointState(""); }

  // PowerPoint with these presentations open (full names).
  void Open(std::initializer_list<std::string> files) {
    for (const std::string& f : files) app_->documents->OpenDocument(f);
  }
  brevora::testing::FakeSlideShow& Show(size_t i) {
    return *app_->documents->items.at(i)->slideShow;
  }
  Lines Calls(std::initializer_list<std::string_view> prefixes) {
    return script_->Select(prefixes);
  }

  std::shared_ptr<brevora::testing::OfficeScript> script_ =
      std::make_shared<brevora::testing::OfficeScript>();
  Ref<brevora::testing::FakeOfficeApp> app_ =
      MakeRef<brevora::testing::FakeOfficeApp>(script_, "App");
  brevora::testing::ScopedClass registration_{"PowerPoint.Application", app_, script_};
  testing::RecordingHost host_;
  PowerPointSession session_{host_};
};

TEST(PresentationName, MatchesWithOrWithoutItsExtension) {
  EXPECT_TRUE(PresentationNameMatches("Talk.ppt", "Talk.ppt"));
  EXPECT_TRUE(PresentationNameMatches("TALK.PPT", "talk"));
  EXPECT_TRUE(PresentationNameMatches("Talk", "tALK"));
  EXPECT_FALSE(PresentationNameMatches("Talk.pptx", "Talk"));
  EXPECT_FALSE(PresentationNameMatches(".ppt", ""));
  EXPECT_FALSE(PresentationNameMatches("Talk", "Talk.ppt"));
  EXPECT_FALSE(PresentationNameMatches("Talks.ppt", "Talk"));
}

TEST(PowerPointMissing, CommandsTwoAndFourFail) {
  // No PowerPoint on this system: creation fails with 429.
  testing::RecordingHost host;
  PowerPointSession session(host);
  session.ResetPowerPointState("");
  EXPECT_FALSE(session.OpenPresentationShow("Talk"));
  EXPECT_FALSE(session.GotoShowSlide(1, 1));
  EXPECT_EQ(session.GetCurrentShowSlide(1), 0u);
  session.EndPowerPointSession();
  EXPECT_FALSE(session.IsAttached());
  EXPECT_TRUE(host.Calls().empty());

  input::RecordingInputSink input;
  CommandDispatcher dispatcher(session, input, 1);
  ReturnPacket reply;
  const testing::Bytes open = testing::OpenShow("Talk");
  ASSERT_TRUE(dispatcher.DispatchCommand(kCommandOpenShow, std::span(open).subspan(10), reply));
  EXPECT_EQ(testing::Bytes(reply.Bytes().begin(), reply.Bytes().end()), testing::Reply(2, 2));
  const testing::Bytes target = testing::U32(1) + testing::U32(1);
  ASSERT_TRUE(dispatcher.DispatchCommand(kCommandGotoSlide, target, reply));
  EXPECT_EQ(testing::Bytes(reply.Bytes().begin(), reply.Bytes().end()), testing::Reply(4, 2));
}

TEST_F(PowerPointSessionTest, TakesAnOpenPresentationOfTheNameWithoutAsking) {
  Open({"/home/ann/Budget.ppt", "/home/ann/TALK.PPT"});
  ASSERT_TRUE(session_.OpenPresentationShow("talk"));
  EXPECT_TRUE(host_.Calls().empty());
  EXPECT_EQ(session_.RememberedIndex(), 2);
  EXPECT_FALSE(session_.StartedByUs());
  EXPECT_TRUE(Show(1).running);
  EXPECT_FALSE(Show(0).running);
  EXPECT_EQ(Calls({"CreateObject", "Settings"}),
            (Lines{"CreateObject(PowerPoint.Application)", "Settings(TALK.PPT).Run()"}));

  // The same name again: its show is started again, nothing else.
  script_->Clear();
  ASSERT_TRUE(session_.OpenPresentationShow("TALK.ppt"));
  EXPECT_EQ(Calls({"CreateObject", "Settings", "App.Quit", "View"}),
            (Lines{"Settings(TALK.PPT).Run()"}));

  // Ending exits the show but leaves the user's PowerPoint running.
  session_.EndPowerPointSession();
  EXPECT_FALSE(Show(1).running);
  EXPECT_EQ(app_->quitCount, 0);
  EXPECT_FALSE(session_.IsAttached());
}

TEST_F(PowerPointSessionTest, AsksWhetherToUseTheActivePresentation) {
  struct Case {
    MsgResult answer;
    std::optional<std::string> file;
    bool started;
    Lines calls;
  };
  const Case cases[] = {
      {MsgResult::Yes, std::nullopt, true, {"Settings(First.ppt).Run()"}},
      {MsgResult::No,
       "/home/ann/Chosen.ppt",
       true,
       {"Documents.Open(/home/ann/Chosen.ppt, 1, 0, 0)", "Settings(Chosen.ppt).Run()"}},
      {MsgResult::No, std::nullopt, false, {}},
      {MsgResult::Cancel, std::nullopt, false, {}},
  };
  for (const Case& c : cases) {
    script_->Clear();
    app_->documents->items.clear();
    Open({"/home/ann/First.ppt", "/home/ann/Second.ppt"});
    testing::RecordingHost host;
    host.Answer(c.answer);
    host.ChooseNext(c.file);
    PowerPointSession session(host);
    session.ResetPowerPointState("");
    EXPECT_EQ(session.OpenPresentationShow("Talk"), c.started);
    Lines expectedHost = {std::string("Ask(") + kMsgUseActivePresentation + ")"};
    if (c.answer == MsgResult::No) expectedHost.push_back("ChooseFile(Talk)");
    EXPECT_EQ(host.Calls(), expectedHost);
    EXPECT_EQ(Calls({"Documents.Open", "Settings"}), c.calls);
    EXPECT_EQ(session.IsAttached(), c.started);
    EXPECT_EQ(session.RememberedIndex(), c.answer == MsgResult::Yes ? 1 : 0);
    EXPECT_EQ(app_->quitCount, 0);  // never started by us
    session.EndPowerPointSession();
  }
}

TEST_F(PowerPointSessionTest, QuitsOnlyAPowerPointItStarted) {
  // Nothing open: the receiver opens the presentation, and quits PowerPoint at the end.
  host_.Answer(MsgResult::Ok);
  host_.ChooseNext("/home/ann/Talk.ppt");
  ASSERT_TRUE(session_.OpenPresentationShow("Talk.ppt"));
  EXPECT_EQ(host_.Calls(),
            (Lines{std::string("Ask(") + kMsgSelectPresentation + ")", "ChooseFile(Talk.ppt)"}));
  EXPECT_TRUE(session_.StartedByUs());
  session_.EndPowerPointSession();
  EXPECT_EQ(app_->quitCount, 1);
  EXPECT_EQ(Calls({"View", "App.Quit"}), (Lines{"View(Talk.ppt).Exit()", "App.Quit()"}));

  // Declined: ended at once, PowerPoint quit again as it was ours.
  testing::RecordingHost host;
  host.Answer(MsgResult::Cancel);
  PowerPointSession session(host);
  session.ResetPowerPointState("");
  app_->documents->items.clear();
  EXPECT_FALSE(session.OpenPresentationShow("Talk"));
  EXPECT_EQ(app_->quitCount, 2);
  EXPECT_FALSE(session.IsAttached());
}

TEST_F(PowerPointSessionTest, GoesToSlidesByPositionOrById) {
  Open({"/home/ann/Talk.ppt"});
  Show(0).slideIds = {256, 300, 257, 999};
  ASSERT_TRUE(session_.OpenPresentationShow("Talk"));

  EXPECT_TRUE(session_.GotoShowSlide(3, 1));
  EXPECT_EQ(Show(0).position, 3);
  EXPECT_EQ(session_.GetCurrentShowSlide(1), 3u);
  EXPECT_EQ(session_.GetCurrentShowSlide(0), 257u);

  EXPECT_TRUE(session_.GotoShowSlide(999, 0));
  EXPECT_EQ(Show(0).position, 4);
  // An ID no slide has, positions beyond the last or 0: nothing moves.
  EXPECT_FALSE(session_.GotoShowSlide(12345, 0));
  EXPECT_FALSE(session_.GotoShowSlide(5, 1));
  EXPECT_FALSE(session_.GotoShowSlide(0, 1));
  EXPECT_FALSE(session_.GotoShowSlide(0xFFFFFFFF, 1));
  EXPECT_EQ(Show(0).position, 4);
  EXPECT_TRUE(session_.IsAttached());
  EXPECT_EQ(Calls({"View(Talk.ppt).GotoSlide"}),
            (Lines{"View(Talk.ppt).GotoSlide(3, 0)", "View(Talk.ppt).GotoSlide(4, 0)"}));
}

TEST_F(PowerPointSessionTest, EndsTheSessionWhenTheUserClosedTheShow) {
  Open({"/home/ann/Talk.ppt"});
  ASSERT_TRUE(session_.OpenPresentationShow("Talk"));
  Show(0).EndOnDesktop();
  EXPECT_EQ(session_.GetCurrentShowSlide(1), 0u);
  EXPECT_FALSE(session_.IsAttached());
  EXPECT_EQ(session_.GetCurrentShowSlide(1), 0u);  // not attached: nothing asked

  // Command 4 attaches again and restarts the remembered presentation's show.
  script_->Clear();
  EXPECT_TRUE(session_.GotoShowSlide(2, 1));
  EXPECT_TRUE(Show(0).running);
  EXPECT_EQ(Show(0).position, 2);
  EXPECT_EQ(Calls({"CreateObject", "Documents.Item", "Settings"}),
            (Lines{"CreateObject(PowerPoint.Application)", "Documents.Item(1)",
                   "Settings(Talk.ppt).Run()"}));

  // Closed again, and the presentation gone too: ended, nothing opened.
  Show(0).EndOnDesktop();
  EXPECT_FALSE(session_.GotoShowSlide(2, 1));
  app_->documents->items.clear();
  EXPECT_FALSE(session_.GotoShowSlide(2, 1));
  EXPECT_FALSE(session_.IsAttached());
}

TEST_F(PowerPointSessionTest, ReopensOnlyAChosenFileOrAPlainName) {
  // The chosen file is opened again after the session was lost.
  host_.Answer(MsgResult::Ok);
  host_.ChooseNext("/home/ann/Deck.ppt");
  ASSERT_TRUE(session_.OpenPresentationShow("Talk"));
  session_.EndPowerPointSession();
  app_->documents->items.clear();
  script_->Clear();
  EXPECT_TRUE(session_.GotoShowSlide(1, 1));
  EXPECT_EQ(Calls({"Documents.Open"}), (Lines{"Documents.Open(/home/ann/Deck.ppt, 1, 0, 0)"}));
  session_.EndPowerPointSession();

  // A name from the handheld is opened only as a plain name, never as a path.
  for (const char* name : {"../../etc/passwd", "/tmp/x.ppt", "a\\b.ppt"}) {
    testing::RecordingHost host;  // answers Cancel
    PowerPointSession session(host);
    session.ResetPowerPointState("");
    app_->documents->items.clear();
    EXPECT_FALSE(session.OpenPresentationShow(name));
    script_->Clear();
    EXPECT_FALSE(session.GotoShowSlide(1, 1)) << name;
    EXPECT_FALSE(script_->Called("Documents.Open")) << name;
  }
  testing::RecordingHost host;
  PowerPointSession session(host);
  session.ResetPowerPointState("");
  EXPECT_FALSE(session.OpenPresentationShow("Plain.ppt"));
  script_->Clear();
  EXPECT_TRUE(session.GotoShowSlide(1, 1));
  EXPECT_EQ(Calls({"Documents.Open"}), (Lines{"Documents.Open(Plain.ppt, 1, 0, 0)"}));
}

TEST_F(PowerPointSessionTest, EndingLetsGoOfPowerPointEvenWhenItFails) {
  auto log = std::make_shared<services::RecordingEventLog>();
  services::ScopedService<services::EventLog> scoped(services::InstallEventLog, log);
  host_.Answer(MsgResult::Ok);
  host_.ChooseNext("/home/ann/Talk.ppt");
  ASSERT_TRUE(session_.OpenPresentationShow("Talk"));
  script_->FailOn("View(Talk.ppt).Exit", AutomationError(-2147188160, "PowerPoint", "Exit failed"));
  session_.EndPowerPointSession();
  EXPECT_EQ(app_->quitCount, 1);  // still quit
  EXPECT_FALSE(session_.IsAttached());
  ASSERT_EQ(log->entries().size(), 1u);
  EXPECT_EQ(log->entries()[0], "VantaPC: ending the slide show: error -2147188160: Exit failed");
  EXPECT_EQ(app_->RefCount(), 2);  // the test and the registration; the session let go
}

TEST_F(PowerPointSessionTest, AnAutomationErrorMidCommandIsAnsweredAndLogged) {
  auto log = std::make_shared<services::RecordingEventLog>();
  services::ScopedService<services::EventLog> scoped(services::InstallEventLog, log);
  input::RecordingInputSink input;
  CommandDispatcher dispatcher(session_, input, 1);
  ReturnPacket reply;
  const auto send = [&](uint16_t command, const testing::Bytes& payload) {
    const bool sent = dispatcher.DispatchCommand(command, payload, reply);
    return sent ? testing::Bytes(reply.Bytes().begin(), reply.Bytes().end()) : testing::Bytes{};
  };
  Open({"/home/ann/Talk.ppt"});
  const testing::Bytes open = testing::OpenShow("Talk");
  EXPECT_EQ(send(kCommandOpenShow, testing::Bytes(open.begin() + 10, open.end())),
            testing::Reply(2, 0));

  script_->FailOn("View(Talk.ppt).GotoSlide",
                  AutomationError(-2147188160, "PowerPoint", "GotoSlide failed"));
  EXPECT_EQ(send(kCommandGotoSlide, testing::U32(2) + testing::U32(1)), testing::Reply(4, 2));
  ASSERT_EQ(log->entries().size(), 1u);
  EXPECT_EQ(log->entries()[0],
            "VantaPC: command 4: error -2147188160 (PowerPoint): GotoSlide failed");

  // The session goes on: the next commands are served.
  script_->Clear();
  EXPECT_EQ(send(kCommandKeystrokes, testing::B("a")),
            testing::Reply(18, 0,
                           testing::U16(4) + testing::U32(1) + testing::U32(1) + testing::U16(0) +
                               testing::U16(0)));
  EXPECT_EQ(send(kCommandEndShow, {}), testing::Reply(5, 0));
  EXPECT_FALSE(Show(0).running);
}

}  // namespace
}  // namespace brevora::remote
