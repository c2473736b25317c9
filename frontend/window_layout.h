#pragma once
// How the main window's controls follow a change of the window's size. Each
// control's Tag holds a number saying which of its edges move with the window
// (see Anchor); the window keeps its previous size and hands every control the
// change since then. All sizes are in twips (15 per pixel) or any one unit.
#include <cstdint>
#include <optional>
#include <string_view>

namespace brevora::frontend {

struct ControlRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const ControlRect&) const = default;
};

// The control's new place after the window grew by dW and dH (negative when it
// shrank), by its Tag:
//   1 left += dW                     5 top += dH
//   2 top += dH, left += dW          6 height += dH
//   3 width += dW                    7 top += dH, width += dW
//   4 height += dH, width += dW      anything else (also empty): unchanged
// The Tag is read as a whole number with blanks around it allowed.
ControlRect Anchor(std::string_view tag, ControlRect control, int32_t dH, int32_t dW);

struct WindowSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const WindowSize&) const = default;
};

// The window's resize step. Resize answers either a size to set the window to
// (it was below the minimum; setting it raises a new resize that does the
// layout) or the change since the previous layout, after which the current
// size is the previous one. The first layout moves nothing.
class WindowLayout {
 public:
  struct Step {
    std::optional<WindowSize> enlargeTo;  // set this size and lay out on the next resize
    int32_t dH = 0;
    int32_t dW = 0;
  };
  Step Resize(WindowSize current);
  WindowSize previous() const { return previous_; }

 private:
  WindowSize previous_;  // 0 before the first layout
};

}  // namespace brevora::frontend
