#pragma once
// The words one receiver instance sends another over the instance socket: a
// second start hands its command line to the running instance ("start",
// "stop" or "show", one line) and the running one answers "ok". A reader takes
// at most kMaxInstanceLine bytes before the line end; anything longer, or any
// other word, is refused.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "remote/receiver_settings.h"

namespace brevora::remote {

inline constexpr size_t kMaxInstanceLine = 16;

// "start", "stop" or "show".
std::string_view InstanceWord(StartupAction action);

// Collects the bytes of one line as they arrive.
class InstanceMessageReader {
 public:
  enum class State { kWaiting, kDone, kRefused };
  // Takes the next bytes; the state says whether the line is complete.
  State Feed(std::string_view bytes);
  // The command of a complete line.
  std::optional<StartupAction> Command() const;

 private:
  std::string line_;
  State state_ = State::kWaiting;
};

}  // namespace brevora::remote
