#include "remote/serial_worker.h"

#include <chrono>
#include <system_error>

#include "platform/error/error.h"
#include "platform/services/event_log.h"
#include "remote/command_dispatcher.h"
#include "remote/packet_parser.h"
#include "remote/packet_receiver.h"
#include "remote/receiver_strings.h"

namespace brevora::remote {
namespace {

constexpr auto kIdleSleep = std::chrono::milliseconds(10);

class PortReplies : public ReplyPort {
 public:
  explicit PortReplies(serial::SerialPort& port) : port_(port) {}
  bool Write(std::span<const uint8_t> bytes) override { return port_.Write(bytes); }

 private:
  serial::SerialPort& port_;
};

// Marks the worker ended when its thread function leaves, on every path.
class EndMark {
 public:
  explicit EndMark(std::shared_ptr<std::atomic<bool>> ended) : ended_(std::move(ended)) {}
  ~EndMark() { ended_->store(true); }
  EndMark(const EndMark&) = delete;
  EndMark& operator=(const EndMark&) = delete;

 private:
  std::shared_ptr<std::atomic<bool>> ended_;
};

}  // namespace

SerialWorker::SerialWorker(ReceiverHost& host, input::InputSink& input, uint32_t versionWord)
    : host_(host), input_(input), versionWord_(versionWord), session_(host) {}

SerialWorker::~SerialWorker() { Stop(); }

bool SerialWorker::IsRunning() const { return thread_.joinable() && ended_ && !ended_->load(); }

bool SerialWorker::Start(std::string port) {
  if (IsRunning()) return false;
  if (thread_.joinable()) thread_.join();  // one that ended by itself
  session_.ResetPowerPointState(std::string());
  ended_ = std::make_shared<std::atomic<bool>>(false);
  thread_ = std::jthread([this, ended = ended_, port = std::move(port)](std::stop_token stop) {
    EndMark mark(ended);
    Run(stop, port);
  });
  return true;
}

void SerialWorker::Stop() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}

void SerialWorker::Run(std::stop_token stop, std::string portName) {
  serial::SerialPort port;
  std::error_code error;
  if (!port.Open(portName, error)) {
    host_.ShowMainWindow();
    host_.ShowMessage(kMsgOpenPortFailed);
    return;
  }
  if (!port.Configure(timeouts_, error)) {
    port.Close();
    host_.ShowMessage(kMsgPortTimeoutsFailed);
    return;
  }
  host_.HideMainWindow();
  try {
    Serve(stop, port);
  } catch (...) {
    const AutomationError e = CurrentError();
    services::WriteToEventLog("VantaPC: the serial worker stopped: " + e.description());
  }
  port.Close();
  session_.EndPowerPointSession();
}

void SerialWorker::Serve(std::stop_token stop, serial::SerialPort& port) {
  CommandDispatcher dispatcher(session_, input_, versionWord_);
  PacketParser parser(dispatcher);
  PortReplies replies(port);
  parser.ResetProtocolState(&replies);
  PacketReceiver receiver(parser);
  while (!stop.stop_requested()) {
    const size_t n = port.Read(receiver.FreeSpace());
    if (n > 0) {
      receiver.Received(n);
    } else {
      std::this_thread::sleep_for(kIdleSleep);
      receiver.Idle();
    }
  }
}

}  // namespace brevora::remote
