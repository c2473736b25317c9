// The receiver's window as a real Qt window (offscreen), with a real serial
// worker on a pseudo-terminal.
#include "remote/app/cvantapc_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "platform/input/recording_input.h"
#include "platform/serial/pseudo_terminal.h"
#include "platform/services/file_dialog.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "remote/app/about_dlg.h"
#include "remote/packet_format.h"
#include "remote/receiver_settings.h"
#include "remote/receiver_strings.h"
#include "remote/testing/packets.h"
#include "testing/fake_office.h"
#include "testing/fake_slide_show.h"
#include "testing/screenshot.h"

namespace brevora::remote::app {
namespace {

using namespace std::chrono_literals;
using services::Message;
using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;

// Lets the window's thread run until `done` holds; false after `timeout`.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

// Reads `count` bytes from the far end of the line while the window's thread runs.
testing::Bytes ReadWhilePumping(serial::PseudoTerminal& pty, size_t count) {
  testing::Bytes got;
  PumpUntil([&] {
    const testing::Bytes more = pty.ReadMaster(count - got.size(), 0ms);
    got.insert(got.end(), more.begin(), more.end());
    return got.size() >= count;
  });
  return got;
}

Message Box(const char* text, MsgButtons buttons = MsgButtons::Ok,
            MsgIcon icon = MsgIcon::Exclamation) {
  return {text, kProgramTitle, buttons, icon};
}

class WindowTest : public ::testing::Test {
 protected:
  std::shared_ptr<services::RecordingMessageBox> box_ =
      std::make_shared<services::RecordingMessageBox>();
  services::ScopedService<services::MessageBox> scopedBox_{services::InstallMessageBox, box_};
  input::RecordingInputSink input_;
};

TEST_F(WindowTest, OpensWithItsControlsAndTheLastPort) {
  SaveComPort("/dev/rfcomm3");
  CVantaPCDlg dialog(input_, 1);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle().toStdString(), "VantaPC");
  EXPECT_EQ(dialog.objectName().toStdString(), "CVantaPCDlg");
  struct Named {
    const char* name;
    const char* text;
    bool visible;
  };
  for (const Named& n : {Named{"btnStart", "&Start", true}, Named{"btnStop", "S&top", false},
                         Named{"btnHide", "&Hide", true}}) {
    auto* button = dialog.findChild<QPushButton*>(n.name);
    ASSERT_NE(button, nullptr) << n.name;
    EXPECT_EQ(button->text().toStdString(), n.text);
    EXPECT_EQ(button->isVisible(), n.visible) << n.name;
  }
  EXPECT_EQ(dialog.findChild<QLabel*>("lblPort")->text().toStdString(), "&Port:");
  auto* port = dialog.findChild<QComboBox*>("cboPort");
  ASSERT_NE(port, nullptr);
  EXPECT_TRUE(port->isEditable());
  EXPECT_EQ(port->currentText().toStdString(), "/dev/rfcomm3");
  EXPECT_FALSE(dialog.windowIcon().isNull());
  EXPECT_FALSE(dialog.HasTrayIcon());  // the offscreen desktop has no tray

  const std::string shot = brevora::testing::SaveScreenshot(dialog, "vantapc_window");
  const QImage image(QString::fromStdString(shot));
  EXPECT_EQ(image.size(), dialog.size());
}

// Runs `act`, which opens a modal dialog of class D, and hands the dialog to
// `inspect` while it is up; then closes it.
template <class D>
void WhileModal(const std::function<void()>& act, const std::function<void(D&)>& inspect) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    D* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    if (dialog) {
      seen = true;
      inspect(*dialog);
      dialog->accept();
    }
  });
  // Never left waiting: a dialog that did not come up as the modal one is closed.
  QTimer::singleShot(5000, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<D*>(w)) d->reject();
    }
  });
  act();
  EXPECT_TRUE(seen);
}

TEST_F(WindowTest, TheSystemMenuShowsTheAboutBox) {
  CVantaPCDlg dialog(input_, 1);
  dialog.show();
  auto* menu = dialog.findChild<QMenu*>("systemMenu");
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> items = menu->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_TRUE(items[0]->isSeparator());
  EXPECT_EQ(items[1]->text().toStdString(), "&About VantaPC...");
  EXPECT_EQ(items[1]->objectName().toStdString(), "IDM_ABOUTBOX");

  // A right click on the window opens it, as Alt+Space does.
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(4, 4), dialog.mapToGlobal(QPoint(4, 4)));
  QApplication::sendEvent(&dialog, &click);
  EXPECT_TRUE(menu->isVisible());
  menu->hide();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QTest::keyClick(&dialog, Qt::Key_Space, Qt::AltModifier);
  EXPECT_TRUE(menu->isVisible());
  menu->hide();

  std::string caption, version;
  bool modal = false, hasIcon = false;
  WhileModal<CAboutDlg>([&] { items[1]->trigger(); },
                        [&](CAboutDlg& about) {
                          caption = about.windowTitle().toStdString();
                          version = about.lblVersion->text().toStdString();
                          hasIcon = !about.lblIcon->pixmap().isNull();
                          modal = about.isModal() && about.parentWidget() == &dialog;
                          brevora::testing::SaveScreenshot(about, "vantapc_about");
                        });
  EXPECT_EQ(caption, "About VantaPC");
  EXPECT_EQ(version, "VantaPC Version 1.0");
  EXPECT_TRUE(hasIcon);
  EXPECT_TRUE(modal);
  EXPECT_TRUE(dialog.isVisible());  // the window stays as it was
}

