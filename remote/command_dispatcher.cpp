#include "remote/command_dispatcher.h"

#include <algorithm>

#include "platform/error/error.h"
#include "platform/services/event_log.h"
#include "remote/keystrokes.h"

namespace brevora::remote {
namespace {

// Runs one slide-show call; an error of it is logged and `failed` returned.
template <class F, class R>
R Guarded(uint16_t command, R failed, F&& call) {
  try {
    return call();
  } catch (...) {
    const AutomationError error = CurrentError();
    services::WriteToEventLog("VantaPC: command " + std::to_string(command) + ": error " +
                              std::to_string(error.number()) +
                              (error.source().empty() ? "" : " (" + error.source() + ")") + ": " +
                              error.description());
    return failed;
  }
}

}  // namespace

CommandDispatcher::CommandDispatcher(SlideShowControl& show, input::InputSink& input,
                                     uint32_t versionWord)
    : show_(show), input_(input), versionWord_(versionWord) {}

void CommandDispatcher::ResetProtocolState() {
  opened_ = false;
  name_.clear();
  mode_ = 0;
  lastSlide_ = 0;
  timeMark_ = 0;
  timeMarkAt_ = {};
}

void CommandDispatcher::RefuseCommand(uint16_t command, ReturnPacket& reply) {
  reply.Start(command);
  reply.SetStatus(Status::kRefused);
}

bool CommandDispatcher::DispatchCommand(uint16_t command, std::span<const uint8_t> payload,
                                        ReturnPacket& reply) {
  reply.Start(command);
  switch (command) {
    case kCommandHello:
      reply.AppendU16(0);
      reply.AppendU16(kHelloValue67);
      reply.AppendU16(0);
      reply.AppendU32(versionWord_);
      reply.AppendU32(kHelloValue80);
      return true;
    case kCommandOpenShow:
      OpenShow(payload, reply);
      return true;
    case kCommandGotoSlide:
      GotoSlide(payload, reply);
      return true;
    case kCommandEndShow:
      EndShow(reply);
      return true;
    case kCommandPresentationName:
      NameOfPresentation(reply);
      return true;
    case kCommandTimeMark:
      StoreTimeMark(payload, reply);
      return true;
    case kCommandKeystrokes:
      InjectKeystrokes(input_, payload);
      return ReportSlide(command, reply);
    case kCommandMouse:
      if (payload.size() < kMouseSize) break;
      InjectMouse(input_, ReadU16LE(&payload[0]), ReadU16LE(&payload[2]), ReadU16LE(&payload[4]));
      return ReportSlide(command, reply);
    case kCommandData17:
      return false;
    default:  // 3, 7, 8, 16, 0x1000 and every unknown command
      break;
  }
  reply.SetStatus(Status::kRefused);
  return true;
}

void CommandDispatcher::OpenShow(std::span<const uint8_t> payload, ReturnPacket& reply) {
  if (payload.size() < kOpenShowFieldsSize) {
    reply.SetStatus(Status::kRefused);
    return;
  }
  if (ReadU16BE(&payload[0]) != kOpenShowFormat) {
    opened_ = false;
    reply.SetStatus(Status::kRefused);
    return;
  }
  const std::span<const uint8_t> field = payload.subspan(kOpenShowFieldsSize);
  const auto nul = std::find(field.begin(), field.end(), uint8_t{0});
  if (nul == field.end() || static_cast<size_t>(nul - field.begin()) > kMaxPresentationName) {
    reply.SetStatus(Status::kRefused);
    return;
  }
  name_.assign(field.begin(), nul);
  opened_ = true;  // from here on, even when the show does not start
  const bool started =
      Guarded(kCommandOpenShow, false, [&] { return show_.OpenPresentationShow(name_); });
  reply.SetStatus(started ? Status::kDone : Status::kNoPresentation);
}

void CommandDispatcher::GotoSlide(std::span<const uint8_t> payload, ReturnPacket& reply) {
  if (payload.size() < kGotoSlideSize) {
    reply.SetStatus(Status::kRefused);
    return;
  }
  if (!opened_) {
    reply.SetStatus(Status::kNoPresentation);
    return;
  }
  const uint32_t target = ReadU32BE(&payload[0]);
  mode_ = ReadU32BE(&payload[4]);
  const bool done =
      Guarded(kCommandGotoSlide, false, [&] { return show_.GotoShowSlide(target, mode_); });
  if (done) lastSlide_ = target;
  reply.SetStatus(done ? Status::kDone : Status::kNoPresentation);
}

void CommandDispatcher::EndShow(ReturnPacket& reply) {
  Guarded(kCommandEndShow, 0, [&] {
    show_.EndPowerPointSession();
    return 0;
  });
  reply.SetStatus(Status::kDone);
}

void CommandDispatcher::NameOfPresentation(ReturnPacket& reply) {
  if (!opened_) {
    reply.SetStatus(Status::kNoPresentation);
    return;
  }
  // The name was limited when it came, so it always fits with its NUL.
  reply.AppendU16(1);
  reply.AppendBytes({reinterpret_cast<const uint8_t*>(name_.data()), name_.size()});
  const uint8_t nul = 0;
  reply.AppendBytes({&nul, 1});
}

void CommandDispatcher::StoreTimeMark(std::span<const uint8_t> payload, ReturnPacket& reply) {
  if (!opened_) {
    reply.SetStatus(Status::kNoPresentation);
    return;
  }
  if (payload.size() != kTimeMarkSize) {
    reply.SetStatus(Status::kRefused);
    return;
  }
  timeMark_ = ReadU16BE(&payload[0]);
  timeMarkAt_ = std::chrono::steady_clock::now();
}

bool CommandDispatcher::ReportSlide(uint16_t command, ReturnPacket& reply) {
  if (!opened_) return false;
  const uint32_t current =
      Guarded(command, uint32_t{0}, [&] { return show_.GetCurrentShowSlide(mode_); });
  if (current == 0) return false;
  if (current == lastSlide_) return true;
  reply.AppendU16(kSlideReportMarker);
  reply.AppendU32(current);
  reply.AppendU32(mode_);
  reply.AppendU16(0);
  reply.AppendU16(0);
  lastSlide_ = current;
  return true;
}

}  // namespace brevora::remote
