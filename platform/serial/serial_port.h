#pragma once
// SerialPort: one open serial line (a Bluetooth RFCOMM port, a USB or built-in
// serial line, a pseudo-terminal in tests), owned for its lifetime and closed on
// every path by its destructor.
//
// Open takes a device that exists (it never creates a file), exclusively: an
// flock that holds against every other opener, root included, and TIOCEXCL for
// programs that only know that one. It never becomes the controlling terminal.
// Configure puts the line in raw mode and fixes the time-outs: Read hands back
// the bytes as they come and waits up to the read time-out only when none are
// there; Write gives up after the write time-out. A line that hung up reads as
// "nothing came" after the read time-out, so a reader's loop keeps its pace.
// Paths are system paths (code page), converted at the edge.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <system_error>

namespace brevora::serial {

struct Timeouts {
  std::chrono::milliseconds read{500};    // wait for the first byte of a read
  std::chrono::milliseconds write{1000};  // for a whole write
};

class SerialPort {
 public:
  SerialPort() = default;
  ~SerialPort();
  SerialPort(SerialPort&& other) noexcept;
  SerialPort& operator=(SerialPort&& other) noexcept;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens `path` for reading and writing. On failure the port stays closed and
  // `error` says why (no such device, busy, permission).
  bool Open(std::string_view path, std::error_code& error);
  // Raw mode (8 bits, no echo, no line editing, no flow control, the speed kept)
  // and the time-outs. Fails on something that is not a terminal line.
  bool Configure(const Timeouts& timeouts, std::error_code& error);
  // Reads at most into.size() bytes: what is there at once, else what comes
  // within the read time-out; 0 when nothing came.
  size_t Read(std::span<uint8_t> into);
  // Writes all of `bytes` within the write time-out; false when it could not.
  bool Write(std::span<const uint8_t> bytes);
  // Gives up exclusivity and closes; a closed port ignores it.
  void Close() noexcept;

  bool IsOpen() const noexcept { return fd_ >= 0; }
  int NativeHandle() const noexcept { return fd_; }

 private:
  int fd_ = -1;
  Timeouts timeouts_;
};

}  // namespace brevora::serial
