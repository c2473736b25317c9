#include "platform/windows/window_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/event_log.h"
#include "platform/text/case.h"

namespace brevora::windows {
namespace {

constexpr const char* kSource = "WindowDirectory";
constexpr const char* kFolderName = "windows";
constexpr const char* kEntrySuffix = ".entry";
constexpr const char* kSocketSuffix = ".sock";
constexpr int kInvalidArgument = 5;
constexpr int kPathFileAccess = 75;

// Closes a descriptor on every path.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

[[noreturn]] void RaiseSystem(const std::string& what, int err) {
  RaiseError(kPathFileAccess, kSource, what + ": " + std::strerror(err));
}

std::string HandleName(WindowHandle handle) {
  char name[9];
  std::snprintf(name, sizeof name, "%08x", handle);
  return name;
}

// The handle of a file name "<8 lower-case hex digits><suffix>".
std::optional<WindowHandle> HandleOf(std::string_view name, std::string_view suffix) {
  if (name.size() != 8 + suffix.size() || !name.ends_with(suffix)) return std::nullopt;
  WindowHandle handle = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const char c = name[i];
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return std::nullopt;
    }
    handle = handle << 4 | static_cast<WindowHandle>(digit);
  }
  return handle;
}

// The native folder path, without creating it.
std::string NativeFolder() { return fs::NativePath(fs::JoinPath(fs::RuntimeDir(), kFolderName)); }

// A Unix socket address for `path`; false when the path does not fit.
bool MakeAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

uint64_t MonotonicNanoseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}

WindowHandle RandomHandle() {
  WindowHandle handle = 0;
  while (handle == 0) {
    if (getrandom(&handle, sizeof handle, 0) != static_cast<ssize_t>(sizeof handle)) {
      handle = static_cast<WindowHandle>(MonotonicNanoseconds() ^ static_cast<uint64_t>(getpid()));
    }
  }
  return handle;
}

// The entry `name` of the folder `dir`: the target of the symbolic link,
// when it is one and no longer than kMaxEntrySize.
std::optional<std::string> ReadEntry(int dir, const char* name) {
  char text[kMaxEntrySize + 1];
  const ssize_t n = readlinkat(dir, name, text, sizeof text);
  if (n < 0 || static_cast<std::size_t>(n) > kMaxEntrySize) return std::nullopt;
  return std::string(text, static_cast<std::size_t>(n));
}

enum class Liveness { Live, Dead, Unknown };

// Whether a window's socket still has its owner: a datagram socket whose owner
// is gone refuses connections (or is missing altogether).
Liveness Probe(int probe, const std::string& socketPath) {
  sockaddr_un address;
  if (!MakeAddress(socketPath, address)) return Liveness::Unknown;
  if (connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    return Liveness::Live;
  }
  return errno == ECONNREFUSED || errno == ENOENT ? Liveness::Dead : Liveness::Unknown;
}

void LogDropped(std::string_view why, std::size_t size) {
  services::WriteToEventLog("Window directory: dropped a datagram of " + std::to_string(size) +
                            " bytes: " + std::string(why));
}

// The window's own button that a click names (case ignored), or null.
const ChildButton* ButtonOf(const WindowEntry& entry, const WindowMessage& click) {
  const auto it =
      std::find_if(entry.buttons.begin(), entry.buttons.end(), [&](const ChildButton& b) {
        return text::EqualsNoCase(b.windowClass, click.childClass) &&
               text::EqualsNoCase(b.caption, click.caption);
      });
  return it == entry.buttons.end() ? nullptr : &*it;
}

}  // namespace

std::string DirectoryPath() {
  const std::string system = fs::JoinPath(fs::RuntimeDir(), kFolderName);
  const std::string native = fs::NativePath(system);
  if (mkdir(native.c_str(), 0700) != 0 && errno != EEXIST) {
    RaiseSystem("Can't make the window directory " + native, errno);
  }
  struct stat st {};
  if (lstat(native.c_str(), &st) != 0)
    RaiseSystem("Can't read the window directory " + native, errno);
  if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
    RaiseError(kPathFileAccess, kSource,
               "The window directory " + native + " is not a folder of this user.");
  }
  if ((st.st_mode & 07777) != 0700 && chmod(native.c_str(), 0700) != 0) {
    RaiseSystem("Can't restrict the window directory " + native, errno);
  }
  return system;
}

std::vector<WindowEntry> Find(std::string_view windowClass, std::string_view title) {
  std::vector<WindowEntry> found;
  try {
    const std::string folder = NativeFolder();
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir) return found;
    Fd probe(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (probe.get() < 0) return found;
    while (const dirent* e = readdir(dir.get())) {
      const std::string_view name = e->d_name;
      const auto handle = HandleOf(name, kEntrySuffix);
      if (!handle) continue;
      const auto text = ReadEntry(dirfd(dir.get()), e->d_name);
      if (!text) continue;  // removed meanwhile, or not an entry
      auto entry = ParseEntry(*text);
      if (!entry || !text::EqualsNoCase(entry->windowClass, windowClass) ||
          !text::EqualsNoCase(entry->title, title)) {
        continue;
      }
      const std::string socketPath = folder + '/' + HandleName(*handle) + kSocketSuffix;
      const Liveness live = Probe(probe.get(), socketPath);
      if (live == Liveness::Dead) {
        unlinkat(dirfd(dir.get()), e->d_name, 0);
        unlink(socketPath.c_str());
        continue;
      }
      if (live == Liveness::Unknown) continue;
      entry->handle = *handle;
      found.push_back(std::move(*entry));
    }
  } catch (...) {
    // No runtime folder: no windows.
  }
  std::sort(found.begin(), found.end(), [](const WindowEntry& a, const WindowEntry& b) {
    return a.order != b.order ? a.order < b.order : a.handle < b.handle;
  });
  return found;
}

