// A program for the spawn tests. Each run writes a report (whole, through a
// rename) to the file named by SPAWN_PROBE_REPORT: its working folder, its
// pid, "fresh" or "inherited" (an empty signal mask with SIGPIPE and SIGINT at
// their defaults, or not), then its arguments (program name included), each
// field ended by a NUL. Then it does what its first argument says:
//   a number   exit with that code
//   kill       end by SIGKILL
//   wait       wait for a signal
//   echo       copy standard input to standard output, write "err" to
//              standard error, exit 0
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

bool FreshSignals() {
  sigset_t mask;
  if (sigprocmask(SIG_SETMASK, nullptr, &mask) != 0) return false;
  for (int s = 1; s < NSIG; ++s) {
    if (sigismember(&mask, s) == 1) return false;
  }
  for (const int s : {SIGPIPE, SIGINT}) {
    struct sigaction action {};
    if (sigaction(s, nullptr, &action) != 0 || action.sa_handler != SIG_DFL) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const char* report = std::getenv("SPAWN_PROBE_REPORT");
  if (report == nullptr) return 100;
  std::string record;
  char folder[4096];
  record += getcwd(folder, sizeof folder) != nullptr ? folder : "?";
  record += '\0';
  record += std::to_string(getpid()) + '\0';
  record += std::string(FreshSignals() ? "fresh" : "inherited") + '\0';
  for (int i = 0; i < argc; ++i) {
    record += argv[i];
    record += '\0';
  }
  {
    // Written whole under another name and renamed, so a reader never sees half.
    const std::string temp = std::string(report) + ".part";
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << record;
    if (!out.flush() || std::rename(temp.c_str(), report) != 0) return 101;
  }

  const std::string action = argc > 1 ? argv[1] : "0";
  if (action == "kill") {
    kill(getpid(), SIGKILL);
    return 102;
  }
  if (action == "wait") {
    for (;;) pause();
  }
  if (action == "echo") {
    std::cout << std::cin.rdbuf();
    std::cerr << "err";
    return 0;
  }
  return std::atoi(action.c_str());
}
