#include "remote/testing/recording_host.h"

#include <algorithm>

namespace brevora::remote::testing {

void RecordingHost::Record(std::string line) {
  {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(line));
  }
  changed_.notify_all();
}

void RecordingHost::ShowMainWindow() { Record("ShowMainWindow"); }
void RecordingHost::HideMainWindow() { Record("HideMainWindow"); }
void RecordingHost::ShowMessage(std::string_view text) {
  Record("Message(" + std::string(text) + ")");
}

services::MsgResult RecordingHost::Ask(std::string_view text, services::MsgButtons buttons) {
  Record("Ask(" + std::string(text) + ")");
  std::lock_guard lock(mutex_);
  if (answers_.empty()) return services::SafeAnswer(buttons);
  const services::MsgResult answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> RecordingHost::ChooseFile(std::string_view initialName) {
  Record("ChooseFile(" + std::string(initialName) + ")");
  std::lock_guard lock(mutex_);
  if (files_.empty()) return std::nullopt;
  std::optional<std::string> file = files_.front();
  files_.pop_front();
  return file;
}

void RecordingHost::Answer(services::MsgResult answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

void RecordingHost::ChooseNext(std::optional<std::string> file) {
  std::lock_guard lock(mutex_);
  files_.push_back(std::move(file));
}

std::vector<std::string> RecordingHost::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

bool RecordingHost::WaitFor(const std::string& line, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(
      lock, timeout, [&] { return std::find(calls_.begin(), calls_.end(), line) != calls_.end(); });
}

}  // namespace brevora::remote::testing
