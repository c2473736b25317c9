#include "platform/services/help.h"

#include <cstdio>

#include "platform/fs/paths.h"
#include "platform/services/service_slot.h"
#include "platform/services/session_display.h"
#include "platform/services/spawn.h"

namespace brevora::services {
namespace {

ServiceSlot<HelpViewer, XdgOpenHelpViewer>& Slot() {
  static ServiceSlot<HelpViewer, XdgOpenHelpViewer> slot;
  return slot;
}

}  // namespace

void XdgOpenHelpViewer::Show(const HelpRequest& request) {
  const std::string file = fs::NativePath(request.file);
  if (!SessionHasDisplay()) {
    std::fprintf(stderr, "help: %s (command %u, data %u)\n", file.c_str(), request.command,
                 request.data);
    return;
  }
  if (!SpawnDetached({opener_, file})) {
    std::fprintf(stderr, "help: could not start %s for %s\n", opener_.c_str(), file.c_str());
  }
}

void RecordingHelpViewer::Show(const HelpRequest& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(request);
}

std::vector<HelpRequest> RecordingHelpViewer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::shared_ptr<HelpViewer> CurrentHelpViewer() { return Slot().Get(); }

std::shared_ptr<HelpViewer> InstallHelpViewer(std::shared_ptr<HelpViewer> viewer) {
  return Slot().Install(std::move(viewer));
}

void ShowHelp(const HelpRequest& request) { CurrentHelpViewer()->Show(request); }

}  // namespace brevora::services
