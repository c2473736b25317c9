#pragma once
// Test support on an X display: the test's own connection, for what a user
// and the window manager do to a program's window: finding a mapped top-level
// window by its title, giving it the keyboard, pressing keys (through XTest),
// pressing its close box (WM_DELETE_WINDOW), and ending its program's
// connection as a last resort. Window ids are X window ids; 0 is none. X11's
// own headers stay in the .cpp (their macros clash with the test framework's
// names).
#include <string>
#include <vector>

struct _XDisplay;

namespace brevora::testing {

class XSession {
 public:
  XSession();  // the display named by $DISPLAY
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool Connected() const { return display_ != nullptr; }
  unsigned long TopLevel(const std::string& title);
  void Focus(unsigned long window);
  // Presses the keys named by their X keysym names ("Alt_L", "f") together, in
  // order, and lets them go in reverse order.
  void Press(const std::vector<std::string>& keysyms);
  void PressCloseBox(unsigned long window);
  void Kill(unsigned long window);

 private:
  _XDisplay* display_;
};

}  // namespace brevora::testing
