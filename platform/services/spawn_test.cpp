// Starting programs: the argument vector arrives whole in the given folder,
// exit codes and deaths by a signal are told apart, what can't start starts
// nothing, signals start afresh when asked, standard streams go to their
// files, and a running program can be signalled, polled, left alone or is
// killed with its handle.
#include "platform/services/spawn.h"

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "testing/temp_home.h"

namespace brevora::services {
namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// What the probe wrote about its run.
struct Report {
  std::string folder;
  pid_t pid = 0;
  std::string signals;
  std::vector<std::string> arguments;
};

// Points the probe's report at a file of its own for the life of the object.
class ProbeReport {
 public:
  ProbeReport() : path_(testing::MakeTempDir("probe" + std::to_string(++made_)) + "/report") {
    setenv("SPAWN_PROBE_REPORT", path_.c_str(), 1);
  }
  ~ProbeReport() { unsetenv("SPAWN_PROBE_REPORT"); }
  ProbeReport(const ProbeReport&) = delete;
  ProbeReport& operator=(const ProbeReport&) = delete;

  bool Written() const { return std::filesystem::exists(path_); }
  // Waits (ten seconds at most) for a program left running to write it.
  bool AwaitWritten() const {
    for (int i = 0; i < 1000 && !Written(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Written();
  }

  Report Read() const {
    const std::string text = FileText(path_);
    std::vector<std::string> fields;
    for (size_t start = 0, end; (end = text.find('\0', start)) != std::string::npos;
         start = end + 1) {
      fields.push_back(text.substr(start, end - start));
    }
    if (fields.size() < 3) return {};
    return {fields[0], static_cast<pid_t>(std::atoi(fields[1].c_str())), fields[2],
            std::vector<std::string>(fields.begin() + 3, fields.end())};
  }

 private:
  static inline int made_ = 0;
  std::string path_;
};

// True once `pid` is neither running nor waiting to be reaped.
bool Gone(pid_t pid) {
  for (int i = 0; i < 1000; ++i) {
    if (kill(pid, 0) != 0 && errno == ESRCH) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(Spawn, ArgumentsArriveWholeInTheGivenFolder) {
  const ProbeReport report;
  const std::string folder = testing::MakeTempDir("work folder");
  const std::vector<std::string> arguments = {SPAWN_PROBE,
                                              "0",
                                              "two words",
                                              "say \"hi\"",
                                              "$(touch x); rm -f y",
                                              "",
                                              "back\\slash",
                                              "\xC3\x9cn\xC3\xAF"
                                              "code"};
  const ProcessEnd end = RunAndWait(arguments, {.folder = folder});
  EXPECT_TRUE(end.Succeeded());
  EXPECT_EQ(end.exitCode, 0);
  const Report run = report.Read();
  EXPECT_EQ(run.folder, std::filesystem::canonical(folder).string());
  EXPECT_EQ(run.arguments, arguments);
  EXPECT_FALSE(std::filesystem::exists(folder + "/x")) << "no shell ever ran";
}

TEST(Spawn, ExitCodesAndSignals) {
  const struct {
    const char* action;
    bool succeeded;
    int exitCode;
    int signal;
  } cases[] = {
      {"0", true, 0, 0}, {"1", false, 1, 0}, {"255", false, 255, 0}, {"kill", false, -1, SIGKILL}};
  for (const auto& c : cases) {
    const ProbeReport report;
    const ProcessEnd end = RunAndWait({SPAWN_PROBE, c.action});
    EXPECT_TRUE(end.started) << c.action;
    EXPECT_EQ(end.Succeeded(), c.succeeded) << c.action;
    EXPECT_EQ(end.exitCode, c.exitCode) << c.action;
    EXPECT_EQ(end.signal, c.signal) << c.action;
  }
}

TEST(Spawn, WhatCannotStartStartsNothing) {
  const ProbeReport report;
  const std::string home = testing::TempHome();
  const struct {
    std::vector<std::string> arguments;
    SpawnOptions options;
  } cases[] = {
      {{home + "/no such program"}, {}},
      {{"no-such-program-anywhere-in-path"}, {}},
      {{home}, {}},  // a folder
      {{SPAWN_PROBE}, {.folder = home + "/no such folder"}},
      {{SPAWN_PROBE}, {.streams = {.in = home + "/no such input"}}},
      {{SPAWN_PROBE}, {.streams = {.out = home + "/no such folder/out"}}},
      {{}, {}},
      {{""}, {}},
  };
  for (const auto& c : cases) {
    const std::string what = c.arguments.empty() ? "(none)" : c.arguments[0];
    const ProcessEnd end = RunAndWait(c.arguments, c.options);
    EXPECT_FALSE(end.started) << what;
    EXPECT_FALSE(end.Succeeded()) << what;
    EXPECT_FALSE(SpawnDetached(c.arguments, c.options)) << what;
  }
  EXPECT_FALSE(report.Written());
}

// A program found by its bare name on the search path, with the caller's
// environment.
TEST(Spawn, BareNamesAreLookedUpInThePath) {
  const ProbeReport report;
  const std::string bin = testing::MakeTempDir("bin");
  std::filesystem::create_symlink(SPAWN_PROBE, bin + "/phone-sender");
  const std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (bin + ":" + oldPath).c_str(), 1);
  const ProcessEnd end = RunAndWait({"phone-sender", "7", "file"});
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(end.exitCode, 7);
  EXPECT_EQ(report.Read().arguments, (std::vector<std::string>{"phone-sender", "7", "file"}));
}

// A caller that ignores SIGPIPE and blocks SIGUSR1 passes that on unless the
// program's signals are to start afresh.
TEST(Spawn, SignalsStartAfreshWhenAsked) {
  struct sigaction ignore {
  }, oldPipe{};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(sigaction(SIGPIPE, &ignore, &oldPipe), 0);
  sigset_t usr1, oldMask;
  sigemptyset(&usr1);
  sigaddset(&usr1, SIGUSR1);
  ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &usr1, &oldMask), 0);
  const std::pair<bool, const char*> cases[] = {{true, "fresh"}, {false, "inherited"}};
  for (const auto& [reset, signals] : cases) {
    const ProbeReport report;
    EXPECT_TRUE(RunAndWait({SPAWN_PROBE}, {.resetSignals = reset}).Succeeded());
    EXPECT_EQ(report.Read().signals, signals);
  }
  pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
  sigaction(SIGPIPE, &oldPipe, nullptr);
}

TEST(Spawn, StandardStreamsGoToTheirFiles) {
  const ProbeReport report;
  const std::string folder = testing::MakeTempDir("streams");
  std::ofstream(folder + "/in") << "line one\nline two\n";
  std::ofstream(folder + "/out") << "an older and longer text that goes";
  const SpawnOptions options{.folder = testing::MakeTempDir("elsewhere"),
                             .streams = {folder + "/in", folder + "/out", folder + "/err"}};
  EXPECT_TRUE(RunAndWait({SPAWN_PROBE, "echo"}, options).Succeeded());
  EXPECT_EQ(FileText(folder + "/out"), "line one\nline two\n");
  EXPECT_EQ(FileText(folder + "/err"), "err");
  struct stat st {};
  ASSERT_EQ(stat((folder + "/err").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(Spawn, ARunningProgramIsSignalledAndPolled) {
  const ProbeReport report;
  Process process({SPAWN_PROBE, "wait"});
  ASSERT_TRUE(process.Started());
  ASSERT_TRUE(report.AwaitWritten());
  EXPECT_EQ(process.Poll(), std::nullopt);
  process.Signal(SIGTERM);
  const ProcessEnd end = process.Wait();
  EXPECT_EQ(end.signal, SIGTERM);
  EXPECT_FALSE(end.Succeeded());
  EXPECT_EQ(process.Wait().signal, SIGTERM);  // the same end on every call
  ASSERT_TRUE(process.Poll());
  EXPECT_EQ(process.Poll()->signal, SIGTERM);
  process.Signal(SIGKILL);  // ended: nothing happens
  EXPECT_TRUE(Gone(report.Read().pid));
}

// The handle of a program still running kills and reaps it; a detached
// program runs on and is reaped when it ends.
TEST(Spawn, NoProgramIsLeftBehind) {
  pid_t killed = 0;
  {
    const ProbeReport report;
    const Process process({SPAWN_PROBE, "wait"});
    ASSERT_TRUE(report.AwaitWritten());
    killed = report.Read().pid;
  }
  EXPECT_TRUE(Gone(killed));

  const ProbeReport report;
  Process process({SPAWN_PROBE, "wait"});
  ASSERT_TRUE(report.AwaitWritten());
  const pid_t detached = report.Read().pid;
  process.Detach();
  EXPECT_FALSE(process.Wait().Succeeded());  // its end is no longer ours to know
  EXPECT_EQ(kill(detached, 0), 0) << "a detached program runs on";
  kill(detached, SIGTERM);
  EXPECT_TRUE(Gone(detached));

  const ProbeReport opened;
  EXPECT_TRUE(SpawnDetached({SPAWN_PROBE, "3"}));
  ASSERT_TRUE(opened.AwaitWritten());
  EXPECT_TRUE(Gone(opened.Read().pid));
}

}  // namespace
}  // namespace brevora::services
