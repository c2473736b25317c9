// albumet: the image album tool. Collects pictures into an album, orders and
// titles them, and saves the album as a presentation for the handheld viewer
// (or opens one as an album).
#include <QApplication>
#include <cstdio>
#include <memory>

#include "album/app/ab_main.h"
#include "album/app/about_box.h"
#include "platform/qt/display.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/services/service_slot.h"

int main(int argc, char** argv) {
  using namespace brevora;
  // Qt would end the process with its own abort when there is no display.
  if (!qt::DisplayAvailable()) {
    std::fputs("albumet: no display to show the window on.\n", stderr);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(album::kProgramTitle));
  services::ScopedService<services::MessageBox> messages(services::InstallMessageBox,
                                                         std::make_shared<qt::QtMessageBox>());
  services::ScopedService<services::FileDialog> files(services::InstallFileDialog,
                                                      std::make_shared<qt::QtFileDialog>());
  album::AB_Main window;
  window.show();
  return QApplication::exec();
}
