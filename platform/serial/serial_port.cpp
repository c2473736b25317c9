#include "platform/serial/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <utility>

#include "platform/fs/paths.h"

namespace brevora::serial {
namespace {

using Clock = std::chrono::steady_clock;

std::error_code LastError() { return {errno, std::generic_category()}; }

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

SerialPort::~SerialPort() { Close(); }

SerialPort::SerialPort(SerialPort&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), timeouts_(other.timeouts_) {}

SerialPort& SerialPort::operator=(SerialPort&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    timeouts_ = other.timeouts_;
  }
  return *this;
}

bool SerialPort::Open(std::string_view path, std::error_code& error) {
  Close();
  const std::string native = fs::NativePath(path);
  if (native.empty()) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
    return false;
  }
  // No O_CREAT: only a device (or file) that is there. Non-blocking, so that
  // neither the open (a modem line waiting for carrier) nor a read or write
  // ever blocks past its time-out; poll does the waiting.
  const int fd = ::open(native.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = LastError();
    return false;
  }
  // The flock holds against every other opener, root included (TIOCEXCL does
  // not hold against root).
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error = errno == EWOULDBLOCK ? std::make_error_code(std::errc::device_or_resource_busy)
                                 : LastError();
    ::close(fd);
    return false;
  }
  // Not a terminal: Configure reports it.
  if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
    error = LastError();
    ::close(fd);
    return false;
  }
  fd_ = fd;
  error.clear();
  return true;
}

bool SerialPort::Configure(const Timeouts& timeouts, std::error_code& error) {
  if (fd_ < 0) {
    error = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) {
    error = LastError();
    return false;
  }
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
    error = LastError();
    return false;
  }
  timeouts_ = timeouts;
  error.clear();
  return true;
}

size_t SerialPort::Read(std::span<uint8_t> into) {
  if (fd_ < 0 || into.empty()) return 0;
  const Clock::time_point deadline = Clock::now() + timeouts_.read;
  for (;;) {
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return 0;  // nothing within the time-out
    if (p.revents & POLLIN) {
      const ssize_t n = ::read(fd_, into.data(), into.size());
      if (n > 0) return static_cast<size_t>(n);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) {
        if (MillisecondsLeft(deadline) == 0) return 0;
        continue;
      }
    }
    // Hung up or failed (the other end closed the link): poll would answer at
    // once from now on, so wait out the time-out as if nothing came.
    const int left = MillisecondsLeft(deadline);
    if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
    return 0;
  }
}

bool SerialPort::Write(std::span<const uint8_t> bytes) {
  if (fd_ < 0) return false;
  const Clock::time_point deadline = Clock::now() + timeouts_.write;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    const int left = MillisecondsLeft(deadline);
    if (left == 0) return false;
    pollfd p{fd_, POLLOUT, 0};
    const int ready = ::poll(&p, 1, left);
    if (ready < 0 && errno != EINTR) return false;
    if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return false;
  }
  return true;
}

void SerialPort::Close() noexcept {
  if (fd_ < 0) return;
  // The exclusive mode belongs to the line, not to this descriptor: left set, it
  // would keep refusing opens while anyone else holds the line.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace brevora::serial
