#pragma once
// SendToPicker: how the presentation conduit asks the user for a send target.
// The engine's library answers with the send-tool window when a Qt
// application runs and with Cancel when none does; tests script the answer.
#include <string>

namespace brevora::bvsync {

class SendToPicker {
 public:
  virtual ~SendToPicker() = default;
  // Shows the choice modally; the chosen target's full path (a system path),
  // or "" for Cancel or no usable choice.
  virtual std::string Choose() = 0;
};

}  // namespace brevora::bvsync
