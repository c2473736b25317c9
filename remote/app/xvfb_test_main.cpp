// Main of the tests that need a real X display (run under xvfb-run): the
// QApplication on the X11 platform when $DISPLAY names a display, else on the
// offscreen platform, where these tests skip. Every test case gets a fresh
// BREVORA_HOME.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "testing/fresh_home.h"

int main(int argc, char** argv) {
  const char* display = std::getenv("DISPLAY");
  setenv("QT_QPA_PLATFORM", display && *display ? "xcb" : "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new brevora::testing::FreshHome);
  return RUN_ALL_TESTS();
}
