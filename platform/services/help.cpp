#include "platform/services/help.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/fs/paths.h"
#include "platform/services/service_slot.h"

extern char** environ;

namespace brevora::services {
namespace {

ServiceSlot<HelpViewer, XdgOpenHelpViewer>& Slot() {
  static ServiceSlot<HelpViewer, XdgOpenHelpViewer> slot;
  return slot;
}

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

}  // namespace

void XdgOpenHelpViewer::Show(const HelpRequest& request) {
  const std::string file = fs::NativePath(request.file);
  if (!HasDisplay()) {
    std::fprintf(stderr, "help: %s (command %u, data %u)\n", file.c_str(), request.command, request.data);
    return;
  }
  std::string program = opener_;
  std::string argument = file;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "help: could not start %s for %s\n", program.c_str(), file.c_str());
    return;
  }
  // The opener may stay as long as its viewer does; reap it without blocking the caller.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
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
