#include "remote/command_dispatcher.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/input/recording_input.h"
#include "platform/services/event_log.h"
#include "platform/services/service_slot.h"
#include "remote/testing/packets.h"
#include "remote/testing/recording_slide_show.h"

namespace brevora::remote {
namespace {

using namespace testing;

struct Dispatched {
  bool sent;
  Bytes reply;
};

class DispatcherTest : public ::testing::Test {
 protected:
  Dispatched Send(uint16_t command, const Bytes& payload = {}) {
    ReturnPacket reply;
    const bool sent = dispatcher_.DispatchCommand(command, payload, reply);
    return {sent, Bytes(reply.Bytes().begin(), reply.Bytes().end())};
  }
  Bytes OpenPayload(std::string_view name) {
    const Bytes packet = OpenShow(name);
    return Bytes(packet.begin() + 10, packet.end());
  }

  std::shared_ptr<services::RecordingEventLog> log_ =
      std::make_shared<services::RecordingEventLog>();
  services::ScopedService<services::EventLog> scopedLog_{services::InstallEventLog, log_};
  RecordingSlideShow show_;
  input::RecordingInputSink input_;
  CommandDispatcher dispatcher_{show_, input_, 0x0102030A};
};

TEST_F(DispatcherTest, AnswersAnAutomationErrorAsAFailedOperationAndGoesOn) {
  const AutomationError error(-2147188160, "PowerPoint", "SlideShowWindow : Invalid request.");
  show_.FailOn("Open", error);
  show_.FailOn("Goto", error);
  show_.FailOn("Current", error);
  show_.FailOn("End", error);

  const Dispatched open = Send(kCommandOpenShow, OpenPayload("Talk"));
  EXPECT_TRUE(open.sent);
  EXPECT_EQ(open.reply, Reply(2, 2));
  EXPECT_TRUE(dispatcher_.PresentationOpened());  // as for any show that did not start
  EXPECT_EQ(Send(kCommandGotoSlide, U32(2) + U32(1)).reply, Reply(4, 2));
  EXPECT_EQ(Send(kCommandEndShow).reply, Reply(5, 0));
  EXPECT_FALSE(Send(kCommandKeystrokes, B("a")).sent);  // as for a show that is gone
  EXPECT_FALSE(Send(kCommandMouse, {1, 0, 1, 0, 6, 0}).sent);
  EXPECT_EQ(Send(kCommandHello).reply, HelloReply(0x0102030A));

  const std::vector<std::string> entries = log_->entries();
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(
      entries[0],
      "VantaPC: command 2: error -2147188160 (PowerPoint): SlideShowWindow : Invalid request.");
  EXPECT_EQ(entries[1].rfind("VantaPC: command 4: error -2147188160", 0), 0u);
  EXPECT_EQ(entries[2].rfind("VantaPC: command 5: ", 0), 0u);
  EXPECT_EQ(entries[3].rfind("VantaPC: command 18: ", 0), 0u);
  EXPECT_EQ(entries[4].rfind("VantaPC: command 19: ", 0), 0u);
  // The keystrokes and the mouse event were sent before the slide was asked for.
  EXPECT_EQ(input_.Count(), 3u);
}

TEST_F(DispatcherTest, CatchesOtherFailuresOfTheSlideShowToo) {
  struct Throws : RecordingSlideShow {
    bool GotoShowSlide(uint32_t, uint32_t) override { throw std::runtime_error("broken"); }
  } show;
  CommandDispatcher dispatcher(show, input_, 1);
  ReturnPacket reply;
  const Bytes open = OpenPayload("x");
  dispatcher.DispatchCommand(kCommandOpenShow, open, reply);
  const Bytes goto_ = U32(1) + U32(1);
  EXPECT_TRUE(dispatcher.DispatchCommand(kCommandGotoSlide, goto_, reply));
  EXPECT_EQ(Bytes(reply.Bytes().begin(), reply.Bytes().end()), Reply(4, 2));
  ASSERT_EQ(log_->entries().size(), 1u);
  EXPECT_EQ(log_->entries()[0], "VantaPC: command 4: error 5: broken");
}

TEST_F(DispatcherTest, StoresTheTimeMarkOnlyWhenWellFormed) {
  EXPECT_EQ(Send(kCommandTimeMark, U16(0x1234)).reply, Reply(9, 2));
  EXPECT_EQ(dispatcher_.TimeMark(), 0);
  Send(kCommandOpenShow, OpenPayload("x"));
  EXPECT_EQ(Send(kCommandTimeMark, U16(0x1234) + Bytes{0}).reply, Reply(9, 1));
  EXPECT_EQ(dispatcher_.TimeMark(), 0);
  EXPECT_EQ(Send(kCommandTimeMark, U16(0x1234)).reply, Reply(9, 0));
  EXPECT_EQ(dispatcher_.TimeMark(), 0x1234);
}

TEST_F(DispatcherTest, ResetForgetsThePresentation) {
  Send(kCommandOpenShow, OpenPayload("Talk"));
  ASSERT_TRUE(dispatcher_.PresentationOpened());
  dispatcher_.ResetProtocolState();
  EXPECT_FALSE(dispatcher_.PresentationOpened());
  EXPECT_EQ(Send(kCommandPresentationName).reply, Reply(6, 2));
}

TEST(ReturnPacket, NeverGrowsPastItsBuffer) {
  ReturnPacket reply;
  reply.Start(6);
  const Bytes big(kMaxReplyExtra, 'x');
  EXPECT_TRUE(reply.AppendBytes(big));
  EXPECT_FALSE(reply.AppendU16(1));
  EXPECT_FALSE(reply.AppendU32(1));
  EXPECT_FALSE(reply.AppendBytes(Bytes{1}));
  EXPECT_EQ(reply.Bytes().size(), kReturnPacketSize);
  EXPECT_EQ(Bytes(reply.Bytes().begin(), reply.Bytes().end()), Reply(6, 0, big));
  reply.Start(1);
  EXPECT_EQ(Bytes(reply.Bytes().begin(), reply.Bytes().end()), Reply(1, 0));
}

}  // namespace
}  // namespace brevora::remote
