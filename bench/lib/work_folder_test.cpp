// WorkFolder: the folder is gone after the run however the run ends, and the
// run's home and temporary folder lie inside it.
#include "bench/lib/work_folder.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace brevora::bench {
namespace {

namespace stdfs = std::filesystem;

enum class End { Returns, Exits, Signal };

struct Child {
  pid_t pid = -1;
  std::string folder;
};

// Starts a process that makes a work folder with files in it, reports the
// folder, and then ends as `end` says (for End::Signal: waits to be killed).
Child StartChild(End end) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    {
      WorkFolder work("work-folder-test");
      stdfs::create_directories(work.path() + "/a/b");
      std::ofstream(work.path() + "/a/b/file.pdb.tmp") << "half written";
      std::ofstream(std::string(std::getenv("TMPDIR")) + "/left-in-tmp") << "x";
      const std::string report =
          work.path() + "\n" + std::getenv("BREVORA_HOME") + "\n" + std::getenv("TMPDIR");
      if (write(fds[1], report.data(), report.size()) != static_cast<ssize_t>(report.size()))
        _exit(3);
      close(fds[1]);
      switch (end) {
        case End::Returns:
          break;
        case End::Exits:
          std::exit(1);
        case End::Signal:
          for (;;) pause();
      }
    }
    _exit(0);
  }
  close(fds[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  const std::string folder = report.substr(0, report.find('\n'));
  EXPECT_EQ(report, folder + "\n" + folder + "\n" + folder + "/tmp");
  return {pid, folder};
}

// The watcher ends the folder soon after the process; a bound, not a speed figure.
bool GoneWithin(const std::string& folder, std::chrono::seconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (stdfs::exists(folder)) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

TEST(WorkFolder, IsMadeInTmpdirAndGoneHoweverTheRunEnds) {
  const std::string tmp = std::getenv("TMPDIR");
  struct Case {
    const char* what;
    End end;
    int signal;
  };
  const Case cases[] = {
      {"returns", End::Returns, 0},
      {"std::exit", End::Exits, 0},
      {"SIGINT", End::Signal, SIGINT},
      {"SIGTERM", End::Signal, SIGTERM},
      {"SIGKILL (as a crash)", End::Signal, SIGKILL},
  };
  for (const Case& c : cases) {
    const Child child = StartChild(c.end);
    EXPECT_EQ(child.folder.rfind(tmp + "/work-folder-test-", 0), 0u)
        << c.what << ": " << child.folder;
    if (c.signal != 0) {
      EXPECT_TRUE(stdfs::exists(child.folder + "/a/b/file.pdb.tmp")) << c.what;
      kill(child.pid, c.signal);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child.pid, &status, 0), child.pid);
    if (c.end == End::Returns) {
      // The object itself removed it before the process ended.
      EXPECT_FALSE(stdfs::exists(child.folder)) << c.what;
    }
    EXPECT_TRUE(GoneWithin(child.folder, std::chrono::seconds(20)))
        << c.what << ": " << child.folder;
  }
}

TEST(WorkFolder, RemoveTreeTakesLinksNotWhatTheyPointTo) {
  const std::string tmp = std::getenv("TMPDIR");
  stdfs::create_directories(tmp + "/keep");
  std::ofstream(tmp + "/keep/file") << "x";
  stdfs::create_directories(tmp + "/tree/inner");
  stdfs::create_directory_symlink(tmp + "/keep", tmp + "/tree/inner/link");
  EXPECT_TRUE(RemoveTree(tmp + "/tree"));
  EXPECT_FALSE(stdfs::exists(tmp + "/tree"));
  EXPECT_TRUE(stdfs::exists(tmp + "/keep/file"));
  EXPECT_TRUE(RemoveTree(tmp + "/never-there"));
}

}  // namespace
}  // namespace brevora::bench
