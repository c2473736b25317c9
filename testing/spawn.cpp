#include "testing/spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace brevora::testing {

SpawnedProgram::SpawnedProgram(const std::string& program, const std::vector<std::string>& args,
                               const StandardStreams& streams) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!streams.in.empty()) posix_spawn_file_actions_addopen(&actions, 0, streams.in.c_str(), O_RDONLY, 0);
  const int outFlags = O_WRONLY | O_CREAT | O_TRUNC;
  if (!streams.out.empty()) posix_spawn_file_actions_addopen(&actions, 1, streams.out.c_str(), outFlags, 0600);
  if (!streams.err.empty()) posix_spawn_file_actions_addopen(&actions, 2, streams.err.c_str(), outFlags, 0600);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, pointers.data(), environ) == 0) {
    pid_ = pid;
  } else {
    status_ = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
}

SpawnedProgram::~SpawnedProgram() {
  if (status_) return;
  Signal(SIGKILL);
  Wait();
}

void SpawnedProgram::Signal(int signal) {
  if (!status_) kill(pid_, signal);
}

void SpawnedProgram::Reaped(int waitStatus) {
  status_ = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

int SpawnedProgram::Wait() {
  while (!status_) {
    int waitStatus = 0;
    const pid_t done = waitpid(pid_, &waitStatus, 0);
    if (done == pid_) {
      Reaped(waitStatus);
    } else if (done < 0 && errno != EINTR) {
      status_ = -1;
    }
  }
  return *status_;
}

int SpawnedProgram::Wait(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!Poll()) {
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return *status_;
}

std::optional<int> SpawnedProgram::Poll() {
  if (!status_) {
    int waitStatus = 0;
    const pid_t done = waitpid(pid_, &waitStatus, WNOHANG);
    if (done == pid_) {
      Reaped(waitStatus);
    } else if (done < 0 && errno != EINTR) {
      status_ = -1;
    }
  }
  return status_;
}

int SpawnAndWait(const std::string& program, const std::vector<std::string>& args,
                 const StandardStreams& streams) {
  return SpawnedProgram(program, args, streams).Wait();
}

}  // namespace brevora::testing
