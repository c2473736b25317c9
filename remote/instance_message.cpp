#include "remote/instance_message.h"

namespace brevora::remote {

std::string_view InstanceWord(StartupAction action) {
  switch (action) {
    case StartupAction::kStart:
      return "start";
    case StartupAction::kStop:
      return "stop";
    case StartupAction::kShow:
      return "show";
  }
  return "show";
}

InstanceMessageReader::State InstanceMessageReader::Feed(std::string_view bytes) {
  for (char c : bytes) {
    if (state_ != State::kWaiting) break;
    if (c == '\n') {
      state_ = Command() ? State::kDone : State::kRefused;
    } else if (line_.size() >= kMaxInstanceLine) {
      state_ = State::kRefused;
    } else {
      line_.push_back(c);
    }
  }
  return state_;
}

std::optional<StartupAction> InstanceMessageReader::Command() const {
  for (StartupAction a : {StartupAction::kStart, StartupAction::kStop, StartupAction::kShow}) {
    if (line_ == InstanceWord(a)) return a;
  }
  return std::nullopt;
}

}  // namespace brevora::remote
