// The program vantapc as a user runs it on an X display (this test runs under
// xvfb-run): its window and About box closed with their close boxes, buttons
// and keys, while it listens on a port too, and the program then ending with
// status 0 and the port free. The ASan suite runs it too, so a window deleted
// while its own event still runs shows up.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/serial/pseudo_terminal.h"
#include "platform/serial/serial_port.h"
#include "remote/packet_format.h"
#include "remote/receiver_settings.h"
#include "remote/testing/packets.h"
#include "testing/spawn.h"
#include "testing/x11_desktop.h"

namespace brevora::remote::app {
namespace {

using namespace std::chrono_literals;
using brevora::testing::SpawnedProgram;
using brevora::testing::X11Desktop;

constexpr auto kAppear = 20s;

class Vantapc : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> arguments) {
    ASSERT_TRUE(desktop_.Connected()) << "no X display: run under xvfb-run";
    program_ = std::make_unique<SpawnedProgram>(VANTAPC_PROGRAM, std::move(arguments),
                                                brevora::testing::StandardStreams{});
    ASSERT_TRUE(program_->started());
    main_ = desktop_.WaitForWindow("VantaPC", kAppear);
    ASSERT_NE(main_, 0u) << "the window never showed; windows: " << desktop_.Titles();
  }

  // "&About VantaPC..." from the system menu, reached with Alt+Space.
  unsigned long OpenAbout() {
    return desktop_.OpenWithKeys(main_, {{XK_space, true}, {XK_a}}, "About VantaPC");
  }

  X11Desktop desktop_;
  std::unique_ptr<SpawnedProgram> program_;
  unsigned long main_ = 0;
};

TEST_F(Vantapc, TheAboutBoxClosesEveryWayAndTheCloseBoxEndsTheProgram) {
  Start({});
  for (const bool byCloseBox : {true, false}) {
    const unsigned long about = OpenAbout();
    ASSERT_NE(about, 0u) << "windows: " << desktop_.Titles();
    if (byCloseBox) {
      desktop_.PressCloseBox(about);
      EXPECT_TRUE(desktop_.WaitUntilNoWindow("About VantaPC", kAppear));
    } else {
      EXPECT_TRUE(desktop_.CloseWithKey("About VantaPC", XK_Return));
    }
    EXPECT_TRUE(program_->Running());
  }
  desktop_.PressCloseBox(main_);
  EXPECT_EQ(program_->Wait(30s), 0);
}

TEST_F(Vantapc, TheCloseBoxWhileListeningEndsItAndFreesThePort) {
  serial::PseudoTerminal pty;
  SaveComPort(pty.SlavePath());
  Start({"-start"});
  ASSERT_TRUE(pty.WriteMaster(testing::Packet(kCommandHello)));
  ASSERT_EQ(pty.ReadMaster(28, 10s).size(), 28u) << "not listening";
  desktop_.PressCloseBox(main_);
  EXPECT_EQ(program_->Wait(30s), 0);
  serial::SerialPort port;
  std::error_code error;
  EXPECT_TRUE(port.Open(pty.SlavePath(), error));
}

TEST_F(Vantapc, AStopFromAnotherStartWhileTheAboutBoxIsUp) {
  // "-stop" while the About box is up ends the program; nothing is left.
  Start({});
  ASSERT_NE(OpenAbout(), 0u) << "windows: " << desktop_.Titles();
  SpawnedProgram stop(VANTAPC_PROGRAM, {"-stop"}, {});
  EXPECT_EQ(stop.Wait(30s), 0);
  EXPECT_EQ(program_->Wait(30s), 0);
  EXPECT_TRUE(desktop_.WaitUntilNoWindow("VantaPC", kAppear));
}

}  // namespace
}  // namespace brevora::remote::app
