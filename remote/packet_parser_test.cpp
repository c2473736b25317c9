// The protocol end to end, without a port: byte strings go through the receive
// buffer, the parser and the dispatcher into a recording slide show and a
// recording input sink; the replies are compared byte for byte. Every case is
// fed whole, a byte per read, and split in two reads at every position; a pause
// (the line quiet for a read time-out) separates the segments of a case.
#include "remote/packet_parser.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/input/recording_input.h"
#include "remote/command_dispatcher.h"
#include "remote/packet_receiver.h"
#include "remote/testing/packets.h"
#include "remote/testing/recording_slide_show.h"

namespace brevora::remote {
namespace {

using namespace testing;

constexpr uint32_t kVersion = 0x1A030F0A;

class CapturedReplies : public ReplyPort {
 public:
  bool Write(std::span<const uint8_t> bytes) override {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return true;
  }
  Bytes bytes_;
};

// One receiver over recording fakes.
struct Rig {
  RecordingSlideShow show;
  input::RecordingInputSink input;
  CommandDispatcher dispatcher{show, input, kVersion};
  PacketParser parser{dispatcher};
  CapturedReplies replies;
  PacketReceiver receiver{parser};
  Rig() { parser.ResetProtocolState(&replies); }
};

struct Case {
  std::string name;
  std::vector<Bytes> segments;  // a pause before each segment after the first
  Bytes replies;
  std::vector<std::string> calls = {};
  std::vector<std::string> input = {};
  std::function<void(RecordingSlideShow&)> setup = nullptr;
};

struct Outcome {
  Bytes replies;
  std::vector<std::string> calls;
  std::vector<std::string> input;
  size_t held;
};

// Feeds the case; `split` cuts the whole stream in two reads at that offset
// (npos: each segment whole), `maxRead` limits every read.
Outcome Run(const Case& c, size_t split, size_t maxRead) {
  Rig rig;
  if (c.setup) c.setup(rig.show);
  size_t offset = 0;
  for (size_t s = 0; s < c.segments.size(); ++s) {
    if (s > 0) rig.receiver.Idle();
    const Bytes& segment = c.segments[s];
    const size_t start = offset;
    offset += segment.size();
    if (split > start && split < offset) {
      const size_t k = split - start;
      rig.receiver.Feed(std::span(segment).first(k), maxRead);
      rig.receiver.Feed(std::span(segment).subspan(k), maxRead);
    } else {
      rig.receiver.Feed(segment, maxRead);
    }
  }
  return {rig.replies.bytes_, rig.show.Calls(), rig.input.Described(), rig.receiver.Held()};
}

void Expect(const Case& c, const Outcome& o, const std::string& how) {
  EXPECT_EQ(o.replies, c.replies) << c.name << " (" << how << ")";
  EXPECT_EQ(o.calls, c.calls) << c.name << " (" << how << ")";
  EXPECT_EQ(o.input, c.input) << c.name << " (" << how << ")";
  EXPECT_LT(o.held, kReceiveBufferSize) << c.name << " (" << how << ")";
}

void RunEveryWay(const Case& c) {
  constexpr size_t kWhole = static_cast<size_t>(-1);
  Expect(c, Run(c, kWhole, kWhole), "whole");
  Expect(c, Run(c, kWhole, 1), "a byte per read");
  size_t total = 0;
  for (const Bytes& s : c.segments) total += s.size();
  for (size_t k = 1; k < total; ++k) {
    const Outcome o = Run(c, k, kWhole);
    if (o.replies != c.replies || o.calls != c.calls || o.input != c.input) {
      Expect(c, o, "split at " + std::to_string(k));
      return;  // one failing split says enough
    }
  }
}

const Bytes kHello = Packet(kCommandHello);
const Bytes kHelloReply = HelloReply(kVersion);

std::vector<std::string> TypedA() { return {"Shift down", "A down", "A up", "Shift up"}; }

TEST(Protocol, AnswersWhatTheHandheldAsks) {
  const Case cases[] = {
      {"hello", {kHello}, kHelloReply},
      {"two packets in one read, answered in order",
       {kHello + Packet(kCommandUnsupported7, B("xy"))},
       kHelloReply + Reply(7, 1)},
      {"presentation name before any presentation",
       {Packet(kCommandPresentationName)},
       Reply(6, 2)},
      {"open a presentation, then its name",
       {OpenShow("Talk") + Packet(kCommandPresentationName)},
       Reply(2, 0) + Reply(6, 0, U16(1) + B("Talk") + Bytes{0}),
       {"Open(Talk)"}},
      {"a show that does not start still counts as opened",
       {OpenShow("Talk") + Packet(kCommandPresentationName)},
       Reply(2, 2) + Reply(6, 0, U16(1) + B("Talk") + Bytes{0}),
       {"Open(Talk)"},
       {},
       [](RecordingSlideShow& s) { s.openResult = false; }},
      {"format other than 1 forgets the opened presentation",
       {OpenShow("Talk") +
        Packet(kCommandOpenShow, U16(2) + U16(0) + U16(0) + Bytes{0, 0} + B("X") + Bytes{0}) +
        Packet(kCommandPresentationName)},
       Reply(2, 0) + Reply(2, 1) + Reply(6, 2),
       {"Open(Talk)"}},
      {"an empty name is a name", {OpenShow("")}, Reply(2, 0), {"Open()"}},
      {"go to a slide",
       {OpenShow("T") + GotoSlide(3, 1)},
       Reply(2, 0) + Reply(4, 0),
       {"Open(T)", "Goto(3, 1)"}},
      {"go to a slide that is not there",
       {OpenShow("T") + GotoSlide(77, 0)},
       Reply(2, 0) + Reply(4, 2),
       {"Open(T)", "Goto(77, 0)"},
       {},
       [](RecordingSlideShow& s) { s.gotoResult = false; }},
      {"go to a slide with nothing opened", {GotoSlide(3, 1)}, Reply(4, 2)},
      {"end the show", {Packet(kCommandEndShow)}, Reply(5, 0), {"End"}},
      {"unsupported short commands",
       {Packet(7) + Packet(8, B("abc")) + Packet(16, B("z"))},
       Reply(7, 1) + Reply(8, 1) + Reply(16, 1)},
      {"time mark",
       {Packet(9, U16(5)) + OpenShow("T") + Packet(9, U16(5)) + Packet(9, B("abc"))},
       Reply(9, 2) + Reply(2, 0) + Reply(9, 0) + Reply(9, 1),
       {"Open(T)"}},
      {"command 3 is answered once all its data came",
       {Packet(kCommandData3, U32(1) + U16(2) + B("some file data"))},
       Reply(3, 1)},
      {"command 17 is never answered",
       {Packet(kCommandData17, U32(1) + U32(2) + B("data")) + kHello},
       kHelloReply},
      {"command 0x1000",
       {Packet(kCommandData0x1000, U32(1) + U32(2) + B("data"))},
       Reply(0x1000, 1)},
      {"an unknown command is taken as data by its length",
       {Packet(0x0042, kHello) + kHello},
       Reply(0x42, 1) + kHelloReply},
      {"keystrokes with no presentation: typed, no reply",
       {Packet(kCommandKeystrokes, B("A"))},
       {},
       {},
       TypedA()},
      {"keystrokes while the show has no slide: no reply",
       {OpenShow("T") + Packet(kCommandKeystrokes, B("A"))},
       Reply(2, 0),
       {"Open(T)", "Current(0)"},
       TypedA()},
      {"keystrokes report a new slide once",
       {OpenShow("T") + GotoSlide(2, 1) + Packet(kCommandKeystrokes, B("A")) +
        Packet(kCommandKeystrokes, B(""))},
       Reply(2, 0) + Reply(4, 0) + Reply(18, 0, U16(4) + U32(3) + U32(1) + U16(0) + U16(0)) +
           Reply(18, 0),
       {"Open(T)", "Goto(2, 1)", "Current(1)", "Current(1)"},
       TypedA(),
       [](RecordingSlideShow& s) { s.currentSlide = 3; }},
      {"keystrokes on the slide reached: status alone",
       {OpenShow("T") + GotoSlide(3, 1) + Packet(kCommandKeystrokes, B("A"))},
       Reply(2, 0) + Reply(4, 0) + Reply(18, 0),
       {"Open(T)", "Goto(3, 1)", "Current(1)"},
       TypedA(),
       [](RecordingSlideShow& s) { s.currentSlide = 3; }},
      {"mouse", {Mouse(0xFFFB, 0, 7)}, {}, {}, {"left down by -5,0"}},
      {"mouse reports the slide by ID before any command 4",
       {OpenShow("T") + Mouse(100, 200, 1)},
       Reply(2, 0) + Reply(19, 0, U16(4) + U32(256) + U32(0) + U16(0) + U16(0)),
       {"Open(T)", "Current(0)"},
       {"move to 6399,17066"},
       [](RecordingSlideShow& s) { s.currentSlide = 256; }},
  };
  for (const Case& c : cases) RunEveryWay(c);
}

TEST(Protocol, FindsPacketsAmongNoiseAndNuls) {
  const Case cases[] = {
      {"a NUL between two packets", {kHello + Bytes{0} + kHello}, kHelloReply + kHelloReply},
      {"a NUL at the start", {Bytes{0} + kHello}, kHelloReply},
      // The magic is searched as bytes: a NUL further before it loses nothing.
      {"noise with a NUL before the magic",
       {B("ab") + Bytes{0} + B("cdefghijk") + kHello},
       kHelloReply},
      {"noise and NULs between packets",
       {B("xx") + kHello + Bytes(37, 0) + B("PSP") + B("garbage\r\n") + kHello + B("PS")},
       kHelloReply + kHelloReply},
      {"a buffer of noise only, then a packet", {Bytes(5000, 'P'), kHello}, kHelloReply},
      {"almost a magic", {B("PSPPSPPSxPSPSP") + kHello}, kHelloReply},
  };
  for (const Case& c : cases) RunEveryWay(c);
}

TEST(Protocol, RefusesMalformedCommandsAndStaysInStep) {
  const Bytes name253(253, 'n');
  const Bytes name254(254, 'n');
  const Case cases[] = {
      {"name of 253 characters",
       {Packet(kCommandOpenShow, U16(1) + U16(0) + U16(0) + Bytes{0, 0} + name253 + Bytes{0}) +
        Packet(kCommandPresentationName)},
       Reply(2, 0) + Reply(6, 0, U16(1) + name253 + Bytes{0}),
       {"Open(" + std::string(253, 'n') + ")"}},
      {"name of 254 characters changes nothing",
       {Packet(kCommandOpenShow, U16(1) + U16(0) + U16(0) + Bytes{0, 0} + name254 + Bytes{0}) +
        Packet(kCommandPresentationName) + kHello},
       Reply(2, 1) + Reply(6, 2) + kHelloReply},
      {"name without NUL changes nothing",
       {OpenShow("Talk") +
        Packet(kCommandOpenShow, U16(1) + U16(0) + U16(0) + Bytes{0, 0} + B("Other")) +
        Packet(kCommandPresentationName)},
       Reply(2, 0) + Reply(2, 1) + Reply(6, 0, U16(1) + B("Talk") + Bytes{0}),
       {"Open(Talk)"}},
      {"command 2 shorter than its fields",
       {Packet(kCommandOpenShow, U16(1) + B("abc")) + kHello},
       Reply(2, 1) + kHelloReply},
      {"command 4 shorter than its fields",
       {OpenShow("T") + Packet(kCommandGotoSlide, U32(3)) + kHello},
       Reply(2, 0) + Reply(4, 1) + kHelloReply,
       {"Open(T)"}},
      {"command 19 shorter than its fields",
       {Packet(kCommandMouse, Bytes{1, 0, 2, 0, 1}) + kHello},
       Reply(19, 1) + kHelloReply},
      {"empty keystrokes", {Packet(kCommandKeystrokes) + kHello}, kHelloReply},
      {"a short command of 9 bytes",
       {Packet(kCommandKeystrokes, B("abcdefghi")) + kHello},
       kHelloReply,
       {},
       {"A down", "A up", "B down", "B up", "C down", "C up", "D down", "D up", "E down", "E up",
        "F down", "F up", "G down", "G up", "H down", "H up", "I down", "I up"}},
      {"command 3 shorter than its sub-header",
       {Packet(kCommandData3, B("abcd")) + kHello},
       Reply(3, 1) + kHelloReply},
      {"command 17 shorter than its sub-header",
       {Packet(kCommandData17, B("abcdefg")) + kHello},
       Reply(17, 1) + kHelloReply},
      {"command 0x1000 of length 0",
       {Packet(kCommandData0x1000) + kHello},
       Reply(0x1000, 1) + kHelloReply},
      {"an unknown command of length 0", {Packet(0x7777) + kHello}, Reply(0x7777, 1) + kHelloReply},
  };
  for (const Case& c : cases) RunEveryWay(c);
}

TEST(Protocol, SurvivesHostileLengthsAndCutPackets) {
  const Case cases[] = {
      // 10 + 4086 bytes fill the receive buffer exactly.
      {"a short command of 4086 bytes",
       {Packet(kCommandKeystrokes, Bytes(4085, 1) + B("z")) + kHello},
       kHelloReply,
       {},
       {"Z down", "Z up"}},
      // One byte more can never be held: answered at once, its payload skipped.
      {"a short command of 4087 bytes",
       {Packet(kCommandKeystrokes, Bytes(4087, 'a')) + kHello},
       Reply(18, 1) + kHelloReply},
      {"a short command of 0xFFFFFFFF bytes",
       {Header(kCommandKeystrokes, 0xFFFFFFFF) + B("aaaa"), B("more of it"), kHello},
       Reply(18, 1) + kHelloReply},
      {"a data command of 0xFFFFFFFF bytes",
       {Header(kCommandData0x1000, 0xFFFFFFFF) + U32(1) + U32(2) + B("data"), kHello},
       kHelloReply},
      {"an unknown command of 0xFFFFFFFF bytes", {Header(0x4242, 0xFFFFFFFF), kHello}, kHelloReply},
      {"a header cut after the magic", {B("PSPD") + Bytes{0}, kHello}, kHelloReply},
      {"a header cut after the command",
       {B("PSPD") + U16(kCommandKeystrokes) + Bytes{0, 0}, kHello},
       kHelloReply},
      {"a short command cut in its payload",
       {Header(kCommandGotoSlide, 8) + U32(1), kHello},
       kHelloReply},
      {"a sub-header cut", {Header(kCommandData3, 100) + Bytes{1, 2, 3}, kHello}, kHelloReply},
      {"a data command interrupted after a pause",
       {Header(kCommandData3, 100) + U32(1) + U16(2) + B("part"), kHello},
       kHelloReply},
      // Without a new packet, bytes after a pause still belong to the data command.
      {"a data command resumed after a pause",
       {Header(kCommandData3, 6 + 8) + U32(1) + U16(2) + B("part"), B("rest") + kHello},
       Reply(3, 1) + kHelloReply},
      {"a short command resumed after a pause",
       {Header(kCommandKeystrokes, 2) + B("a"), B("b") + kHello},
       kHelloReply,
       {},
       {"A down", "A up", "B down", "B up"}},
  };
  for (const Case& c : cases) RunEveryWay(c);
}

TEST(Protocol, KeepsAMagicSplitOverTwoReads) {
  for (size_t k = 1; k < 4; ++k) {
    Rig rig;
    rig.receiver.Feed(B("noise noise noise") +
                      Bytes(kHello.begin(), kHello.begin() + static_cast<long>(k)));
    EXPECT_EQ(rig.receiver.Held(), k);
    rig.receiver.Feed(Bytes(kHello.begin() + static_cast<long>(k), kHello.end()));
    EXPECT_EQ(rig.replies.bytes_, kHelloReply) << k;
  }
}

class FailingPort : public ReplyPort {
 public:
  bool Write(std::span<const uint8_t>) override {
    ++attempts;
    return false;
  }
  int attempts = 0;
};

TEST(Protocol, DropsARepliesThatCannotBeWritten) {
  RecordingSlideShow show;
  input::RecordingInputSink input;
  CommandDispatcher dispatcher(show, input, kVersion);
  PacketParser parser(dispatcher);
  FailingPort port;
  parser.ResetProtocolState(&port);
  PacketReceiver receiver(parser);
  receiver.Feed(kHello + kHello);
  EXPECT_EQ(port.attempts, 2);  // each tried once, none retried
  parser.ResetProtocolState(nullptr);
  receiver.Feed(kHello);  // no port: built and dropped
  EXPECT_EQ(port.attempts, 2);
}

TEST(Protocol, ResetForgetsTheDataCommandInProgress) {
  Rig rig;
  rig.receiver.Feed(Header(kCommandData3, 50) + U32(1) + U16(2) + B("abc"));
  EXPECT_TRUE(rig.parser.DataCommandInProgress());
  rig.parser.ResetProtocolState(&rig.replies);
  EXPECT_FALSE(rig.parser.DataCommandInProgress());
  rig.receiver.Feed(kHello);
  EXPECT_EQ(rig.replies.bytes_, kHelloReply);
}

}  // namespace
}  // namespace brevora::remote
