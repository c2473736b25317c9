#include "platform/services/spawn_detached.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <thread>

extern char** environ;

namespace brevora::services {

bool SpawnDetached(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> owned;
  owned.reserve(arguments.size() + 1);
  owned.push_back(program);
  owned.insert(owned.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : owned) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
  // The opener may stay as long as its viewer does; reap it without blocking the caller.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

bool SessionHasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

}  // namespace brevora::services
