#include "platform/fs/rename_no_replace.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

#include "platform/fs/file_error.h"

namespace brevora::fs::detail {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

[[noreturn]] void RaiseRenameError(int err, const std::string& from) {
  // ENOENT means either a missing source or a missing target folder.
  if (err == ENOENT) RaiseFileError(Exists(from) ? kPathNotFound : kFileNotFound);
  RaiseErrno(err);
}

}  // namespace

void RenameAfterCheck(const std::string& from, const std::string& to) {
  if (!Exists(from)) RaiseFileError(kFileNotFound);
  if (Exists(to)) RaiseFileError(kFileAlreadyExists);
  if (rename(from.c_str(), to.c_str()) != 0) RaiseRenameError(errno, from);
}

void RenameByLink(const std::string& from, const std::string& to) {
  struct stat st {};
  if (lstat(from.c_str(), &st) != 0) RaiseRenameError(errno, from);
  if (S_ISDIR(st.st_mode)) return RenameAfterCheck(from, to);
  if (link(from.c_str(), to.c_str()) != 0) {
    const int err = errno;
    if (err == EPERM || err == EOPNOTSUPP || err == EMLINK) return RenameAfterCheck(from, to);
    RaiseRenameError(err, from);
  }
  if (unlink(from.c_str()) != 0) {
    const int err = errno;
    unlink(to.c_str());  // undo: the file keeps its old name only
    RaiseErrno(err);
  }
}

void RenameNoReplaceNative(const std::string& from, const std::string& to) {
  if (syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return;
  }
  const int err = errno;
  if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) return RenameByLink(from, to);
  RaiseRenameError(err, from);
}

}  // namespace brevora::fs::detail
