#include "platform/hotsync/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/error/error.h"

namespace brevora::hotsync {

std::optional<RunLock> RunLock::TryTake(const std::string& folder) {
  const std::string path = folder + "/" + kRunLockFileName;
  // Not following a link and not waiting on a FIFO put there under its name.
  UniqueFd fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666));
  if (!fd)
    RaiseError(75, "RunLock", "The lock file " + path + " can't be made: " + std::strerror(errno));
  struct stat st {};
  if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    RaiseError(75, "RunLock", "The lock file " + path + " is not a file.");
  }
  while (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return std::nullopt;
    if (errno != EINTR)
      RaiseError(75, "RunLock",
                 "The lock file " + path + " can't be locked: " + std::strerror(errno));
  }
  return RunLock(std::move(fd));
}

}  // namespace brevora::hotsync
