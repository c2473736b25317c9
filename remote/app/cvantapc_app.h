#pragma once
// CVantaPCApp: the receiver program once it is the running instance (a start
// whose command no running instance took, remote/instance_handover.h): it
// listens for the commands of later starts, shows the window (with "-start" it
// starts listening on the port at once, the window hidden in the tray) and
// runs until the window is closed or another start says "-stop".
#include <QApplication>

#include "platform/input/input_events.h"
#include "remote/instance_handover.h"
#include "remote/receiver_settings.h"

namespace brevora::remote::app {

class CVantaPCApp {
 public:
  // `action` from the command line; `lock` was taken before the hand-over was
  // tried and is released once this instance listens; `input` receives the
  // keystrokes and mouse events. Returns the exit code.
  int Run(QApplication& application, StartupAction action, InstanceLock& lock,
          input::InputSink& input);
};

}  // namespace brevora::remote::app
