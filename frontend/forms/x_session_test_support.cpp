#include "frontend/forms/x_session_test_support.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace brevora::testing {

XSession::XSession() : display_(XOpenDisplay(nullptr)) {}

XSession::~XSession() {
  if (display_) XCloseDisplay(display_);
}

unsigned long XSession::TopLevel(const std::string& title) {
  if (!display_) return 0;
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) return 0;
  ::Window found = 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    XWindowAttributes attributes;
    char* name = nullptr;
    if (XGetWindowAttributes(display_, children[i], &attributes) && attributes.map_state == IsViewable &&
        XFetchName(display_, children[i], &name) && name && title == name) {
      found = children[i];
    }
    if (name) XFree(name);
  }
  if (children) XFree(children);
  return found;
}

void XSession::Focus(unsigned long window) {
  if (!display_) return;
  XSetInputFocus(display_, window, RevertToParent, CurrentTime);
  XSync(display_, False);
}

void XSession::Press(const std::vector<std::string>& keysyms) {
  if (!display_) return;
  std::vector<unsigned> codes;
  for (const std::string& name : keysyms) codes.push_back(XKeysymToKeycode(display_, XStringToKeysym(name.c_str())));
  for (unsigned code : codes) XTestFakeKeyEvent(display_, code, True, CurrentTime);
  for (auto code = codes.rbegin(); code != codes.rend(); ++code) XTestFakeKeyEvent(display_, *code, False, CurrentTime);
  XSync(display_, False);
}

void XSession::PressCloseBox(unsigned long window) {
  if (!display_) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XSync(display_, False);
}

void XSession::Kill(unsigned long window) {
  if (!display_) return;
  XKillClient(display_, window);
  XSync(display_, False);
}

}  // namespace brevora::testing
