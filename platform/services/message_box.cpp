#include "platform/services/message_box.h"

#include <cstdio>

#include "platform/services/service_slot.h"
#include "platform/text/codepage.h"

namespace brevora::services {
namespace {

ServiceSlot<MessageBox, StderrMessageBox>& Slot() {
  static ServiceSlot<MessageBox, StderrMessageBox> slot;
  return slot;
}

}  // namespace

MsgResult SafeAnswer(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
      return MsgResult::Ok;
    case MsgButtons::YesNo:
      return MsgResult::No;
    case MsgButtons::AbortRetryIgnore:
      return MsgResult::Abort;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel:
      return MsgResult::Cancel;
  }
  return MsgResult::Cancel;
}

MsgResult StderrMessageBox::Show(const Message& message) {
  const std::string title = message.title.empty() ? "Brevora" : text::CpToUtf8(message.title);
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text::CpToUtf8(message.text).c_str());
  return SafeAnswer(message.buttons);
}

MsgResult RecordingMessageBox::Show(const Message& message) {
  std::lock_guard<std::mutex> lock(mutex_);
  shown_.push_back(message);
  if (answers_.empty()) return SafeAnswer(message.buttons);
  const MsgResult answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void RecordingMessageBox::Answer(MsgResult result) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(result);
}

std::vector<Message> RecordingMessageBox::shown() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return shown_;
}

std::shared_ptr<MessageBox> CurrentMessageBox() { return Slot().Get(); }

std::shared_ptr<MessageBox> InstallMessageBox(std::shared_ptr<MessageBox> box) {
  return Slot().Install(std::move(box));
}

MsgResult ShowMessage(const Message& message) { return CurrentMessageBox()->Show(message); }

void ShowCritical(const std::string& text, const std::string& title) {
  ShowMessage({text, title, MsgButtons::Ok, MsgIcon::Critical});
}

}  // namespace brevora::services
