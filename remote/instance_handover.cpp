#include "remote/instance_handover.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>

#include "platform/fs/paths.h"
#include "remote/instance_message.h"

namespace brevora::remote {
namespace {

using Clock = std::chrono::steady_clock;

std::string RuntimeFile(const char* name) {
  return fs::NativePath(fs::JoinPath(fs::RuntimeDir(), name));
}

// A connected socket's descriptor, closed on every path.
class Socket {
 public:
  Socket() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// Waits until `fd` is ready for `events` or `deadline` passes.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(left.count()));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

bool SendAll(int fd, std::string_view bytes, Clock::time_point deadline) {
  while (!bytes.empty()) {
    if (!WaitFor(fd, POLLOUT, deadline)) return false;
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

InstanceLock::InstanceLock() {
  const std::string path = RuntimeFile("vantapc.lock");
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;  // without a lock file, instances may race; nothing else changes
  while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

InstanceLock::~InstanceLock() { Release(); }

void InstanceLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);  // drops the lock
  fd_ = -1;
}

std::string InstanceSocketPath() { return RuntimeFile("vantapc.socket"); }

Handover HandToRunningInstance(const std::string& socketPath, StartupAction action,
                               std::chrono::milliseconds answerTimeout) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path)
    return Handover::kNoneRunning;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  Socket socket;
  if (socket.fd() < 0) return Handover::kNoneRunning;
  // A listening instance takes the connection at once (its backlog); a socket
  // left behind refuses it. A full backlog is waited for a second at most.
  const timeval connectTimeout{1, 0};
  ::setsockopt(socket.fd(), SOL_SOCKET, SO_SNDTIMEO, &connectTimeout, sizeof connectTimeout);
  int connected;
  do {
    connected = ::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (connected != 0 && errno == EINTR);
  if (connected != 0) {
    // Refused (no listener), or a backlog that stayed full: someone holds it.
    return errno == EAGAIN || errno == EINPROGRESS ? Handover::kNoAnswer : Handover::kNoneRunning;
  }

  const Clock::time_point deadline = Clock::now() + answerTimeout;
  if (!SendAll(socket.fd(), std::string(InstanceWord(action)) + "\n", deadline))
    return Handover::kNoAnswer;
  std::string answer;
  while (answer.find('\n') == std::string::npos && answer.size() < kMaxInstanceLine) {
    if (!WaitFor(socket.fd(), POLLIN, deadline)) return Handover::kNoAnswer;
    char buffer[kMaxInstanceLine];
    const ssize_t n = ::recv(socket.fd(), buffer, kMaxInstanceLine - answer.size(), MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return Handover::kNoAnswer;  // closed before it answered
    answer.append(buffer, static_cast<size_t>(n));
  }
  return answer.starts_with("ok\n") ? Handover::kTaken : Handover::kNoAnswer;
}

}  // namespace brevora::remote
