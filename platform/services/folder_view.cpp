#include "platform/services/folder_view.h"

#include <cstdio>

#include "platform/fs/paths.h"
#include "platform/services/service_slot.h"
#include "platform/services/session_display.h"
#include "platform/services/spawn.h"

namespace brevora::services {
namespace {

ServiceSlot<FolderView, XdgOpenFolderView>& Slot() {
  static ServiceSlot<FolderView, XdgOpenFolderView> slot;
  return slot;
}

}  // namespace

void XdgOpenFolderView::Show(const std::string& folder) {
  const std::string native = fs::NativePath(folder);
  if (!SessionHasDisplay()) {
    std::fprintf(stderr, "folder: %s\n", native.c_str());
    return;
  }
  if (!SpawnDetached({opener_, native})) {
    std::fprintf(stderr, "folder: could not start %s for %s\n", opener_.c_str(), native.c_str());
  }
}

void RecordingFolderView::Show(const std::string& folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  shown_.push_back(folder);
}

std::vector<std::string> RecordingFolderView::shown() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return shown_;
}

std::shared_ptr<FolderView> CurrentFolderView() { return Slot().Get(); }

std::shared_ptr<FolderView> InstallFolderView(std::shared_ptr<FolderView> view) {
  return Slot().Install(std::move(view));
}

void ShowFolder(const std::string& folder) { CurrentFolderView()->Show(folder); }

}  // namespace brevora::services
