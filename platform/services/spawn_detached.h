#pragma once
// Starts a program with an argument vector (never a shell) without waiting
// for it; a thread reaps it when it ends. The shared step of the services that
// hand a file or folder to the desktop (help, folder views).
#include <string>
#include <vector>

namespace brevora::services {

// Starts `program` (searched in PATH) with `arguments`; false when it could
// not be started. Never raises.
bool SpawnDetached(const std::string& program, const std::vector<std::string>& arguments);

// True when the session has a display to show windows on (DISPLAY or
// WAYLAND_DISPLAY set).
bool SessionHasDisplay();

}  // namespace brevora::services
