// receiver: speed of the remote-control receiver.
//
// Parse: a mixed stream of packets as a handheld sends them (hellos, presentation
// and slide commands, keystrokes, mouse events, time marks, data commands with
// payload, with noise and NULs between some packets) fed through the receive
// buffer, the parser and the dispatcher in reads of 4096 bytes (and of 64), with
// a slide show and an input sink that only count, and replies counted and
// dropped. One core; best of 5 rounds; MB means 10^6 bytes of the stream.
//
// Latency: the whole serial worker on a pseudo-terminal. A keystroke packet is
// written to the master end; the time from the end of that write (the last byte
// on the line) to the key event on the recording input sink is measured, 2000
// times, one packet at a time. Also the time Stop takes to end the worker.
// Runs in a work folder (also BREVORA_HOME), removed however the run ends.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/work_folder.h"
#include "platform/input/recording_input.h"
#include "platform/serial/pseudo_terminal.h"
#include "remote/command_dispatcher.h"
#include "remote/packet_parser.h"
#include "remote/packet_receiver.h"
#include "remote/serial_worker.h"
#include "remote/testing/packets.h"
#include "remote/testing/recording_host.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace brevora;
using namespace brevora::remote;
using namespace brevora::remote::testing;

// The sizes of the run, from the command line.
struct Sizes {
  int64_t streamBytes = 1000000;  // of the mixed stream
  int feeds = 200;                // times the stream is fed per round
  int rounds = 5;
  int samples = 2000;  // latency samples
};
Sizes sizes;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "receiver: %s\n", what);
  std::exit(1);
}

class CountingInput : public input::InputSink {
 public:
  void SendKey(const input::KeyEvent&) override { ++keys; }
  void SendMouse(const input::MouseEvent&) override { ++mice; }
  std::optional<input::ScreenSize> Screen() override { return input::ScreenSize{1920, 1080}; }
  uint64_t keys = 0;
  uint64_t mice = 0;
};

// A slide show that answers at once and only counts, so the figure is the
// receiver's own work.
class CountingShow : public SlideShowControl {
 public:
  bool OpenPresentationShow(const std::string&) override { return ++calls != 0; }
  bool GotoShowSlide(uint32_t target, uint32_t) override {
    ++calls;
    slide = target;
    return true;
  }
  uint32_t GetCurrentShowSlide(uint32_t) override {
    ++calls;
    return slide;
  }
  void EndPowerPointSession() override { ++calls; }
  uint64_t calls = 0;
  uint32_t slide = 1;
};

class CountingReplies : public ReplyPort {
 public:
  bool Write(std::span<const uint8_t> bytes) override {
    ++count;
    size += bytes.size();
    return true;
  }
  uint64_t count = 0;
  uint64_t size = 0;
};

// About 1 MB of traffic: a session's worth of commands, repeated with variations.
Bytes MixedStream() {
  Bytes stream;
  const Bytes noise = B("\r\n") + Bytes{0, 0, 0};
  for (uint32_t i = 0; stream.size() < static_cast<size_t>(sizes.streamBytes); ++i) {
    const Bytes round =
        Packet(kCommandHello) + OpenShow("Quarterly review") + GotoSlide(i % 40 + 1, 1) +
        Packet(kCommandKeystrokes, B("Next point, please.\r")) +
        Mouse(static_cast<uint16_t>(i % 1920), 540, 1) + Mouse(0xFFFB, 3, 7) + Mouse(0, 0, 8) +
        Packet(kCommandTimeMark, U16(static_cast<uint16_t>(i))) + Packet(kCommandPresentationName) +
        Packet(kCommandData3, U32(i) + U16(1) + Bytes(1024, 'd')) +
        Packet(kCommandData17, U32(i) + U32(2) + Bytes(200, 'e')) + noise +
        Packet(kCommandKeystrokes, Bytes{0x82, 'c', 0x81, 'a', 13}) + Packet(kCommandEndShow);
    stream.insert(stream.end(), round.begin(), round.end());
  }
  return stream;
}

