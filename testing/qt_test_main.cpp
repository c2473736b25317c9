// Shared main of the widget test programs: the QApplication that widgets need,
// and the same fresh BREVORA_HOME per test case as every other test program.
// The platform is the one named in BREVORA_TEST_QPA ("xcb" to see the windows
// on an X server, as ctest does under xvfb-run); else offscreen, so no display
// is ever used. A program whose cases need an X server (built with
// BREVORA_TEST_NEEDS_X11, brevora_qt_x11_test_main) runs on the display named
// by DISPLAY instead, when one answers there, so it also runs when started by
// hand.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <cstdlib>

#include "testing/fresh_home.h"

#ifdef BREVORA_TEST_NEEDS_X11
#include "platform/qt/display.h"
#endif

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform has no window manager to pass size hints to or to
// raise windows with, and says so for every fixed-size or raised window; those
// lines are noise in test output.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("does not support propagateSizeHints"))) return;
  if (message.contains(QStringLiteral("does not support raise()"))) return;
  if (defaultHandler) defaultHandler(type, context, message);
}

// The Qt platform the tests run on.
const char* TestPlatform() {
  const char* named = std::getenv("BREVORA_TEST_QPA");
  if (named && *named) return named;
#ifdef BREVORA_TEST_NEEDS_X11
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  if (brevora::qt::DisplayAvailable()) return "xcb";
#endif
  return "offscreen";
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", TestPlatform(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the cases (ctest does, to run each as a test of its own) needs no
  // application and no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  defaultHandler = qInstallMessageHandler(QuietHandler);
  QApplication app(argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new brevora::testing::FreshHome);
  return RUN_ALL_TESTS();
}
