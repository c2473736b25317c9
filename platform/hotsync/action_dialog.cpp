#include "platform/hotsync/action_dialog.h"

#include <cctype>
#include <cstring>

#include "platform/services/service_slot.h"
#include "platform/text/codepage.h"

namespace brevora::hotsync {
namespace {

services::ServiceSlot<ActionDialog, HeadlessActionDialog>& Slot() {
  static services::ServiceSlot<ActionDialog, HeadlessActionDialog> slot;
  return slot;
}

// One line of input without its line end; nullopt at the end of input.
std::optional<std::string> ReadLine(std::FILE* in) {
  std::string line;
  for (int c = std::fgetc(in); c != EOF; c = std::fgetc(in)) {
    if (c == '\n') return line;
    if (line.size() < 256) line.push_back(static_cast<char>(c));
  }
  if (line.empty()) return std::nullopt;
  return line;
}

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

const char* ActionChoiceText(int32_t choice) {
  static constexpr const char* kTexts[kActionChoices] = {
      "Synchronize the files", "Desktop overwrites handheld", "Handheld overwrites Desktop",
      "Do nothing"};
  return choice >= 0 && choice < kActionChoices ? kTexts[choice] : "";
}

bool HeadlessActionDialog::Run(ActionDialogState&) { return false; }

bool ConsoleActionDialog::Run(ActionDialogState& state) {
  std::fprintf(out_, "%s\n", text::CpToUtf8(state.title).c_str());
  for (int32_t i = 0; i < kActionChoices; ++i) {
    std::fprintf(out_, "  %d  %s%s\n", i, ActionChoiceText(i),
                 i == state.choice ? "  (current)" : "");
  }
  int32_t choice = state.choice;
  for (;;) {
    std::fprintf(out_, "Choice [%d], c to cancel: ", state.choice);
    std::fflush(out_);
    const auto line = ReadLine(in_);
    if (!line) return false;
    const std::string answer = Trimmed(*line);
    if (answer == "c" || answer == "C") return false;
    if (answer.empty()) break;
    if (answer.size() == 1 && answer[0] >= '0' && answer[0] < '0' + kActionChoices) {
      choice = answer[0] - '0';
      break;
    }
  }
  std::fprintf(out_, "Make this the default for every HotSync? [y/N]: ");
  std::fflush(out_);
  const auto line = ReadLine(in_);
  if (!line) return false;
  const std::string answer = Trimmed(*line);
  state.choice = choice;
  state.makeDefault = answer == "y" || answer == "Y" || answer == "yes";
  return true;
}

void ScriptedActionDialog::Push(std::optional<Answer> answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(answer);
}

std::vector<ActionDialogState> ScriptedActionDialog::shown() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return shown_;
}

bool ScriptedActionDialog::Run(ActionDialogState& state) {
  std::lock_guard<std::mutex> lock(mutex_);
  shown_.push_back(state);
  if (answers_.empty()) return false;
  const std::optional<Answer> answer = answers_.front();
  answers_.pop_front();
  if (!answer) return false;
  state.choice = answer->choice;
  state.makeDefault = answer->makeDefault;
  return true;
}

std::shared_ptr<ActionDialog> InstallActionDialog(std::shared_ptr<ActionDialog> dialog) {
  return Slot().Install(std::move(dialog));
}

}  // namespace brevora::hotsync

extern "C" int32_t HotSyncActionDialog(const char* title, int32_t* choice, int32_t* makeDefault) {
  using namespace brevora::hotsync;
  if (title == nullptr || choice == nullptr || makeDefault == nullptr) return kActionDialogCancel;
  try {
    ActionDialogState state{title, *choice, *makeDefault != 0};
    if (!Slot().Get()->Run(state)) return kActionDialogCancel;
    if (state.choice < 0 || state.choice >= kActionChoices) return kActionDialogCancel;
    *choice = state.choice;
    *makeDefault = state.makeDefault ? 1 : 0;
    return kActionDialogOk;
  } catch (...) {
    return kActionDialogCancel;
  }
}
