// Running a send program: the argument vector arrives whole, the working
// folder and environment are the given ones, the exit code and death by a
// signal are reported, and a program that can't start starts nothing.
#include "phonesync/run_and_wait.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "phonesync/sync_test_support.h"
#include "testing/temp_home.h"

namespace brevora::bvsync {
namespace {

TEST(RunAndWait, ArgumentsArriveWholeInTheGivenFolder) {
  test::ProbeScript probe;
  const std::string folder = testing::MakeTempDir("work folder");
  const std::vector<std::string> arguments = {SEND_PROBE, "two words", "say \"hi\"", "$(touch x); rm -f y",
                                              "", "back\\slash", "Ünïcode"};
  const ProcessEnd end = RunAndWait(arguments, folder);
  EXPECT_TRUE(end.started);
  EXPECT_TRUE(end.Succeeded());
  EXPECT_EQ(end.exitCode, 0);
  const auto runs = probe.Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].folder, std::filesystem::canonical(folder).string());
  EXPECT_EQ(runs[0].arguments, arguments);
  EXPECT_FALSE(std::filesystem::exists(folder + "/x")) << "no shell ever ran";
}

TEST(RunAndWait, ExitCodesAndSignals) {
  struct Case {
    const char* action;
    bool succeeded;
    int exitCode;
    int signal;
  };
  const Case cases[] = {{"0", true, 0, 0}, {"1", false, 1, 0}, {"255", false, 255, 0}, {"kill", false, -1, SIGKILL}};
  for (const Case& c : cases) {
    test::ProbeScript probe({c.action});
    const ProcessEnd end = RunAndWait({SEND_PROBE}, testing::TempHome());
    EXPECT_TRUE(end.started) << c.action;
    EXPECT_EQ(end.Succeeded(), c.succeeded) << c.action;
    EXPECT_EQ(end.exitCode, c.exitCode) << c.action;
    EXPECT_EQ(end.signal, c.signal) << c.action;
  }
}

TEST(RunAndWait, WhatCannotStartStartsNothing) {
  test::ProbeScript probe;
  const std::string home = testing::TempHome();
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{home + "/no such program"}, home},
      {{"no-such-program-anywhere-in-path"}, home},
      {{SEND_PROBE}, home + "/no such folder"},
      {{}, home},
      {{""}, home},
  };
  for (const auto& [arguments, folder] : cases) {
    const ProcessEnd end = RunAndWait(arguments, folder);
    EXPECT_FALSE(end.started) << (arguments.empty() ? "(none)" : arguments[0]);
    EXPECT_FALSE(end.Succeeded());
  }
  EXPECT_TRUE(probe.Runs().empty());
}

// A program found by its bare name on the search path, with the caller's
// environment.
TEST(RunAndWait, BareNamesAreLookedUpInThePath) {
  test::ProbeScript probe({"7"});
  const std::string bin = testing::MakeTempDir("bin");
  std::filesystem::create_symlink(SEND_PROBE, bin + "/phone-sender");
  const std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (bin + ":" + oldPath).c_str(), 1);
  const ProcessEnd end = RunAndWait({"phone-sender", "file"}, testing::TempHome());
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(end.exitCode, 7);
  ASSERT_EQ(probe.Runs().size(), 1u);
  EXPECT_EQ(probe.Runs()[0].arguments, (std::vector<std::string>{"phone-sender", "file"}));
}

}  // namespace
}  // namespace brevora::bvsync
