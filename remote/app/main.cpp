// vantapc: the remote-control receiver program.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/input/xtest_input.h"
#include "platform/qt/display.h"
#include "remote/app/cvantapc_app.h"

int main(int argc, char** argv) {
  // Qt would end the process with its own abort when there is no display.
  if (!brevora::qt::DisplayAvailable()) {
    std::fputs("vantapc: no display to show the window on.\n", stderr);
    return 2;
  }
  QApplication application(argc, argv);
  application.setApplicationName(QStringLiteral("VantaPC"));
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  brevora::input::XTestInputSink input;
  return brevora::remote::app::CVantaPCApp().Run(application, arguments, input);
}
