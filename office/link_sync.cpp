#include "office/link_sync.h"

#include <cmath>

#include "platform/error/error.h"
#include "platform/fs/files.h"

namespace brevora::office {

double DaysToSeconds(double date) {
  const double seconds = date * 86400.0;
  if (!std::isfinite(seconds)) RaiseRuntimeError(6);
  return seconds;
}

bool LinkedFileExists(const std::string& path) {
  try {
    return fs::FileExists(path);
  } catch (const AutomationError&) {
    return false;
  }
}

double LinkedFileSeconds(const std::string& path) { return DaysToSeconds(fs::FileDateTime(path)); }

bool LinkedFileIsNewer(const std::string& path, double storedSeconds) {
  // Written as "not less than" so that a stored time that is no number pulls.
  return LinkedFileExists(path) && !(LinkedFileSeconds(path) - storedSeconds < 1.0);
}

}  // namespace brevora::office
