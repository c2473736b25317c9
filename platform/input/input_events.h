#pragma once
// The keyboard and mouse events this system synthesises (the remote control's
// keystrokes and pointer moves), and the sink that delivers them to the desktop.
//
// Keys are named by virtual-key code, the numbering the handheld's keystroke
// table is written in (vk below); a backend maps them to its own keys. Mouse
// positions are either absolute, normalised to 0..65535 across the screen's
// width and height, or relative, in pixels.
#include <cstdint>
#include <optional>

namespace brevora::input {

// Virtual-key codes.
namespace vk {
inline constexpr uint8_t kBack = 0x08;
inline constexpr uint8_t kTab = 0x09;
inline constexpr uint8_t kReturn = 0x0D;
inline constexpr uint8_t kShift = 0x10;
inline constexpr uint8_t kControl = 0x11;
inline constexpr uint8_t kAlt = 0x12;
inline constexpr uint8_t kEscape = 0x1B;
inline constexpr uint8_t kSpace = 0x20;
inline constexpr uint8_t kPageUp = 0x21;
inline constexpr uint8_t kPageDown = 0x22;
inline constexpr uint8_t kEnd = 0x23;
inline constexpr uint8_t kHome = 0x24;
inline constexpr uint8_t kLeft = 0x25;
inline constexpr uint8_t kUp = 0x26;
inline constexpr uint8_t kRight = 0x27;
inline constexpr uint8_t kDown = 0x28;
inline constexpr uint8_t kInsert = 0x2D;
inline constexpr uint8_t kDelete = 0x2E;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' 0x41..0x5A, the characters themselves.
inline constexpr uint8_t kLeftWindows = 0x5B;
inline constexpr uint8_t kApplications = 0x5D;
inline constexpr uint8_t kSemicolon = 0xBA;     // ; :
inline constexpr uint8_t kEquals = 0xBB;        // = +
inline constexpr uint8_t kComma = 0xBC;         // , <
inline constexpr uint8_t kMinus = 0xBD;         // - _
inline constexpr uint8_t kPeriod = 0xBE;        // . >
inline constexpr uint8_t kSlash = 0xBF;         // / ?
inline constexpr uint8_t kBackquote = 0xC0;     // ` ~
inline constexpr uint8_t kLeftBracket = 0xDB;   // [ {
inline constexpr uint8_t kBackslash = 0xDC;     // \ |
inline constexpr uint8_t kRightBracket = 0xDD;  // ] }
inline constexpr uint8_t kQuote = 0xDE;         // ' "
}  // namespace vk

struct KeyEvent {
  uint8_t key = 0;  // virtual-key code
  bool down = false;
  bool operator==(const KeyEvent&) const = default;
};

enum class MouseAction { Move, LeftDown, LeftUp, RightDown, RightUp };

// A move (absolute or relative) together with the action; a button event moves
// the pointer first, as one event.
struct MouseEvent {
  MouseAction action = MouseAction::Move;
  bool absolute = false;
  int32_t x = 0;  // absolute: 0..65535 across the width; relative: pixels
  int32_t y = 0;
  bool operator==(const MouseEvent&) const = default;
};

inline constexpr int32_t kNormalisedMax = 65535;

struct ScreenSize {
  uint32_t width = 0;  // pixels
  uint32_t height = 0;
  bool operator==(const ScreenSize&) const = default;
};

// Where synthesised events go. Called from one thread at a time.
class InputSink {
 public:
  virtual ~InputSink() = default;
  virtual void SendKey(const KeyEvent& event) = 0;
  virtual void SendMouse(const MouseEvent& event) = 0;
  // The screen the absolute positions are measured on; nullopt without one.
  virtual std::optional<ScreenSize> Screen() = 0;
};

}  // namespace brevora::input
