#pragma once
// ReceiverHost: what the serial worker asks of the program's window: showing
// and hiding it, telling the user something, and the slide show's questions
// (ShowPrompts). The program carries each call over to its window's thread and
// has the worker wait for it; tests record the calls.
#include <string_view>

#include "remote/show_prompts.h"

namespace brevora::remote {

class ReceiverHost : public ShowPrompts {
 public:
  // Shows the main window and brings it to the foreground.
  virtual void ShowMainWindow() = 0;
  virtual void HideMainWindow() = 0;
  // A message box with OK, titled with the program's name.
  virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace brevora::remote
