#pragma once
// Whether the session has a display to show windows on: the services that
// hand a file or folder to the desktop (help, folder views, web pages) start
// an opener only then, and say what they would have shown otherwise.
namespace brevora::services {

// True when DISPLAY or WAYLAND_DISPLAY is set.
bool SessionHasDisplay();

}  // namespace brevora::services
