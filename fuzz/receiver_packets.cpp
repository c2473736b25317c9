// Fuzzes the remote-control receiver's packet parser: the bytes a handheld (or
// anything else on the serial line) sends, cut into reads, through the receive
// buffer, the parser and the dispatcher into a recording slide show and a
// recording input sink.
//
// The first two bytes choose how the rest is cut (read sizes, pauses between
// reads) and what the slide show answers. Checked: the buffer always keeps
// room for the next read; every reply is a whole return packet (magic, 0x8000,
// a length that matches, at most 270 bytes); every key pressed is released.
#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/input/recording_input.h"
#include "platform/services/event_log.h"
#include "remote/command_dispatcher.h"
#include "remote/packet_format.h"
#include "remote/packet_parser.h"
#include "remote/packet_receiver.h"
#include "remote/testing/packets.h"
#include "remote/testing/recording_slide_show.h"

namespace brevora::fuzz {
namespace {

using namespace remote;
using remote::testing::operator+;

class CheckedReplies : public ReplyPort {
 public:
  bool Write(std::span<const uint8_t> bytes) override {
    Check(bytes.size() >= kReplyExtraOffset && bytes.size() <= kReturnPacketSize, "reply size");
    Check(std::equal(kMagic.begin(), kMagic.end(), bytes.begin()), "reply magic");
    Check(ReadU16BE(&bytes[kCommandOffset]) == kReplyMarker, "reply marker");
    Check(ReadU32BE(&bytes[kLengthOffset]) + kHeaderSize == bytes.size(), "reply length field");
    return true;
  }
};

constexpr std::array<size_t, 8> kReadSizes = {1, 2, 3, 9, 10, 64, 700, kReceiveBufferSize};

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  using namespace remote::testing;
  const Bytes hello = Packet(kCommandHello);
  const std::vector<std::pair<std::string, Bytes>> streams = {
      {"hello", hello},
      {"show", OpenShow("Talk") + GotoSlide(2, 1) + Packet(kCommandKeystrokes, B("Next slide\r")) +
                   Mouse(100, 200, 1) + Mouse(0xFFFB, 0, 7) + Packet(kCommandPresentationName) +
                   Packet(kCommandTimeMark, U16(7)) + Packet(kCommandEndShow)},
      {"keys",
       Packet(kCommandKeystrokes, Bytes{0x82, 'c', 0x81, 'a', 0x80, 23, 0x83, 9, 'A', 127})},
      {"data", Packet(kCommandData3, U32(1) + U16(2) + B("file data")) +
                   Packet(kCommandData17, U32(1) + U32(2) + B("more")) +
                   Packet(kCommandData0x1000, U32(1) + U32(2)) + Packet(0x0042, B("x")) + hello},
      {"noise", B(std::string_view("xx\0\0PSP", 7)) + hello + Bytes(20, 0) + hello + B("PS")},
      {"hostile", Header(kCommandKeystrokes, 4087) + Bytes(100, 'a') + Header(kCommandData3, 4) +
                      Header(kCommandOpenShow, 0xFFFFFFFF) + hello},
  };
  std::vector<Seed> seeds;
  for (const auto& [name, stream] : streams) {
    for (uint8_t pattern : {0x00, 0x35, 0xFF}) {
      std::string bytes = {static_cast<char>(pattern), static_cast<char>(pattern ^ 0x5A)};
      bytes.append(stream.begin(), stream.end());
      seeds.push_back({name + "_" + std::to_string(pattern), bytes});
    }
  }
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::remote;
  using namespace brevora::fuzz;
  static const auto quietLog = [] {
    services::InstallEventLog(std::make_shared<services::RecordingEventLog>());
    return 0;
  }();
  (void)quietLog;
  if (size < 2) return 0;
  const uint8_t pattern = data[0];
  const uint8_t answers = data[1];
  const std::span<const uint8_t> stream(data + 2, size - 2);

  remote::testing::RecordingSlideShow show;
  show.openResult = answers & 1;
  show.gotoResult = answers & 2;
  show.currentSlide = (answers >> 2) & 3;
  input::RecordingInputSink input;
  if (answers & 0x10) input.SetScreen(std::nullopt);
  CommandDispatcher dispatcher(show, input, 0x1A01020A);
  PacketParser parser(dispatcher);
  CheckedReplies replies;
  parser.ResetProtocolState(&replies);
  PacketReceiver receiver(parser);

  size_t offset = 0;
  for (size_t read = 0; offset < stream.size(); ++read) {
    const size_t n =
        std::min(kReadSizes[(pattern + read * ((pattern >> 3) | 1)) % kReadSizes.size()],
                 stream.size() - offset);
    const size_t free = receiver.FreeSpace().size();
    Check(free > 0, "the receive buffer has no room for a read");
    const size_t taken = std::min(n, free);
    std::copy_n(stream.begin() + static_cast<long>(offset), taken, receiver.FreeSpace().begin());
    receiver.Received(taken);
    offset += taken;
    Check(receiver.Held() < kReceiveBufferSize, "the parser kept a full buffer");
    if ((pattern & 0x80) && (read % 3 == 2)) receiver.Idle();
  }

  std::array<int, 256> down{};
  for (const input::InputEvent& e : input.Events()) {
    if (const auto* key = std::get_if<input::KeyEvent>(&e)) {
      down[key->key] += key->down ? 1 : -1;
      Check(down[key->key] >= 0 && down[key->key] <= 1,
            "a key pressed twice or released unpressed");
    }
  }
  for (int k = 0; k < 256; ++k) Check(down[k] == 0, "a key left down");
  return 0;
}
