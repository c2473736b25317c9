#pragma once
// Whether this process can show windows: the question to ask before making a
// QApplication, which otherwise ends the process when it finds no display.
#include <string>

namespace brevora::qt {

// True when Qt's platform (QT_QPA_PLATFORM, else the session's: DISPLAY for
// X11, WAYLAND_DISPLAY for Wayland) has somewhere to show windows. An X11
// display is tried with a connection of its own (through libxcb, loaded when
// needed), so a DISPLAY naming a server that is not there counts as none.
// Platforms that need no display server (offscreen, minimal) count as one.
bool DisplayAvailable();

}  // namespace brevora::qt
