#include "platform/qt/display.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string_view>

namespace brevora::qt {
namespace {

std::string_view Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string_view(value) : std::string_view();
}

// Connects to the X server named by DISPLAY and disconnects again.
bool XServerReachable() {
  if (Env("DISPLAY").empty()) return false;
  void* xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
  if (!xcb) return false;
  using Connect = void* (*)(const char*, int*);
  using HasError = int (*)(void*);
  using Disconnect = void (*)(void*);
  const auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
  const auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
  const auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
  bool reachable = false;
  if (connect && hasError && disconnect) {
    void* connection = connect(nullptr, nullptr);
    if (connection) {
      reachable = hasError(connection) == 0;
      disconnect(connection);  // also frees a connection that failed
    }
  }
  dlclose(xcb);
  return reachable;
}

}  // namespace

bool DisplayAvailable() {
  const std::string_view platform = Env("QT_QPA_PLATFORM");
  if (platform.empty()) return XServerReachable() || !Env("WAYLAND_DISPLAY").empty();
  // "xcb", "wayland" or "wayland-egl", optionally followed by ":options"; a
  // list ("wayland;xcb") is tried in order by Qt.
  std::string_view rest = platform;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    std::string_view name = rest.substr(0, end);
    name = name.substr(0, name.find(':'));
    if (name == "xcb") {
      if (XServerReachable()) return true;
    } else if (name.starts_with("wayland")) {
      if (!Env("WAYLAND_DISPLAY").empty()) return true;
    } else if (!name.empty()) {
      return true;  // offscreen, minimal, vnc...: no display server needed
    }
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return false;
}

}  // namespace brevora::qt
