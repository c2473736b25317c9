#include "phonesync/run_and_wait.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace brevora::bvsync {
namespace {

// The two spawn records, destroyed on every path.
class SpawnSetup {
 public:
  SpawnSetup()
      : actionsMade_(posix_spawn_file_actions_init(&actions_) == 0),
        attributesMade_(posix_spawnattr_init(&attributes_) == 0) {}
  ~SpawnSetup() {
    if (attributesMade_) posix_spawnattr_destroy(&attributes_);
    if (actionsMade_) posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  // The working folder, a clean signal mask, default dispositions (a host
  // that ignores SIGPIPE or SIGINT does not pass that on).
  bool Prepare(const std::string& folder) {
    if (!actionsMade_ || !attributesMade_) return false;
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    return posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str()) == 0 &&
           posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
           posix_spawnattr_setsigdefault(&attributes_, &all) == 0 &&
           posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  }

  const posix_spawn_file_actions_t* actions() const { return &actions_; }
  const posix_spawnattr_t* attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
  bool actionsMade_;
  bool attributesMade_;
};

}  // namespace

ProcessEnd RunAndWait(const std::vector<std::string>& arguments, const std::string& folder) {
  ProcessEnd end;
  if (arguments.empty() || arguments.front().empty()) return end;
  SpawnSetup setup;
  if (!setup.Prepare(folder)) return end;
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], setup.actions(), setup.attributes(), argv.data(), environ) != 0) {
    return end;
  }
  end.started = true;
  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  if (waited != pid) return end;  // its end is unknown: not a success
  if (WIFEXITED(status)) {
    end.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    end.signal = WTERMSIG(status);
  }
  return end;
}

}  // namespace brevora::bvsync