TEST_F(WindowTest, StartWithoutAPortAsksForOne) {
  CVantaPCDlg dialog(input_, 1);
  dialog.cboPort->setCurrentText(QStringLiteral("   "));
  dialog.btnStart->click();
  EXPECT_EQ(box_->shown(), std::vector<Message>{Box(kMsgSelectPort)});
  EXPECT_FALSE(dialog.IsListening());
  EXPECT_TRUE(dialog.isVisible());  // shown to ask
  EXPECT_TRUE(dialog.btnStart->isVisibleTo(&dialog));
  EXPECT_EQ(LoadComPort(), "");
}

TEST_F(WindowTest, StartServesThePortUntilStop) {
  serial::PseudoTerminal pty;
  CVantaPCDlg dialog(input_, 0x0A0B0C0A);
  dialog.show();
  dialog.cboPort->setCurrentText(QString::fromStdString(pty.SlavePath()));
  dialog.btnStart->click();
  EXPECT_TRUE(dialog.IsListening());
  EXPECT_FALSE(dialog.btnStart->isVisible());
  EXPECT_TRUE(dialog.btnStop->isVisible());
  EXPECT_EQ(LoadComPort(), pty.SlavePath());

  ASSERT_TRUE(pty.WriteMaster(testing::Packet(kCommandHello)));
  const testing::Bytes hello = testing::HelloReply(0x0A0B0C0A);
  EXPECT_EQ(ReadWhilePumping(pty, hello.size()), hello);
  EXPECT_TRUE(dialog.isVisible());  // no tray: the window stays where the user can reach it

  // Another port while listening: it takes effect after Stop and Start.
  emit dialog.cboPort->activated(0);
  EXPECT_EQ(box_->shown(), std::vector<Message>{Box(kMsgNewPort)});
  EXPECT_TRUE(dialog.IsListening());

  // Start again while listening changes nothing.
  dialog.OnStart();
  EXPECT_TRUE(dialog.IsListening());

  dialog.btnStop->click();
  EXPECT_FALSE(dialog.IsListening());
  EXPECT_TRUE(dialog.btnStart->isVisible());
  EXPECT_FALSE(dialog.btnStop->isVisible());
  emit dialog.cboPort->activated(0);  // not listening: nothing to say
  EXPECT_EQ(box_->shown().size(), 1u);
}

TEST_F(WindowTest, APortInUseShowsMessage5000AndKeepsTheButtons) {
  serial::PseudoTerminal pty;
  serial::SerialPort holder;
  std::error_code error;
  ASSERT_TRUE(holder.Open(pty.SlavePath(), error));
  CVantaPCDlg dialog(input_, 1);
  dialog.cboPort->setCurrentText(QString::fromStdString(pty.SlavePath()));
  dialog.OnStart();
  ASSERT_TRUE(PumpUntil([&] { return !box_->shown().empty() && !dialog.IsListening(); }));
  EXPECT_EQ(box_->shown(), std::vector<Message>{Box(kMsgOpenPortFailed)});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.btnStop->isVisibleTo(&dialog));  // the user presses Stop before trying again
  dialog.OnStop();
  holder.Close();
  dialog.OnStart();
  EXPECT_TRUE(dialog.IsListening());
}

TEST_F(WindowTest, HideMinimisesWithoutATrayAndCloseEndsTheProgram) {
  serial::PseudoTerminal pty;
  CVantaPCDlg dialog(input_, 1);
  int exits = 0;
  QObject::connect(&dialog, &CVantaPCDlg::exitRequested, [&] { ++exits; });
  dialog.show();
  dialog.btnHide->click();
  EXPECT_TRUE(dialog.isMinimized());
  dialog.OnTrayNotify();
  EXPECT_FALSE(dialog.isMinimized());
  EXPECT_TRUE(dialog.isVisible());

  dialog.cboPort->setCurrentText(QString::fromStdString(pty.SlavePath()));
  dialog.OnStart();
  ASSERT_TRUE(dialog.IsListening());
  dialog.close();
  EXPECT_FALSE(dialog.IsListening());  // stopped before the program ends
  EXPECT_EQ(exits, 1);
  serial::SerialPort again;
  std::error_code error;
  EXPECT_TRUE(again.Open(pty.SlavePath(), error));  // and the port is free
}

