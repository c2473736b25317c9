#pragma once
// RecordingHost: a ReceiverHost for tests of the slide-show control and the
// serial worker. It logs every call as a line ("ShowMainWindow",
// "HideMainWindow", "Message(<text>)", "Ask(<text>)", "ChooseFile(<initial>)")
// and answers questions and file choices from scripted queues (then with the
// answer that changes nothing, and no file). Safe to call from the worker while
// the test waits.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "remote/receiver_host.h"

namespace brevora::remote::testing {

class RecordingHost : public ReceiverHost {
 public:
  void ShowMainWindow() override;
  void HideMainWindow() override;
  void ShowMessage(std::string_view text) override;
  services::MsgResult Ask(std::string_view text, services::MsgButtons buttons) override;
  std::optional<std::string> ChooseFile(std::string_view initialName) override;

  void Answer(services::MsgResult answer);
  void ChooseNext(std::optional<std::string> file);
  std::vector<std::string> Calls() const;
  // Waits until a call line equal to `line` was logged; false after `timeout`.
  bool WaitFor(const std::string& line, std::chrono::milliseconds timeout) const;

 private:
  void Record(std::string line);

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> calls_;
  std::deque<services::MsgResult> answers_;
  std::deque<std::optional<std::string>> files_;
};

}  // namespace brevora::remote::testing
