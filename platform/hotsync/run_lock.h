#pragma once
// RunLock: one HotSync at a time over a folder (a device folder, a user's
// folder). It is an exclusive lock (flock) on the file ".hotsync.lock" in the
// folder, held while the object lives and dropped by the kernel when the
// process ends, however it ends: a killed run never blocks the next one.
//
// The lock file stays after the run (removing it would let two runs lock two
// files of one name). Its name is hidden and ends in no extension the folder's
// readers take, so the database listing passes it by, and it is no temporary
// file any cleanup removes.
#include <optional>
#include <string>

#include "platform/hotsync/unique_fd.h"

namespace brevora::hotsync {

inline constexpr const char* kRunLockFileName = ".hotsync.lock";

class RunLock {
 public:
  // The lock of the folder `folder` (native path); nullopt when another process
  // holds it. Raises AutomationError 75 when the lock file can't be made or
  // locked for another reason.
  static std::optional<RunLock> TryTake(const std::string& folder);

  RunLock(RunLock&&) noexcept = default;
  RunLock& operator=(RunLock&&) noexcept = default;
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

 private:
  explicit RunLock(UniqueFd fd) : fd_(std::move(fd)) {}
  UniqueFd fd_;
};

}  // namespace brevora::hotsync
