// The program brevora on a real X display, ended as a user ends it: File >
// Exit typed on the keyboard (Alt+F, then X, through XTest), and the close box
// (the window manager's WM_DELETE_WINDOW message). Either way the window closes
// from inside one of its own events, and the program must end with status 0
// (in the ASan build too). Skipped without an X display (CTest runs it under
// xvfb-run).
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "platform/windows/window_directory.h"
#include "testing/spawn.h"
#include "testing/temp_home.h"
#include "testing/x11_desktop.h"

namespace brevora {
namespace {

using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

std::string Read(const std::string& file) {
  std::ostringstream text;
  text << std::ifstream(file).rdbuf();
  return text.str();
}

TEST(BrevoraOnX11, FileExitAndTheCloseBoxEndTheProgramWithStatusZero) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "no X display";
  testing::X11Desktop x;
  ASSERT_TRUE(x.Connected());
  const struct {
    const char* way;
    std::function<void(unsigned long)> close;
  } ways[] = {
      {"File > Exit",
       [&x](unsigned long window) {
         x.Focus(window);
         x.Type(XK_f, true);
         std::this_thread::sleep_for(500ms);  // the menu opens
         x.Type(XK_x);
       }},
      {"the close box", [&x](unsigned long window) { x.PressCloseBox(window); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    const std::string folder = testing::MakeTempDir("brevora-run");
    const std::string out = folder + "/out.txt", err = folder + "/err.txt";
    testing::SpawnedProgram brevora(BREVORA_PROGRAM, {}, {"", out, err});
    unsigned long window = 0;
    const bool shown = WaitUntil(
        [&] {
          if (!brevora.Running()) return true;  // ended early
          const auto titled = x.WindowsTitled("Brevora Desktop");
          window = titled.empty() ? 0 : titled.front();
          return window != 0 && !windows::Find("ThunderRT5Form", "Brevora Desktop").empty();
        },
        60s);
    ASSERT_TRUE(shown && window) << Read(err);
    std::this_thread::sleep_for(500ms);  // the window has taken its first events
    way.close(window);
    EXPECT_EQ(brevora.Wait(60s), 0) << "brevora did not end with 0; " << Read(err);
  }
}

}  // namespace
}  // namespace brevora
