// The serial worker over a real pseudo-terminal: the worker holds the slave
// end as its port, the test writes packets to the master end and reads the
// replies back.
#include "remote/serial_worker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/input/recording_input.h"
#include "platform/serial/pseudo_terminal.h"
#include "remote/packet_format.h"
#include "remote/receiver_strings.h"
#include "remote/testing/packets.h"
#include "remote/testing/recording_host.h"
#include "testing/temp_home.h"

namespace brevora::remote {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using Lines = std::vector<std::string>;
using testing::operator+;

constexpr uint32_t kVersion = 0x11223344;

size_t OpenDescriptors() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++n;
  return n;
}

// Waits until the worker has ended by itself.
bool WaitUntilEnded(const SerialWorker& worker) {
  for (int i = 0; i < 500 && worker.IsRunning(); ++i) std::this_thread::sleep_for(10ms);
  return !worker.IsRunning();
}

class SerialWorkerTest : public ::testing::Test {
 protected:
  testing::RecordingHost host_;
  input::RecordingInputSink input_;
  serial::PseudoTerminal pty_;
};

TEST_F(SerialWorkerTest, ServesThePortUntilStopped) {
  const size_t before = OpenDescriptors();
  {
    SerialWorker worker(host_, input_, kVersion);
    ASSERT_TRUE(worker.Start(pty_.SlavePath()));
    ASSERT_TRUE(host_.WaitFor("HideMainWindow", 5s));
    EXPECT_TRUE(worker.IsRunning());

    ASSERT_TRUE(pty_.WriteMaster(testing::Packet(kCommandHello)));
    const Bytes hello = testing::HelloReply(kVersion);
    EXPECT_EQ(pty_.ReadMaster(hello.size(), 5s), hello);

    // Split over two writes, then two packets in one write.
    const Bytes keys = testing::Packet(kCommandKeystrokes, testing::B("Hi"));
    ASSERT_TRUE(pty_.WriteMaster(Bytes(keys.begin(), keys.begin() + 7)));
    std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(pty_.WriteMaster(Bytes(keys.begin() + 7, keys.end())));
    ASSERT_TRUE(pty_.WriteMaster(testing::Packet(kCommandPresentationName) + testing::Packet(7)));
    const Bytes expected = testing::Reply(6, 2) + testing::Reply(7, 1);
    EXPECT_EQ(pty_.ReadMaster(expected.size(), 5s), expected);
    ASSERT_TRUE(input_.WaitForCount(6, 5s));
    EXPECT_EQ(input_.Described(),
              (Lines{"Shift down", "H down", "H up", "Shift up", "I down", "I up"}));

    // A second Start while this one runs changes nothing.
    EXPECT_FALSE(worker.Start("/dev/null"));

    worker.Stop();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(OpenDescriptors(), before + 0);  // the port is closed

    // The port is free again, and a new worker serves it from a clean state.
    ASSERT_TRUE(worker.Start(pty_.SlavePath()));
    ASSERT_TRUE(pty_.WriteMaster(testing::Packet(kCommandHello)));
    EXPECT_EQ(pty_.ReadMaster(hello.size(), 5s), hello);
  }  // the destructor stops the worker
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(host_.Calls(), (Lines{"HideMainWindow", "HideMainWindow"}));
}

TEST_F(SerialWorkerTest, APortInUseGivesMessage5000) {
  serial::SerialPort holder;
  std::error_code error;
  ASSERT_TRUE(holder.Open(pty_.SlavePath(), error));
  const size_t before = OpenDescriptors();
  SerialWorker worker(host_, input_, kVersion);
  ASSERT_TRUE(worker.Start(pty_.SlavePath()));
  ASSERT_TRUE(WaitUntilEnded(worker));
  EXPECT_EQ(host_.Calls(),
            (Lines{"ShowMainWindow", std::string("Message(") + kMsgOpenPortFailed + ")"}));
  worker.Stop();  // the user presses Stop before trying again
  EXPECT_EQ(OpenDescriptors(), before);

  holder.Close();
  ASSERT_TRUE(worker.Start(pty_.SlavePath()));
  EXPECT_TRUE(host_.WaitFor("HideMainWindow", 5s));
}

TEST_F(SerialWorkerTest, MissingPortAndNonTerminalFailAndCloseWhatTheyOpened) {
  const std::string dir = brevora::testing::MakeTempDir("dev");
  const std::string file = dir + "/ttyS0";
  std::ofstream(file) << "not a line";
  const size_t before = OpenDescriptors();
  struct Case {
    std::string port;
    Lines calls;
  };
  const Case cases[] = {
      {dir + "/rfcomm9", {"ShowMainWindow", std::string("Message(") + kMsgOpenPortFailed + ")"}},
      {"", {"ShowMainWindow", std::string("Message(") + kMsgOpenPortFailed + ")"}},
      {file, {std::string("Message(") + kMsgPortTimeoutsFailed + ")"}},
  };
  for (const Case& c : cases) {
    testing::RecordingHost host;
    SerialWorker worker(host, input_, kVersion);
    ASSERT_TRUE(worker.Start(c.port));
    ASSERT_TRUE(WaitUntilEnded(worker));
    EXPECT_EQ(host.Calls(), c.calls) << c.port;
    worker.Stop();
    EXPECT_EQ(OpenDescriptors(), before) << c.port;
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "/rfcomm9"));
}

TEST_F(SerialWorkerTest, StopWithoutAWorkerDoesNothing) {
  SerialWorker worker(host_, input_, kVersion);
  EXPECT_FALSE(worker.IsRunning());
  worker.Stop();
  worker.Stop();
  EXPECT_TRUE(host_.Calls().empty());
}

}  // namespace
}  // namespace brevora::remote
