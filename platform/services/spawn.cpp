#include "platform/services/spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace brevora::services {
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

  // False when a record could not be made or filled.
  bool Prepare(const SpawnOptions& options) {
    if (!actionsMade_ || !attributesMade_) return false;
    const int outFlags = O_WRONLY | O_CREAT | O_TRUNC;
    const StandardStreams& s = options.streams;
    if ((!s.in.empty() &&
         posix_spawn_file_actions_addopen(&actions_, 0, s.in.c_str(), O_RDONLY, 0) != 0) ||
        (!s.out.empty() &&
         posix_spawn_file_actions_addopen(&actions_, 1, s.out.c_str(), outFlags, 0600) != 0) ||
        (!s.err.empty() &&
         posix_spawn_file_actions_addopen(&actions_, 2, s.err.c_str(), outFlags, 0600) != 0) ||
        (!options.folder.empty() &&
         posix_spawn_file_actions_addchdir_np(&actions_, options.folder.c_str()) != 0)) {
      return false;
    }
    if (!options.resetSignals) return true;
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    return posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
           posix_spawnattr_setsigdefault(&attributes_, &all) == 0 &&
           posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) ==
               0;
  }

  const posix_spawn_file_actions_t* actions() const { return &actions_; }
  const posix_spawnattr_t* attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
  bool actionsMade_;
  bool attributesMade_;
};

// The end of a program that ran but whose exit status is not known.
ProcessEnd UnknownEnd() { return {.started = true}; }

}  // namespace

Process::Process(const std::vector<std::string>& arguments, const SpawnOptions& options) {
  end_ = ProcessEnd{};  // not started until it is
  if (arguments.empty() || arguments.front().empty()) return;
  SpawnSetup setup;
  if (!setup.Prepare(options)) return;
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  // glibc reports a failed exec or file action as the call's own result.
  if (posix_spawnp(&pid, argv[0], setup.actions(), setup.attributes(), argv.data(), environ) != 0)
    return;
  started_ = true;
  pid_ = pid;
  end_.reset();
}

Process::~Process() {
  if (end_) return;
  Signal(SIGKILL);
  Wait();
}

void Process::Signal(int signal) {
  if (!end_) kill(pid_, signal);
}

void Process::Reap(int waitFlags) {
  int waitStatus = 0;
  const pid_t done = waitpid(pid_, &waitStatus, waitFlags);
  if (done == pid_) {
    ProcessEnd end = UnknownEnd();
    if (WIFEXITED(waitStatus)) {
      end.exitCode = WEXITSTATUS(waitStatus);
    } else if (WIFSIGNALED(waitStatus)) {
      end.signal = WTERMSIG(waitStatus);
    }
    end_ = end;
    pid_ = -1;
  } else if (done < 0 && errno != EINTR) {
    end_ = UnknownEnd();
    pid_ = -1;
  }
}

ProcessEnd Process::Wait() {
  while (!end_) Reap(0);
  return *end_;
}

std::optional<ProcessEnd> Process::Poll() {
  if (!end_) Reap(WNOHANG);
  return end_;
}

void Process::Detach() {
  if (end_) return;
  // The program may run as long as it likes; reap it without blocking anyone.
  try {
    std::thread([pid = pid_] {
      int waitStatus = 0;
      while (waitpid(pid, &waitStatus, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (...) {
    // No thread to be had: it stays unreaped when it ends, but it runs.
  }
  end_ = UnknownEnd();
  pid_ = -1;
}

ProcessEnd RunAndWait(const std::vector<std::string>& arguments, const SpawnOptions& options) {
  return Process(arguments, options).Wait();
}

bool SpawnDetached(const std::vector<std::string>& arguments, const SpawnOptions& options) {
  Process process(arguments, options);
  process.Detach();
  return process.Started();
}

}  // namespace brevora::services
