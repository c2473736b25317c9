#include "platform/serial/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace brevora::serial {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  char name[256] = {};
  termios raw{};
  ::cfmakeraw(&raw);
  if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
    throw std::system_error(errno, std::generic_category(), "openpty");
  }
  slavePath_ = name;
  ::fcntl(master_, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

bool PseudoTerminal::WriteMaster(std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      pollfd p{master_, POLLOUT, 0};
      ::poll(&p, 1, 100);
    } else {
      return false;
    }
  }
  return true;
}

std::vector<uint8_t> PseudoTerminal::ReadMaster(size_t count, std::chrono::milliseconds timeout) {
  std::vector<uint8_t> out;
  const Clock::time_point deadline = Clock::now() + timeout;
  uint8_t chunk[4096];
  while (out.size() < count) {
    pollfd p{master_, POLLIN, 0};
    const int ready = ::poll(&p, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    const size_t want = std::min(count - out.size(), sizeof chunk);
    const ssize_t n = ::read(master_, chunk, want);
    if (n > 0) {
      out.insert(out.end(), chunk, chunk + n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      continue;
    } else {
      break;
    }
  }
  return out;
}

std::vector<uint8_t> PseudoTerminal::ReadMasterUntilQuiet(std::chrono::milliseconds quiet) {
  std::vector<uint8_t> out;
  uint8_t chunk[4096];
  for (;;) {
    pollfd p{master_, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(quiet.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    const ssize_t n = ::read(master_, chunk, sizeof chunk);
    if (n > 0) {
      out.insert(out.end(), chunk, chunk + n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      continue;
    } else {
      break;
    }
  }
  return out;
}

}  // namespace brevora::serial
