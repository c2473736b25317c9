#pragma once
// CVantaPCApp: the receiver program. Run reads the command line ("-start",
// "-stop"), hands it to a running instance when there is one and ends, ends at
// once on "-stop" without one, and otherwise becomes the running instance: it
// shows the window (with "-start" it starts listening at once, the window
// hidden in the tray) and runs until the window is closed or another start
// says "-stop".
#include <QApplication>
#include <string>
#include <vector>

#include "platform/input/input_events.h"

namespace brevora::remote::app {

class CVantaPCApp {
 public:
  // `arguments` without the program name; `input` receives the keystrokes and
  // mouse events. Returns the exit code.
  int Run(QApplication& application, const std::vector<std::string>& arguments, input::InputSink& input);
};

}  // namespace brevora::remote::app
