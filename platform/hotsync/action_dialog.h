#pragma once
// The conduit action dialog: where the user picks what the next HotSync does
// with a conduit's data. A conduit sets the title text and the preselected
// choice and reads the chosen one and the make-default box:
//   choice 0 "Synchronize the files", 1 "Desktop overwrites handheld",
//   2 "Handheld overwrites Desktop", 3 "Do nothing";
//   make default ticked: the choice stays for every HotSync, else only the next.
// The installed dialog answers: by default none can be shown and the answer is
// Cancel; the host installs the console dialog when it has a terminal, or a
// scripted one from its command line; tests install scripted ones.
#include <stdint.h>

#include "platform/hotsync/hotsync_api.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { kActionDialogOk = 1, kActionDialogCancel = 2 };

// Runs the dialog. `choice` (0-3) is the preselected choice in and the chosen
// one out, `makeDefault` 0 or 1 likewise; both change only on OK. Returns
// kActionDialogOk or kActionDialogCancel (also for null pointers).
HOTSYNC_API int32_t HotSyncActionDialog(const char* title, int32_t* choice, int32_t* makeDefault);

#ifdef __cplusplus
}  // extern "C"

#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace brevora::hotsync {

inline constexpr int32_t kActionChoices = 4;
// The texts of the four choices.
const char* ActionChoiceText(int32_t choice);

struct ActionDialogState {
  std::string title;   // code page
  int32_t choice = 0;  // 0-3
  bool makeDefault = false;
  bool operator==(const ActionDialogState&) const = default;
};

class ActionDialog {
 public:
  virtual ~ActionDialog() = default;
  // True for OK (with `state` changed to the answer), false for Cancel.
  virtual bool Run(ActionDialogState& state) = 0;
};

// No one to ask: Cancel.
class HeadlessActionDialog : public ActionDialog {
 public:
  bool Run(ActionDialogState& state) override;
};

// Asks on a terminal: shows the title and the choices, reads a choice number
// (Enter keeps the preselected one, "c" or end of input cancels), then whether
// to make it the default (y/N).
class ConsoleActionDialog : public ActionDialog {
 public:
  ConsoleActionDialog(std::FILE* in, std::FILE* out) : in_(in), out_(out) {}
  bool Run(ActionDialogState& state) override;

 private:
  std::FILE* in_;
  std::FILE* out_;
};

// Answers from a queue (an empty answer is Cancel), then Cancel; records what it
// was shown.
class ScriptedActionDialog : public ActionDialog {
 public:
  struct Answer {
    int32_t choice = 0;
    bool makeDefault = false;
  };
  void Push(std::optional<Answer> answer);
  std::vector<ActionDialogState> shown() const;
  bool Run(ActionDialogState& state) override;

 private:
  mutable std::mutex mutex_;
  std::deque<std::optional<Answer>> answers_;
  std::vector<ActionDialogState> shown_;
};

// Installs `dialog` for the process (nullptr: the headless one); returns the previous one.
std::shared_ptr<ActionDialog> InstallActionDialog(std::shared_ptr<ActionDialog> dialog);

}  // namespace brevora::hotsync
#endif