// A message box that presses Stop while it is on screen, as a user (or a
// "-stop" from another start) can while the worker waits for an answer.
class StopWhileAsking : public services::MessageBox {
 public:
  explicit StopWhileAsking(std::function<void()> stop) : stop_(std::move(stop)) {}
  MsgResult Show(const Message& message) override {
    shown.push_back(message);
    stop_();
    return MsgResult::Ok;
  }
  std::vector<Message> shown;

 private:
  std::function<void()> stop_;
};

TEST(WindowQuestions, StopWhileTheWorkerWaitsForAnAnswerEndsTheWorker) {
  // PowerPoint with nothing open: command 2 asks "Select the presentation to run".
  auto script = std::make_shared<brevora::testing::OfficeScript>();
  auto powerPoint = MakeRef<brevora::testing::FakeOfficeApp>(script, "App");
  brevora::testing::ScopedClass registration("PowerPoint.Application", powerPoint, script);

  serial::PseudoTerminal pty;
  input::RecordingInputSink input;
  CVantaPCDlg dialog(input, 1);
  auto box = std::make_shared<StopWhileAsking>([&] { dialog.OnStop(); });
  services::ScopedService<services::MessageBox> scoped(services::InstallMessageBox, box);
  dialog.cboPort->setCurrentText(QString::fromStdString(pty.SlavePath()));
  dialog.OnStart();
  ASSERT_TRUE(dialog.IsListening());
  ASSERT_TRUE(pty.WriteMaster(testing::OpenShow("Talk")));
  ASSERT_TRUE(PumpUntil([&] { return !dialog.IsListening(); }));
  ASSERT_EQ(box->shown.size(), 1u);
  EXPECT_EQ(box->shown[0], Box(kMsgSelectPresentation, MsgButtons::OkCancel, MsgIcon::Question));
  // The worker gave up waiting, ended the session and answered before it stopped.
  EXPECT_EQ(pty.ReadMaster(14, 5s), testing::Reply(2, 2));
  EXPECT_EQ(powerPoint->quitCount, 1);  // it had made PowerPoint open a presentation
}

}  // namespace
}  // namespace brevora::remote::app

namespace brevora::remote::app {
namespace {

TEST(WindowQuestions, TheWorkerAsksOnTheWindowsThreadAndOpensTheChosenFile) {
  auto script = std::make_shared<brevora::testing::OfficeScript>();
  auto powerPoint = MakeRef<brevora::testing::FakeOfficeApp>(script, "App");
  brevora::testing::ScopedClass registration("PowerPoint.Application", powerPoint, script);
  auto box = std::make_shared<services::RecordingMessageBox>();
  box->Answer(MsgResult::Ok);
  services::ScopedService<services::MessageBox> scopedBox(services::InstallMessageBox, box);
  auto files = std::make_shared<services::ScriptedFileDialog>();
  files->Answer("/home/ann/Talks/Q3.ppt");
  services::ScopedService<services::FileDialog> scopedFiles(services::InstallFileDialog, files);

  serial::PseudoTerminal pty;
  input::RecordingInputSink input;
  CVantaPCDlg dialog(input, 1);
  dialog.cboPort->setCurrentText(QString::fromStdString(pty.SlavePath()));
  dialog.OnStart();
  ASSERT_TRUE(pty.WriteMaster(testing::OpenShow("Q3")));
  EXPECT_EQ(ReadWhilePumping(pty, 14), testing::Reply(2, 0));
  EXPECT_EQ(box->shown(), std::vector<Message>{Box(kMsgSelectPresentation, MsgButtons::OkCancel,
                                                   MsgIcon::Question)});
  EXPECT_EQ(files->requests(),
            (std::vector<services::FileRequest>{
                {services::FileDialogKind::Open, "", "Q3", "PowerPoint Files (*.ppt)|*.ppt"}}));
  EXPECT_TRUE(script->Called("Documents.Open(/home/ann/Talks/Q3.ppt, 1, 0, 0)"));
  EXPECT_TRUE(powerPoint->documents->items.at(0)->slideShow->running);

  dialog.OnStop();  // ends the session: the show, and PowerPoint, which it started
  EXPECT_FALSE(powerPoint->documents->items.at(0)->slideShow->running);
  EXPECT_EQ(powerPoint->quitCount, 1);
}

}  // namespace
}  // namespace brevora::remote::app
