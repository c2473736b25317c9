#pragma once
// CommandDispatcher: carries out one complete remote-control command and builds
// its reply (layouts in packet_format.h). It holds the protocol's own state:
// whether a presentation counts as opened (a command 2 of format 1 came), its
// name, the addressing mode of the last command 4, the last slide reached or
// reported, and the time mark of command 9.
//
// Every field is read within the payload it was given: a payload too short for
// its command's fields, or a command 2 whose name has no NUL or is longer than a
// reply can echo, is answered with status 1 and changes nothing. An automation
// error of the slide show is caught here, per command: one event-log line, and
// the answer for a failed operation (status 2 for commands 2 and 4, the answer
// for a show that is gone otherwise); the worker goes on.
#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "platform/input/input_events.h"
#include "remote/return_packet.h"
#include "remote/slide_show_control.h"

namespace brevora::remote {

class CommandDispatcher {
 public:
  // `show` and `input` must outlive the dispatcher; `versionWord` goes in the hello reply.
  CommandDispatcher(SlideShowControl& show, input::InputSink& input, uint32_t versionWord);

  // Forgets the opened presentation and the slide state.
  void ResetProtocolState();

  // Carries out `command` (for a data command, `payload` is its sub-header)
  // and fills `reply`; true when the reply is to be sent.
  bool DispatchCommand(uint16_t command, std::span<const uint8_t> payload, ReturnPacket& reply);
  // The reply to a command refused before it was complete (a short command too
  // long for the receive buffer, a data command shorter than its sub-header).
  void RefuseCommand(uint16_t command, ReturnPacket& reply);

  bool PresentationOpened() const { return opened_; }
  const std::string& PresentationName() const { return name_; }
  uint16_t TimeMark() const { return timeMark_; }

 private:
  void OpenShow(std::span<const uint8_t> payload, ReturnPacket& reply);
  void GotoSlide(std::span<const uint8_t> payload, ReturnPacket& reply);
  void EndShow(ReturnPacket& reply);
  void NameOfPresentation(ReturnPacket& reply);
  void StoreTimeMark(std::span<const uint8_t> payload, ReturnPacket& reply);
  // The reply after commands 18 and 19: the current slide when it changed.
  bool ReportSlide(uint16_t command, ReturnPacket& reply);

  SlideShowControl& show_;
  input::InputSink& input_;
  uint32_t versionWord_;

  bool opened_ = false;
  std::string name_;
  uint32_t mode_ = 0;
  uint32_t lastSlide_ = 0;
  uint16_t timeMark_ = 0;
  std::chrono::steady_clock::time_point timeMarkAt_{};
};

}  // namespace brevora::remote
