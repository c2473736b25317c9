#pragma once
// Message boxes: how code outside a form tells or asks the user something. The
// installed implementation answers. The default has no display to ask on: it
// writes the message to stderr and gives the answer that changes nothing. The Qt
// front end installs its dialog; tests install a RecordingMessageBox with
// scripted answers.
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace brevora::services {

enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// Visual Basic's answer values.
enum class MsgResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct Message {
  std::string text;   // code page
  std::string title;  // "" for the program's default title
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::None;
  bool operator==(const Message&) const = default;
};

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual MsgResult Show(const Message& message) = 0;
};

// The answer that changes nothing: Ok for an Ok box, Cancel where offered, No for
// Yes/No, Abort for Abort/Retry/Ignore.
MsgResult SafeAnswer(MsgButtons buttons);

// Writes "<title>: <text>" (UTF-8) to stderr and returns SafeAnswer.
class StderrMessageBox : public MessageBox {
 public:
  MsgResult Show(const Message& message) override;
};

// Records every message; answers from the scripted queue, then with SafeAnswer.
class RecordingMessageBox : public MessageBox {
 public:
  MsgResult Show(const Message& message) override;
  void Answer(MsgResult result);
  std::vector<Message> shown() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Message> shown_;
  std::deque<MsgResult> answers_;
};

std::shared_ptr<MessageBox> CurrentMessageBox();
// Installs `box` for the process (nullptr: the default); returns the previous one.
std::shared_ptr<MessageBox> InstallMessageBox(std::shared_ptr<MessageBox> box);
MsgResult ShowMessage(const Message& message);
// The critical message box with its one OK button, titled "Brevora" unless a
// title is given: how the windows and commands report a failure.
void ShowCritical(const std::string& text, const std::string& title = "Brevora");

}  // namespace brevora::services
