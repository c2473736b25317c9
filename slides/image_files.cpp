#include "slides/image_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/fs/file_error.h"
#include "platform/fs/paths.h"

namespace brevora::slides {
namespace {

// A native path without trailing separators ("/" stays).
std::string Normalized(std::string_view systemPath) {
  std::string native = fs::NativePath(systemPath);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  return native;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now; the close's error (a write that failed late) raises.
  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fs::RaiseErrno(errno);
  }

 private:
  int fd_;
};

void RemoveIfPresent(const std::string& native) {
  if (::unlink(native.c_str()) != 0 && errno != ENOENT) fs::RaiseErrno(errno);
}

void Append(const std::string& native, std::span<const uint8_t> bytes) {
  Fd fd(::open(native.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0644));
  if (fd.get() < 0) fs::RaiseErrno(errno, true);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fs::RaiseErrno(errno);
    }
    done += static_cast<size_t>(n);
  }
  fd.Close();
}

}  // namespace

void CreateEmptyFile(std::string_view path) { WriteNewFile(path, {}); }

void AppendToFile(std::string_view path, std::span<const uint8_t> bytes) {
  Append(fs::NativePath(path), bytes);
}

void WriteNewFile(std::string_view path, std::span<const uint8_t> bytes) {
  const std::string native = fs::NativePath(path);
  RemoveIfPresent(native);
  Append(native, bytes);
}

bool SameFolder(std::string_view a, std::string_view b) {
  const std::string na = Normalized(a), nb = Normalized(b);
  if (na.empty() || nb.empty()) return false;
  if (na == nb) return true;
  struct stat sa {
  }, sb{};
  if (::stat(na.c_str(), &sa) != 0 || ::stat(nb.c_str(), &sb) != 0) return false;
  return S_ISDIR(sa.st_mode) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool IsInFolder(std::string_view path, std::string_view folder) {
  if (fs::FileNamePart(path).empty()) return false;
  return SameFolder(fs::FolderPart(path), folder);
}

}  // namespace brevora::slides
