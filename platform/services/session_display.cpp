#include "platform/services/session_display.h"

#include <cstdlib>

namespace brevora::services {

bool SessionHasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

}  // namespace brevora::services
