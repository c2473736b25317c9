#pragma once
// SerialWorker: the one thread that serves the handheld on a serial port. Start
// resets the slide-show session and starts the thread; it opens the port
// (failing: the window is shown with "Error opening the port for the incoming
// bluetooth connection"), sets the line up (failing: "Error setting the
// bluetooth port timeouts"), hides the window, then reads and parses until it is
// asked to stop, and at the end closes the port and ends the slide-show session.
// Every path closes the port.
//
// Only one worker runs at a time: Start while one runs does nothing. Stop, and
// the destructor, ask it to stop and wait for it; it notices within one read
// time-out (500 ms) plus 10 ms. The worker has its own stop token, so a worker
// that ended by itself never affects the next one.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "platform/input/input_events.h"
#include "platform/serial/serial_port.h"
#include "remote/powerpoint_session.h"
#include "remote/receiver_host.h"

namespace brevora::remote {

class SerialWorker {
 public:
  // `host` and `input` must outlive the worker; `versionWord` is for the hello reply.
  SerialWorker(ReceiverHost& host, input::InputSink& input, uint32_t versionWord);
  ~SerialWorker();
  SerialWorker(const SerialWorker&) = delete;
  SerialWorker& operator=(const SerialWorker&) = delete;

  // Starts serving `port` (a system path); false, and nothing changes, while a
  // worker runs.
  bool Start(std::string port);
  // Asks a running worker to stop and waits until it has; nothing when none runs.
  void Stop();
  // True from Start until the worker's thread has ended (by Stop or by a failure).
  bool IsRunning() const;

  // The line's time-outs (tests shorten them).
  void SetTimeouts(serial::Timeouts timeouts) { timeouts_ = timeouts; }

 private:
  void Run(std::stop_token stop, std::string port);
  void Serve(std::stop_token stop, serial::SerialPort& port);

  ReceiverHost& host_;
  input::InputSink& input_;
  uint32_t versionWord_;
  serial::Timeouts timeouts_;
  PowerPointSession session_;
  std::jthread thread_;
  std::shared_ptr<std::atomic<bool>> ended_;
};

}  // namespace brevora::remote
