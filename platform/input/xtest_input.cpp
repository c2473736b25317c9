#include "platform/input/xtest_input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "platform/services/event_log.h"

namespace brevora::input {

struct XTestInputSink::Connection {
  Display* display = nullptr;
  ~Connection() {
    if (display) XCloseDisplay(display);
  }
};

unsigned long KeysymOfKey(uint8_t key) {
  if (key >= 'A' && key <= 'Z') return XK_a + (key - 'A');
  if (key >= '0' && key <= '9') return XK_0 + (key - '0');
  switch (key) {
    case vk::kBack:
      return XK_BackSpace;
    case vk::kTab:
      return XK_Tab;
    case vk::kReturn:
      return XK_Return;
    case vk::kShift:
      return XK_Shift_L;
    case vk::kControl:
      return XK_Control_L;
    case vk::kAlt:
      return XK_Alt_L;
    case vk::kEscape:
      return XK_Escape;
    case vk::kSpace:
      return XK_space;
    case vk::kPageUp:
      return XK_Prior;
    case vk::kPageDown:
      return XK_Next;
    case vk::kEnd:
      return XK_End;
    case vk::kHome:
      return XK_Home;
    case vk::kLeft:
      return XK_Left;
    case vk::kUp:
      return XK_Up;
    case vk::kRight:
      return XK_Right;
    case vk::kDown:
      return XK_Down;
    case vk::kInsert:
      return XK_Insert;
    case vk::kDelete:
      return XK_Delete;
    case vk::kLeftWindows:
      return XK_Super_L;
    case vk::kApplications:
      return XK_Menu;
    case vk::kSemicolon:
      return XK_semicolon;
    case vk::kEquals:
      return XK_equal;
    case vk::kComma:
      return XK_comma;
    case vk::kMinus:
      return XK_minus;
    case vk::kPeriod:
      return XK_period;
    case vk::kSlash:
      return XK_slash;
    case vk::kBackquote:
      return XK_grave;
    case vk::kLeftBracket:
      return XK_bracketleft;
    case vk::kBackslash:
      return XK_backslash;
    case vk::kRightBracket:
      return XK_bracketright;
    case vk::kQuote:
      return XK_apostrophe;
    default:
      return 0;
  }
}

int32_t PixelOfNormalised(int32_t normalised, uint32_t pixels) {
  if (pixels == 0) return 0;
  if (normalised < 0) normalised = 0;
  if (normalised > kNormalisedMax) normalised = kNormalisedMax;
  // The position was made as floor(pixel * 65535 / pixels); rounding up takes
  // it back to that pixel exactly.
  const uint64_t pixel =
      (static_cast<uint64_t>(normalised) * pixels + kNormalisedMax - 1) / kNormalisedMax;
  return static_cast<int32_t>(pixel < pixels ? pixel : pixels - 1);
}

XTestInputSink::XTestInputSink() = default;
XTestInputSink::~XTestInputSink() = default;

XTestInputSink::Connection* XTestInputSink::Connect() {
  if (tried_) return connection_.get();
  tried_ = true;
  auto connection = std::make_unique<Connection>();
  connection->display = XOpenDisplay(nullptr);
  if (!connection->display) {
    services::WriteToEventLog("VantaPC: no X display; keystrokes and mouse events are not sent");
    return nullptr;
  }
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(connection->display, &eventBase, &errorBase, &major, &minor)) {
    services::WriteToEventLog(
        "VantaPC: the X display has no XTest extension; keystrokes and mouse events are not sent");
    return nullptr;
  }
  connection_ = std::move(connection);
  return connection_.get();
}

void XTestInputSink::SendKey(const KeyEvent& event) {
  Connection* c = Connect();
  if (!c) return;
  const unsigned long keysym = KeysymOfKey(event.key);
  if (keysym == 0) return;
  const KeyCode code = XKeysymToKeycode(c->display, keysym);
  if (code == 0) return;
  XTestFakeKeyEvent(c->display, code, event.down ? True : False, CurrentTime);
  XFlush(c->display);
}

void XTestInputSink::SendMouse(const MouseEvent& event) {
  Connection* c = Connect();
  if (!c) return;
  Display* d = c->display;
  if (event.absolute) {
    const int screen = DefaultScreen(d);
    const auto width = static_cast<uint32_t>(DisplayWidth(d, screen));
    const auto height = static_cast<uint32_t>(DisplayHeight(d, screen));
    XTestFakeMotionEvent(d, screen, PixelOfNormalised(event.x, width),
                         PixelOfNormalised(event.y, height), CurrentTime);
  } else if (event.x != 0 || event.y != 0) {
    XTestFakeRelativeMotionEvent(d, event.x, event.y, CurrentTime);
  }
  switch (event.action) {
    case MouseAction::Move:
      break;
    case MouseAction::LeftDown:
      XTestFakeButtonEvent(d, 1, True, CurrentTime);
      break;
    case MouseAction::LeftUp:
      XTestFakeButtonEvent(d, 1, False, CurrentTime);
      break;
    case MouseAction::RightDown:
      XTestFakeButtonEvent(d, 3, True, CurrentTime);
      break;
    case MouseAction::RightUp:
      XTestFakeButtonEvent(d, 3, False, CurrentTime);
      break;
  }
  XFlush(d);
}

std::optional<ScreenSize> XTestInputSink::Screen() {
  Connection* c = Connect();
  if (!c) return std::nullopt;
  const int screen = DefaultScreen(c->display);
  return ScreenSize{static_cast<uint32_t>(DisplayWidth(c->display, screen)),
                    static_cast<uint32_t>(DisplayHeight(c->display, screen))};
}

}  // namespace brevora::input
