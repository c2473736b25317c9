// Loading the windows library as libtabrelpc.so does on the first window
// request, in a program that has no QApplication: first with no display, then
// with the offscreen platform, where the library makes the application. The
// two cases run in this order in one process.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdlib>

#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "frontend/form_factory.h"
#include "frontend/frontend_test_support.h"
#include "frontend/tabrel_pc.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_message_box.h"
#include "platform/services/file_dialog.h"
#include "platform/services/help.h"

namespace brevora::frontend {
namespace {

TEST(FormsLibrary, WithoutADisplayTheEntryPointsSaySo) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  unsetenv("QT_QPA_PLATFORM");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  ASSERT_EQ(LoadedFormFactory(), nullptr);
  test::RecordedMessages messages;
  Ref<TabrelPC> app = MakeRef<TabrelPC>();
  std::string file = "x";
  bool openAsTemplate = false;
  const AutomationError e = test::ErrorOf([&] { app->GetFileToOpenEX(0, file, openAsTemplate); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "TabrelPC.GetFileToOpenEx");
  EXPECT_EQ(e.description(), "Could not get file to open\r\nNo display is available.");
  app->DoOpenStandAloneEX("", nullptr);  // shown, not raised
  std::string version;
  app->DoAbout(version);
  ASSERT_EQ(messages->shown().size(), 2u);
  EXPECT_EQ(messages->shown()[0].text, "No display is available.");
  EXPECT_EQ(messages->shown()[1].text, "Could not open about box.   No display is available.");
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
  EXPECT_EQ(LoadedFormFactory(), nullptr);
}

TEST(FormsLibrary, MakesTheApplicationWhenTheProgramHasNone) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EXPECT_TRUE(Forms());
  ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
  // The default message box, file dialog and help viewer became the Qt ones.
  EXPECT_NE(dynamic_cast<qt::QtMessageBox*>(services::CurrentMessageBox().get()), nullptr);
  EXPECT_NE(dynamic_cast<qt::QtFileDialog*>(services::CurrentFileDialog().get()), nullptr);
  EXPECT_NE(dynamic_cast<qt::QtHelpViewer*>(services::CurrentHelpViewer().get()), nullptr);
  services::InstallMessageBox(nullptr);
  services::InstallFileDialog(nullptr);
  services::InstallHelpViewer(nullptr);

  QString shown;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    shown = box->findChild<QLabel*>(QStringLiteral("lblMacroVersion"))->text();
    box->close();
  });
  Ref<TabrelPC> app = MakeRef<TabrelPC>();
  std::string version = "{2.0}";
  app->DoAbout(version);
  EXPECT_EQ(shown, QStringLiteral("Macro version:  {2.0}"));
  InstallFormFactory(nullptr);
}

}  // namespace
}  // namespace brevora::frontend
