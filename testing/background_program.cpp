#include "testing/background_program.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace brevora::testing {

BackgroundProgram::BackgroundProgram(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, pointers.data(), environ) == 0) pid_ = pid;
}

BackgroundProgram::~BackgroundProgram() {
  if (Running()) {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
}

bool BackgroundProgram::Running() {
  if (pid_ <= 0 || status_ != -1) return false;
  int status = 0;
  const pid_t done = ::waitpid(pid_, &status, WNOHANG);
  if (done == 0) return true;
  status_ = done == pid_ && WIFEXITED(status) ? WEXITSTATUS(status) : -2;
  return false;
}

int BackgroundProgram::Wait(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (Running()) {
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return status_ >= 0 ? status_ : -1;
}

}  // namespace brevora::testing
