// The receiver on a real X display: keystrokes and mouse events through the
// XTest backend reach Qt windows, and the window as the X server shows it.
// It runs on the X server DISPLAY names (ctest starts it under xvfb-run with
// BREVORA_TEST_QPA=xcb); where none answers, on the offscreen platform, the
// cases skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/input/recording_input.h"
#include "platform/input/xtest_input.h"
#include "remote/app/about_dlg.h"
#include "remote/app/cvantapc_dlg.h"
#include "remote/keystrokes.h"
#include "testing/temp_home.h"

namespace brevora::remote::app {
namespace {

using namespace std::chrono_literals;

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

bool OnX11() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

void ShowAndWait(QWidget& widget) {
  widget.show();
  widget.raise();
  widget.activateWindow();
  ASSERT_TRUE(
      PumpUntil([&] { return widget.windowHandle() && widget.windowHandle()->isExposed(); }));
  PumpUntil([&] { return QApplication::activeWindow() == &widget; }, 2s);
}

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

TEST(XTestInput, TypedTextReachesTheFocusedWindow) {
  if (!OnX11()) GTEST_SKIP() << "no X display (DISPLAY names no X server that answers)";
  QWidget window;
  auto* edit = new QLineEdit(&window);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(edit);
  window.setGeometry(50, 50, 400, 80);
  ShowAndWait(window);
  edit->setFocus();
  PumpUntil([&] { return edit->hasFocus(); }, 2s);

  input::XTestInputSink sink;
  const std::string text = "Hello, World! (1+1=2) \"Quote\" ~/path_x;";
  // Typed as the handheld sends it, with a Shift prefix and an Enter that the
  // line edit ignores.
  InjectKeystrokes(sink, Bytes(text));
  InjectKeystrokes(sink, std::vector<uint8_t>{0x81, 'z', 13});
  EXPECT_TRUE(
      PumpUntil([&] { return edit->text().size() >= static_cast<int>(text.size() + 1); }, 5s));
  EXPECT_EQ(edit->text().toStdString(), text + "Z");

  // Backspace and Home/End move and delete as keys.
  InjectKeystrokes(sink, std::vector<uint8_t>{8, 2, 127});
  EXPECT_TRUE(PumpUntil([&] { return edit->text().toStdString() == text.substr(1); }, 5s))
      << edit->text().toStdString();
}

TEST(XTestInput, ThePointerLandsWhereScaledAndClicks) {
  if (!OnX11()) GTEST_SKIP() << "no X display (DISPLAY names no X server that answers)";
  input::XTestInputSink sink;
  const auto screen = sink.Screen();
  ASSERT_TRUE(screen);
  const QSize size = QGuiApplication::primaryScreen()->size();
  EXPECT_EQ(screen->width, static_cast<uint32_t>(size.width()));
  EXPECT_EQ(screen->height, static_cast<uint32_t>(size.height()));

  for (const QPoint target : {QPoint(100, 200), QPoint(0, 0),
                              QPoint(size.width() - 1, size.height() - 1), QPoint(517, 333)}) {
    InjectMouse(sink, static_cast<uint16_t>(target.x()), static_cast<uint16_t>(target.y()), 1);
    EXPECT_TRUE(PumpUntil([&] { return QCursor::pos() == target; }, 2s))
        << target.x() << "," << target.y();
  }
  InjectMouse(sink, 0xFFFB, 7, 6);  // 5 left, 7 down
  EXPECT_TRUE(PumpUntil([&] { return QCursor::pos() == QPoint(512, 340); }, 2s));

  QPushButton button(QStringLiteral("Press"));
  button.setGeometry(300, 300, 120, 40);
  ShowAndWait(button);
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
  const QPoint centre = button.mapToGlobal(button.rect().center());
  InjectMouse(sink, static_cast<uint16_t>(centre.x()), static_cast<uint16_t>(centre.y()), 2);
  InjectMouse(sink, static_cast<uint16_t>(centre.x()), static_cast<uint16_t>(centre.y()), 3);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 5s));
}

// Grabs `area` of the screen as the X server shows it into `name`.png in the
// case's folder (and BREVORA_TEST_SCREENSHOTS); the picture is not blank.
void GrabScreen(const QRect& area, const std::string& name) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                    area.width(), area.height());
  ASSERT_FALSE(shot.isNull());
  const std::filesystem::path file =
      std::filesystem::path(brevora::testing::MakeTempDir("screenshots")) / (name + ".png");
  ASSERT_TRUE(shot.save(QString::fromStdString(file.string()), "PNG"));
  if (const char* keep = std::getenv("BREVORA_TEST_SCREENSHOTS"); keep && *keep) {
    std::filesystem::create_directories(keep);
    std::filesystem::copy_file(file, std::filesystem::path(keep) / file.filename(),
                               std::filesystem::copy_options::overwrite_existing);
  }
  const QImage image = shot.toImage();
  const QRgb corner = image.pixel(0, 0);
  bool varied = false;
  for (int y = 0; y < image.height() && !varied; y += 3) {
    for (int x = 0; x < image.width() && !varied; x += 3) varied = image.pixel(x, y) != corner;
  }
  EXPECT_TRUE(varied) << name;
}

TEST(ReceiverWindow, AsTheXServerShowsIt) {
  if (!OnX11()) GTEST_SKIP() << "no X display (DISPLAY names no X server that answers)";
  input::RecordingInputSink input;
  CVantaPCDlg dialog(input, 1);
  dialog.cboPort->setCurrentText(QStringLiteral("/dev/rfcomm0"));
  dialog.move(40, 40);
  ShowAndWait(dialog);
  PumpUntil([] { return false; }, 300ms);  // let it paint
  GrabScreen(dialog.frameGeometry(), "vantapc_window_xvfb");

  // A right click on the window, as the pointer gives it, opens the system menu.
  input::XTestInputSink pointer;
  const QPoint spot = dialog.mapToGlobal(QPoint(dialog.width() / 2, 4));
  const auto x = static_cast<uint16_t>(spot.x()), y = static_cast<uint16_t>(spot.y());
  InjectMouse(pointer, x, y, 1);
  InjectMouse(pointer, x, y, 4);
  InjectMouse(pointer, x, y, 5);
  ASSERT_TRUE(PumpUntil([&] { return dialog.systemMenu->isVisible(); }, 5s));
  PumpUntil([] { return false; }, 300ms);
  GrabScreen(dialog.frameGeometry().united(dialog.systemMenu->geometry()).adjusted(0, 0, 8, 8),
             "vantapc_system_menu_xvfb");
  dialog.systemMenu->hide();

  // Its entry shows the About box over the window.
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
    if (!about) return;
    shown = PumpUntil([&] { return about->windowHandle() && about->windowHandle()->isExposed(); });
    PumpUntil([] { return false; }, 300ms);
    GrabScreen(about->frameGeometry(), "vantapc_about_xvfb");
    about->accept();
  });
  QTimer::singleShot(10000, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<CAboutDlg*>(w)) d->reject();
    }
  });
  dialog.systemMenu->actions().at(1)->trigger();
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace brevora::remote::app
