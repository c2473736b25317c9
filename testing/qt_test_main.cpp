// Shared main of the widget test programs: the QApplication that widgets need,
// on the offscreen platform (no display is ever used), and the same fresh
// BREVORA_HOME per test case as every other test program. A developer who
// wants to see the windows on an X server (xvfb-run, for screenshots) names
// the platform in BREVORA_TEST_QPA ("xcb").
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <cstdlib>

#include "testing/fresh_home.h"

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

}  // namespace

int main(int argc, char** argv) {
  const char* platform = std::getenv("BREVORA_TEST_QPA");
  setenv("QT_QPA_PLATFORM", platform && *platform ? platform : "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  defaultHandler = qInstallMessageHandler(QuietHandler);
  QApplication app(argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new brevora::testing::FreshHome);
  return RUN_ALL_TESTS();
}
