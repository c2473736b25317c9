#include "platform/services/file_dialog.h"

#include <cstdio>

#include "platform/services/service_slot.h"
#include "platform/text/codepage.h"

namespace brevora::services {
namespace {

ServiceSlot<FileDialog, NoFileDialog>& Slot() {
  static ServiceSlot<FileDialog, NoFileDialog> slot;
  return slot;
}

}  // namespace

std::optional<std::string> NoFileDialog::Show(const FileRequest& request) {
  std::fprintf(stderr, "No file dialog can be shown here (%s); cancelled.\n",
               text::CpToUtf8(request.title).c_str());
  return std::nullopt;
}

std::optional<std::string> ScriptedFileDialog::Show(const FileRequest& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(request);
  if (answers_.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

void ScriptedFileDialog::Answer(std::optional<std::string> path) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(std::move(path));
}

std::vector<FileRequest> ScriptedFileDialog::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::shared_ptr<FileDialog> CurrentFileDialog() { return Slot().Get(); }

std::shared_ptr<FileDialog> InstallFileDialog(std::shared_ptr<FileDialog> dialog) {
  return Slot().Install(std::move(dialog));
}

std::optional<std::string> ShowFileDialog(const FileRequest& request) {
  return CurrentFileDialog()->Show(request);
}

}  // namespace brevora::services
