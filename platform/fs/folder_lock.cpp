#include "platform/fs/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/fs/file_error.h"
#include "platform/fs/paths.h"

namespace brevora::fs {

FolderLock::FolderLock(std::string_view path) {
  const std::string native = NativePath(path);
  fd_ = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    if (errno == ENOTDIR) RaiseFileError(kPathFileAccess);
    RaiseErrno(errno, /*missingIsPath=*/true);
  }
  while (flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int err = errno;
    close(fd_);
    fd_ = -1;
    RaiseErrno(err);
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) close(fd_);  // closing the only descriptor drops the lock
}

}  // namespace brevora::fs
