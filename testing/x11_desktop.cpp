#include "testing/x11_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <thread>

namespace brevora::testing {
namespace {

// Keys typed through a menu are given this long to arrive; a try that shows
// nothing is given up after kTryTimeout and made again, kAttempts times.
constexpr std::chrono::milliseconds kSettle{250};
constexpr std::chrono::seconds kTryTimeout{7};
constexpr int kAttempts = 3;

Display* D(void* display) { return static_cast<Display*>(display); }

// A window that goes while it is being looked at is no failure of the test.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

std::string Title(Display* display, Window window) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data) {
    if (type == utf8 && format == 8) title.assign(reinterpret_cast<char*>(data), count);
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

// The viewable children of the root window: the top-level windows when no
// window manager reparents them.
std::vector<unsigned long> ViewableTopLevels(Display* display) {
  std::vector<unsigned long> found;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
    return found;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, children[i], &attributes) &&
        attributes.map_state == IsViewable) {
      found.push_back(children[i]);
    }
  }
  if (children) XFree(children);
  return found;
}

}  // namespace

X11Desktop::X11Desktop() {
  XSetErrorHandler(IgnoreErrors);
  // A server that is resetting (its last client just left) refuses for a moment.
  for (int attempt = 0; attempt < 50 && !display_; ++attempt) {
    display_ = XOpenDisplay(nullptr);
    if (!display_) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

X11Desktop::~X11Desktop() {
  if (display_) XCloseDisplay(D(display_));
}

std::string X11Desktop::Titles() {
  std::string titles;
  if (!display_) return titles;
  for (unsigned long window : ViewableTopLevels(D(display_))) {
    titles += (titles.empty() ? "\"" : ", \"") + Title(D(display_), window) + "\"";
  }
  return titles;
}

std::vector<unsigned long> X11Desktop::WindowsTitled(std::string_view title) {
  std::vector<unsigned long> found;
  if (!display_) return found;
  for (unsigned long window : ViewableTopLevels(D(display_))) {
    if (Title(D(display_), window) == title) found.push_back(window);
  }
  return found;
}

unsigned long X11Desktop::WaitForWindow(std::string_view title, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    const std::vector<unsigned long> windows = WindowsTitled(title);
    if (!windows.empty()) return windows.front();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < deadline);
  return 0;
}

bool X11Desktop::WaitUntilNoWindow(std::string_view title, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    if (WindowsTitled(title).empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < deadline);
  return false;
}

void X11Desktop::PressCloseBox(unsigned long window) {
  if (!display_) return;
  Display* display = D(display_);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

void X11Desktop::Focus(unsigned long window) {
  if (!display_) return;
  XSetInputFocus(D(display_), window, RevertToPointerRoot, CurrentTime);
  XSync(D(display_), False);
}

void X11Desktop::Type(unsigned long keysym, bool alt) {
  if (!display_) return;
  Display* display = D(display_);
  const KeyCode altKey = XKeysymToKeycode(display, XK_Alt_L);
  const KeyCode key = XKeysymToKeycode(display, keysym);
  if (alt) XTestFakeKeyEvent(display, altKey, True, CurrentTime);
  XTestFakeKeyEvent(display, key, True, CurrentTime);
  XTestFakeKeyEvent(display, key, False, CurrentTime);
  if (alt) XTestFakeKeyEvent(display, altKey, False, CurrentTime);
  XSync(display, False);
}

unsigned long X11Desktop::OpenWithKeys(unsigned long window, const std::vector<Key>& keys,
                                       std::string_view title) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    Focus(window);
    std::this_thread::sleep_for(kSettle);
    for (const Key& key : keys) {
      Type(key.keysym, key.alt);
      std::this_thread::sleep_for(kSettle);
    }
    if (const unsigned long shown = WaitForWindow(title, kTryTimeout)) return shown;
    Type(XK_Escape);
    Type(XK_Escape);
  }
  return 0;
}

bool X11Desktop::CloseWithKey(std::string_view title, unsigned long keysym) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::vector<unsigned long> windows = WindowsTitled(title);
    if (windows.empty()) return true;
    Focus(windows.front());
    std::this_thread::sleep_for(kSettle);
    Type(keysym);
    if (WaitUntilNoWindow(title, kTryTimeout)) return true;
  }
  return WindowsTitled(title).empty();
}

}  // namespace brevora::testing
