#include "platform/fs/open_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <string>

#include "platform/fs/file_error.h"
#include "platform/fs/paths.h"

namespace brevora::fs {
namespace {

off_t OffsetOf(uint64_t offset, std::size_t size) {
  if (offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max()) - size) {
    RaiseFileError(kPathFileAccess);
  }
  return static_cast<off_t>(offset);
}

}  // namespace

OpenFile::OpenFile(std::string_view path, Mode mode) {
  const std::string native = NativePath(path);
  // Non-blocking, so that a FIFO or device is refused below instead of waited on.
  const int flags = (mode == Mode::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC;
  fd_ = open(native.c_str(), flags);
  if (fd_ < 0) {
    const int err = errno;
    if (err == EISDIR) RaiseFileError(kPathFileAccess);
    struct stat st {};
    const std::string folder = native.substr(0, native.rfind('/') + 1);
    const bool folderExists =
        folder.empty() || (stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
    RaiseErrno(err, /*missingIsPath=*/!folderExists);
  }
  struct stat st {};
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd_);
    fd_ = -1;
    RaiseFileError(kPathFileAccess);  // a folder opened read-only, a device, a pipe
  }
}

OpenFile::~OpenFile() {
  if (fd_ >= 0) close(fd_);
}

uint64_t OpenFile::Size() const {
  struct stat st {};
  if (fstat(fd_, &st) != 0) RaiseErrno(errno);
  return static_cast<uint64_t>(st.st_size);
}

std::size_t OpenFile::ReadAt(uint64_t offset, void* buffer, std::size_t size) const {
  auto* out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = pread(fd_, out + done, size - done, OffsetOf(offset + done, size - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseErrno(errno);
    }
    if (n == 0) break;  // the end of the file
    done += static_cast<std::size_t>(n);
  }
  return done;
}

void OpenFile::WriteAt(uint64_t offset, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = pwrite(fd_, bytes.data() + done, bytes.size() - done,
                             OffsetOf(offset + done, bytes.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseErrno(errno);
    }
    if (n == 0) RaiseFileError(kDeviceIoError);  // no progress: never spin
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace brevora::fs
