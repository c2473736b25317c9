#include "journey/x_window_driver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstring>
#include <sstream>
#include <thread>

namespace brevora::journey {

struct XWindowDriver::Connection {
  Display* display = nullptr;
  ~Connection() {
    if (display) XCloseDisplay(display);
  }
};

namespace {

std::string TitleOf(Display* display, Window window) {
  std::string title;
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                         &data) == Success &&
      data) {
    title.assign(reinterpret_cast<const char*>(data), count);
    XFree(data);
  }
  if (title.empty()) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
      title = name;
      XFree(name);
    }
  }
  return title;
}

bool Viewable(Display* display, Window window) {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// The viewable window titled `title` among the root's children (and theirs:
// a window manager, if one runs, puts frames between).
std::optional<Window> Search(Display* display, Window parent, const std::string& title, int depth) {
  Window root = 0;
  Window up = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, parent, &root, &up, &children, &count)) return std::nullopt;
  std::optional<Window> found;
  for (unsigned int i = 0; i < count && !found; ++i) {
    if (Viewable(display, children[i]) && TitleOf(display, children[i]) == title) found = children[i];
  }
  for (unsigned int i = 0; i < count && !found && depth > 0; ++i) {
    found = Search(display, children[i], title, depth - 1);
  }
  if (children) XFree(children);
  return found;
}

KeySym KeysymOf(const std::string& key) {
  if (key == "alt") return XK_Alt_L;
  if (key == "ctrl") return XK_Control_L;
  if (key == "shift") return XK_Shift_L;
  return XStringToKeysym(key.c_str());
}

}  // namespace

XWindowDriver::XWindowDriver() : x_(std::make_unique<Connection>()) {
  x_->display = XOpenDisplay(nullptr);
  int event = 0;
  int error = 0;
  int major = 0;
  int minor = 0;
  if (x_->display && !XTestQueryExtension(x_->display, &event, &error, &major, &minor)) {
    XCloseDisplay(x_->display);
    x_->display = nullptr;
  }
}

XWindowDriver::~XWindowDriver() = default;

bool XWindowDriver::available() const { return x_->display != nullptr; }

std::optional<unsigned long> XWindowDriver::WaitForWindow(const std::string& title,
                                                          std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (available()) {
    XSync(x_->display, False);
    if (auto window = Search(x_->display, DefaultRootWindow(x_->display), title, 2)) return *window;
    if (std::chrono::steady_clock::now() > end) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return std::nullopt;
}

bool XWindowDriver::HasWindow(const std::string& title) {
  if (!available()) return false;
  XSync(x_->display, False);
  return Search(x_->display, DefaultRootWindow(x_->display), title, 2).has_value();
}

void XWindowDriver::Type(unsigned long window, const std::vector<std::string>& chords) {
  if (!available()) return;
  Display* d = x_->display;
  XRaiseWindow(d, window);
  XSetInputFocus(d, window, RevertToParent, CurrentTime);
  XSync(d, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the window takes the focus
  for (const std::string& chord : chords) {
    std::vector<KeyCode> keys;
    std::stringstream parts(chord);
    for (std::string key; std::getline(parts, key, '+');) keys.push_back(XKeysymToKeycode(d, KeysymOf(key)));
    for (const KeyCode key : keys) XTestFakeKeyEvent(d, key, True, CurrentTime);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) XTestFakeKeyEvent(d, *key, False, CurrentTime);
    XSync(d, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a menu opens between chords
  }
}

void XWindowDriver::PressCloseBox(unsigned long window) {
  if (!available()) return;
  Display* d = x_->display;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, window, False, NoEventMask, &event);
  XSync(d, False);
}

}  // namespace brevora::journey
