#pragma once
// Test support: drives a program's window on the X display named by $DISPLAY
// as a user would: finds the top-level window by its title, types keys into
// it (through the XTest extension) and presses its close box (the
// WM_DELETE_WINDOW request a window manager sends for it).
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brevora::journey {

class XWindowDriver {
 public:
  // Opens $DISPLAY; available() is false when there is none or it has no XTest.
  XWindowDriver();
  ~XWindowDriver();
  XWindowDriver(const XWindowDriver&) = delete;
  XWindowDriver& operator=(const XWindowDriver&) = delete;

  bool available() const;

  // The viewable top-level window titled `title`, waited for up to `timeout`.
  std::optional<unsigned long> WaitForWindow(const std::string& title, std::chrono::milliseconds timeout);
  // True while a viewable window titled `title` exists.
  bool HasWindow(const std::string& title);

  // Gives `window` the keyboard focus and types the chords in turn; a chord is
  // keys joined by '+', modifiers first ("alt+f", "x", "Return").
  void Type(unsigned long window, const std::vector<std::string>& chords);
  // Asks `window` to close, as its close box does.
  void PressCloseBox(unsigned long window);

 private:
  struct Connection;
  std::unique_ptr<Connection> x_;
};

}  // namespace brevora::journey
