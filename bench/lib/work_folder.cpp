#include "bench/lib/work_folder.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace brevora::bench {
namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "benchmark: %s\n", what.c_str());
  std::exit(1);
}

// The watcher: waits until every copy of the pipe's write end is closed, which
// happens when the benchmark has removed the folder itself or has ended in any
// other way, then removes what is left and ends.
[[noreturn]] void Watch(int read_end, const std::string& path) {
  // Ctrl-C reaches the whole process group; the watcher must outlive the benchmark.
  for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) signal(s, SIG_IGN);
  // Hold none of the benchmark's descriptors open (its output, pipes it made,
  // sockets): whoever reads them must see their end when the benchmark ends.
  if (read_end < 3) read_end = fcntl(read_end, F_DUPFD_CLOEXEC, 3);  // 0 to 2 become /dev/null
  const unsigned keep = static_cast<unsigned>(read_end);
  if (keep > 3) close_range(3, keep - 1, 0);
  close_range(keep + 1, ~0u, 0);
  const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null >= 0) {
    for (const int fd : {0, 1, 2}) dup2(null, fd);
    close(null);
  }
  char byte = 0;
  while (read(read_end, &byte, 1) < 0 && errno == EINTR) {
  }
  // A program the benchmark started (and SIGTERM did not reach) may still write
  // there for a moment: retry for up to ten seconds.
  RemoveTree(path, 100);
  _exit(0);
}

}  // namespace

bool RemoveTree(const std::string& path, int tries) {
  for (int i = 0; i < tries; ++i) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

WorkFolder::WorkFolder(std::string_view prefix, bool home) {
  const char* tmp = std::getenv("TMPDIR");
  std::string base = tmp && *tmp ? tmp : "/tmp";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  std::string pattern = base + "/" + std::string(prefix) + "-XXXXXX";
  if (!mkdtemp(pattern.data())) Fail("cannot make a work folder in " + base);
  path_ = pattern;

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    RemoveTree(path_);
    Fail("cannot make the work folder's watcher");
  }
  std::fflush(nullptr);  // the watcher must not write the benchmark's buffered output again
  const pid_t pid = fork();
  if (pid < 0) {
    RemoveTree(path_);
    Fail("cannot start the work folder's watcher");
  }
  if (pid == 0) {
    close(fds[1]);
    Watch(fds[0], path_);
  }
  close(fds[0]);
  watcher_pipe_ = fds[1];
  watcher_ = pid;

  const std::string temp = path_ + "/tmp";
  if (mkdir(temp.c_str(), 0700) != 0) Fail("cannot make " + temp);
  setenv("TMPDIR", temp.c_str(), 1);
  if (home) setenv("BREVORA_HOME", path_.c_str(), 1);
}

WorkFolder::~WorkFolder() {
  RemoveTree(path_, 10);
  close(watcher_pipe_);
  int status = 0;
  while (waitpid(watcher_, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace brevora::bench