double ParseRound(const Bytes& stream, size_t readSize, int repeats, uint64_t& replies) {
  CountingShow show;
  CountingInput input;
  CommandDispatcher dispatcher(show, input, 0x1A01010A);
  PacketParser parser(dispatcher);
  CountingReplies port;
  parser.ResetProtocolState(&port);
  PacketReceiver receiver(parser);
  const Clock::time_point start = Clock::now();
  for (int r = 0; r < repeats; ++r) receiver.Feed(stream, readSize);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  replies = port.count;
  if (input.keys == 0 || input.mice == 0 || port.count == 0) Fail("the stream did nothing");
  return seconds;
}

void Parse(bench::Report& report) {
  const Bytes stream = MixedStream();
  const int kRepeats = sizes.feeds;
  const double megabytes = static_cast<double>(stream.size()) * kRepeats / 1e6;
  for (size_t readSize : {size_t{4096}, size_t{64}}) {
    double best = 1e9;
    uint64_t replies = 0;
    for (int round = 0; round < sizes.rounds; ++round) {
      best = std::min(best, ParseRound(stream, readSize, kRepeats, replies));
    }
    report.Figure("parse, reads of " + std::to_string(readSize) + " bytes", megabytes / best,
                  "MB/s");
    std::printf("parse, reads of %4zu bytes: %.0f MB in %.3f s: %.0f MB/s (%llu replies)\n",
                readSize, megabytes, best, megabytes / best,
                static_cast<unsigned long long>(replies));
  }
}

void Latency(bench::Report& report) {
  serial::PseudoTerminal pty;
  RecordingHost host;
  input::RecordingInputSink input;
  SerialWorker worker(host, input, 1);
  if (!worker.Start(pty.SlavePath())) Fail("the worker did not start");
  if (!host.WaitFor("HideMainWindow", std::chrono::seconds(5)))
    Fail("the worker did not open the port");

  const Bytes packet = Packet(kCommandKeystrokes, B("a"));
  const int kSamples = sizes.samples;
  std::vector<double> micros;
  micros.reserve(kSamples);
  for (int i = 0; i < kSamples; ++i) {
    const size_t before = input.Count();
    if (!pty.WriteMaster(packet)) Fail("cannot write to the line");
    const Clock::time_point written = Clock::now();
    if (!input.WaitForCount(before + 2, std::chrono::seconds(5))) Fail("no key event came");
    micros.push_back(
        std::chrono::duration<double, std::micro>(input.ArrivedAt(before) - written).count());
    // Sometimes let the line go quiet first, as between a presenter's clicks.
    if (i % 100 == 99) std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  std::sort(micros.begin(), micros.end());
  const auto at = [&](double q) { return micros[static_cast<size_t>(q * (micros.size() - 1))]; };
  std::printf(
      "latency, last byte on the line to the key event (%d samples): p50 %.0f us, p99 %.0f us, max "
      "%.0f us\n",
      kSamples, at(0.50), at(0.99), micros.back());
  report.Figure("latency p50, line to key event", at(0.50), "us");
  report.Figure("latency p99, line to key event", at(0.99), "us");

  const Clock::time_point stopping = Clock::now();
  worker.Stop();
  std::printf("stop: the worker ended %.0f ms after Stop\n",
              std::chrono::duration<double, std::milli>(Clock::now() - stopping).count());
}

}  // namespace

int main(int argc, char** argv) {
  bench::CommandLine line(
      "receiver",
      "Speed of the remote-control receiver: parsing a mixed packet stream, and the latency from\n"
      "the line to the key event through the serial worker on a pseudo-terminal.");
  line.Count("stream", "bytes of the mixed stream", &sizes.streamBytes, 1000, int64_t{1} << 30);
  line.Count("feeds", "times the stream is fed in a round", &sizes.feeds, 1, 100000);
  line.Count("repeat", "rounds of the parse; the best is printed", &sizes.rounds, 1, 1000);
  line.Count("samples", "latency samples, one packet at a time", &sizes.samples, 1, 1000000);
  line.ParseOrExit(argc, argv);
  bench::WorkFolder work("receiver-bench");
  bench::Report report("receiver", line.ResultsPath());
  Parse(report);
  Latency(report);
  return 0;
}
