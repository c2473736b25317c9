// vantapc: the remote-control receiver program.
#include <QApplication>
#include <string>
#include <vector>

#include "platform/input/xtest_input.h"
#include "remote/app/cvantapc_app.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  application.setApplicationName(QStringLiteral("VantaPC"));
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  brevora::input::XTestInputSink input;
  return brevora::remote::app::CVantaPCApp().Run(application, arguments, input);
}