bool Post(WindowHandle handle, const WindowMessage& message) {
  const auto datagram = EncodeMessage(message);
  if (!datagram || datagram->size() > kMaxMessageSize) return false;
  try {
    sockaddr_un address;
    if (!MakeAddress(NativeFolder() + '/' + HandleName(handle) + kSocketSuffix, address))
      return false;
    Fd fd(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) return false;
    const ssize_t n =
        sendto(fd.get(), datagram->data(), datagram->size(), MSG_DONTWAIT | MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return n == static_cast<ssize_t>(datagram->size());
  } catch (...) {
    return false;
  }
}

RegisteredWindow::RegisteredWindow(std::string windowClass, std::string title,
                                   std::vector<ChildButton> buttons) {
  entry_.pid = static_cast<int32_t>(getpid());
  entry_.windowClass = std::move(windowClass);
  entry_.title = std::move(title);
  entry_.buttons = std::move(buttons);
  if (!IsValidEntry(entry_)) {
    RaiseError(
        kInvalidArgument, kSource,
        "A window needs a class without spaces and a title and button captions without "
        "control characters, each at most 255 bytes, and at most 16 buttons in 4,000 bytes.");
  }
  const std::string nativeFolder = fs::NativePath(DirectoryPath());

  Fd fd(socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (fd.get() < 0) RaiseSystem("Can't make a window socket", errno);
  const int on = 1;
  if (setsockopt(fd.get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0) {
    RaiseSystem("Can't ask for sender credentials on a window socket", errno);
  }
  // A handle is taken by binding its socket: bind refuses a path that exists,
  // also the socket of a dead window that Find has not removed yet.
  for (int attempt = 0;; ++attempt) {
    const WindowHandle handle = RandomHandle();
    const std::string path = nativeFolder + '/' + HandleName(handle) + kSocketSuffix;
    sockaddr_un address;
    if (!MakeAddress(path, address)) {
      RaiseError(kPathFileAccess, kSource,
                 "The window socket's path is too long for a Unix socket address (" +
                     std::to_string(path.size()) + " bytes, at most " +
                     std::to_string(sizeof address.sun_path - 1) + "): " + path);
    }
    if (bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      entry_.handle = handle;
      socketPath_ = path;
      break;
    }
    if (errno != EADDRINUSE || attempt >= 32)
      RaiseSystem("Can't bind the window socket " + path, errno);
  }
  fd_ = fd.release();
  entry_.order = MonotonicNanoseconds();
  entryPath_ = nativeFolder + '/' + HandleName(entry_.handle) + kEntrySuffix;
  try {
    WriteEntry();
  } catch (...) {
    close(fd_);
    unlink(socketPath_.c_str());
    throw;
  }
}

RegisteredWindow::~RegisteredWindow() {
  // The entry goes first, so nobody finds a window whose socket is closing.
  unlink(entryPath_.c_str());
  close(fd_);
  unlink(socketPath_.c_str());
}

void RegisteredWindow::WriteEntry() const {
  const std::string temp = entryPath_ + ".new-" + HandleName(RandomHandle());
  if (symlink(FormatEntry(entry_).c_str(), temp.c_str()) != 0) {
    RaiseSystem("Can't write the window entry " + temp, errno);
  }
  if (rename(temp.c_str(), entryPath_.c_str()) != 0) {
    const int err = errno;
    unlink(temp.c_str());
    RaiseSystem("Can't write the window entry " + entryPath_, err);
  }
}

void RegisteredWindow::SetTitle(std::string title) {
  if (!IsWindowText(title, true)) {
    RaiseError(kInvalidArgument, kSource,
               "A window title has at most 255 bytes and no control characters.");
  }
  std::swap(entry_.title, title);
  try {
    WriteEntry();
  } catch (...) {
    std::swap(entry_.title, title);
    throw;
  }
}

std::size_t RegisteredWindow::HandlePending(
    const std::function<void(const WindowMessage&)>& handler) {
  std::size_t handled = 0;
  for (;;) {
    char buffer[kMaxMessageSize + 1];
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
    iovec iov{buffer, sizeof buffer};
    msghdr header{};
    header.msg_iov = &iov;
    header.msg_iovlen = 1;
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    const ssize_t n = recvmsg(fd_, &header, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;  // EAGAIN: nothing more waits
    }
    const auto size = static_cast<std::size_t>(n);
    if ((header.msg_flags & MSG_TRUNC) != 0 || size > kMaxMessageSize) {
      LogDropped("longer than " + std::to_string(kMaxMessageSize) + " bytes", size);
      continue;
    }
    const ucred* sender = nullptr;
    if ((header.msg_flags & MSG_CTRUNC) == 0) {
      for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS &&
            c->cmsg_len == CMSG_LEN(sizeof(ucred))) {
          sender = reinterpret_cast<const ucred*>(CMSG_DATA(c));
        }
      }
    }
    if (sender == nullptr || sender->uid != geteuid()) {
      LogDropped(sender == nullptr ? "no sender credentials"
                                   : "sent by user " + std::to_string(sender->uid),
                 size);
      continue;
    }
    auto message = DecodeMessage(std::string_view(buffer, size));
    if (!message) {
      LogDropped("not a window message", size);
      continue;
    }
    if (message->kind == WindowMessage::Kind::Click) {
      // The handler sees the button as the window registered it.
      const ChildButton* button = ButtonOf(entry_, *message);
      if (button == nullptr) {
        LogDropped("a click on a button the window does not have", size);
        continue;
      }
      message->childClass = button->windowClass;
      message->caption = button->caption;
    }
    handler(*message);
    ++handled;
  }
  return handled;
}

}  // namespace brevora::windows
