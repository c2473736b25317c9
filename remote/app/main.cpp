// vantapc: the remote-control receiver program. One instance runs per user: a
// start while one runs hands it its command ("-start", "-stop", or show the
// window) and ends, which needs no display; only the instance itself shows a
// window. Exit status: 0, 1 when a running instance did not take the command,
// 2 when there is no display for a new instance's window.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/input/xtest_input.h"
#include "platform/qt/display.h"
#include "remote/app/cvantapc_app.h"
#include "remote/instance_handover.h"
#include "remote/receiver_settings.h"

int main(int argc, char** argv) {
  using namespace brevora::remote;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const StartupAction action = ParseCommandLine(arguments);
  InstanceLock lock;
  switch (HandToRunningInstance(InstanceSocketPath(), action)) {
    case Handover::kTaken:
      return 0;
    case Handover::kNoAnswer:
      // Its socket is not taken over: two instances would serve one port.
      std::fputs("vantapc: the running VantaPC does not answer; nothing was done.\n", stderr);
      return 1;
    case Handover::kNoneRunning:
      break;
  }
  if (action == StartupAction::kStop) return 0;  // none running: nothing to stop
  // Qt would end the process with its own abort when there is no display.
  if (!brevora::qt::DisplayAvailable()) {
    std::fputs("vantapc: no display to show the window on.\n", stderr);
    return 2;
  }
  QApplication application(argc, argv);
  application.setApplicationName(QStringLiteral("VantaPC"));
  brevora::input::XTestInputSink input;
  return app::CVantaPCApp().Run(application, action, lock, input);
}
