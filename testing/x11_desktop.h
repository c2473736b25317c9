#pragma once
// Test support for a program's windows on an X display (the tests run under
// xvfb-run, which has no window manager): the program's top-level windows found
// by title, and what a window manager and a user do to them: the close box
// (WM_DELETE_WINDOW), the keyboard focus that a click gives, and keys typed
// through XTest. Windows are X window ids.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::testing {

class X11Desktop {
 public:
  // Connects to the display $DISPLAY names.
  X11Desktop();
  ~X11Desktop();
  X11Desktop(const X11Desktop&) = delete;
  X11Desktop& operator=(const X11Desktop&) = delete;

  bool Connected() const { return display_ != nullptr; }
  // The viewable top-level windows whose title is `title`.
  std::vector<unsigned long> WindowsTitled(std::string_view title);
  // The titles of all viewable top-level windows, quoted, for failure messages.
  std::string Titles();
  // The first such window that appears within `timeout`; 0 when none does.
  unsigned long WaitForWindow(std::string_view title, std::chrono::milliseconds timeout);
  // True once no viewable top-level window has the title `title` (within `timeout`).
  bool WaitUntilNoWindow(std::string_view title, std::chrono::milliseconds timeout);
  // The request a window manager sends when the user clicks the close box.
  void PressCloseBox(unsigned long window);
  // Gives `window` the keyboard focus, as a window manager does on a click.
  void Focus(unsigned long window);
  // Presses and releases the key of `keysym` (an X keysym), with Alt held when `alt`.
  void Type(unsigned long keysym, bool alt = false);

  // A key as a user presses it: its X keysym, with Alt or not.
  struct Key {
    unsigned long keysym;
    bool alt = false;
  };
  // Focuses `window` and types `keys` (a menu's letter, then an entry's) until
  // a window titled `title` shows; a try that shows none is undone with
  // Escape and made again, as a busy machine may take a key before the menu is
  // up. The window, or 0 when none showed.
  unsigned long OpenWithKeys(unsigned long window, const std::vector<Key>& keys,
                             std::string_view title);
  // Focuses the window titled `title` and types `key` until no such window is
  // left; false when one still is.
  bool CloseWithKey(std::string_view title, unsigned long keysym);

 private:
  void* display_ = nullptr;  // Display*
};

}  // namespace brevora::testing
