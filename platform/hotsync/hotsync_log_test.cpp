#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "platform/hotsync/hotsync_log.h"
#include "testing/temp_home.h"

namespace brevora::hotsync {
namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The text with every time of day as "HH:MM:SS" and every date as "YYYY-MM-DD".
std::string Untimed(const std::string& text) {
  const std::string noTimes =
      std::regex_replace(text, std::regex("\\d\\d:\\d\\d:\\d\\d"), "HH:MM:SS");
  return std::regex_replace(noTimes, std::regex("\\d{4}-\\d\\d-\\d\\d"), "YYYY-MM-DD");
}

TEST(HotSyncLog, EachEntryIsATimedLineWithItsActivityWord) {
  std::tm noon{};
  noon.tm_year = 124;
  noon.tm_mon = 4;
  noon.tm_mday = 1;
  noon.tm_hour = 12;
  noon.tm_min = 3;
  noon.tm_sec = 4;
  noon.tm_isdst = -1;
  const std::time_t t = std::mktime(&noon);
  struct Case {
    LogEntry entry;
    std::string lines;
  };
  const Case cases[] = {
      {{"Tabulyn - Copy Budget to PC.", kLogText, false},
       "12:03:04 Info Tabulyn - Copy Budget to PC.\n"},
      {{"Tabulyn", kLogConduitDone, false}, "12:03:04 OK Tabulyn\n"},
      {{"Could not open C:\\x.tbr...skipping.\n", kLogFileError, false},
       "12:03:04 FileError Could not open C:\\x.tbr...skipping.\n"},
      {{"Tabulyn", kLogConduitFailed, false}, "12:03:04 Failed Tabulyn\n"},
      {{"Tabulyn - Installed", kLogConduitDone, true}, "12:03:04 OK Tabulyn - Installed\n"},
      {{"two\r\nlines\nthree", 7, false}, "12:03:04 Activity7 two\n\tlines\n\tthree\n"},
      {{"caf\xE9", kLogText, false}, "12:03:04 Info caf\xC3\xA9\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatLogLines(c.entry, t), c.lines);
}

TEST(HotSyncLog, EntriesGoToTheOpenRunAndTheSink) {
  auto sink = std::make_shared<RecordingLogSink>();
  InstallLogSink(sink);
  LogAddEntry("before any run", kLogText, 0);
  const std::string folder = testing::MakeTempDir("user");
  {
    LogRun run(folder, "of Alice");
    EXPECT_FALSE(run.anyFailure());
    LogAddEntry("Tabulyn - sync configured to Synchronize", kLogText, 0);
    LogAddEntry("Tabulyn", kLogConduitFailed, 1);
    EXPECT_TRUE(run.anyFailure());
  }
  LogAddEntry("after the run", kLogText, 0);
  InstallLogSink(nullptr);
  LogAddEntry("nowhere", kLogText, 0);

  EXPECT_EQ(Untimed(FileText(folder + "/hotsync.log")),
            "--- HotSync of Alice YYYY-MM-DD HH:MM:SS ---\n"
            "HH:MM:SS Info Tabulyn - sync configured to Synchronize\n"
            "HH:MM:SS Failed Tabulyn\n");
  EXPECT_EQ(sink->entries(),
            (std::vector<LogEntry>{{"before any run", kLogText, false},
                                   {"Tabulyn - sync configured to Synchronize", kLogText, false},
                                   {"Tabulyn", kLogConduitFailed, true},
                                   {"after the run", kLogText, false}}));
}

TEST(HotSyncLog, TheFileKeepsTheLastTwentyRuns) {
  const std::string folder = testing::MakeTempDir("user");
  for (int i = 1; i <= 25; ++i) {
    LogRun run(folder, "run " + std::to_string(i));
    LogAddEntry(("entry of run " + std::to_string(i)).c_str(), kLogText, 0);
  }
  const std::string text = FileText(folder + "/hotsync.log");
  std::istringstream lines(text);
  std::vector<std::string> headings;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("--- HotSync "))
      headings.push_back(line.substr(12, line.find(' ', 16) - 12));
  }
  ASSERT_EQ(headings.size(), kKeptRuns);
  EXPECT_EQ(headings.front(), "run 6");
  EXPECT_EQ(headings.back(), "run 25");
  EXPECT_TRUE(text.starts_with("--- HotSync run 6 "));
  EXPECT_NE(text.find("entry of run 6\n"), std::string::npos);
  EXPECT_EQ(text.find("entry of run 5\n"), std::string::npos);
}

// A log whose last line was cut short (no line end): the next run's heading
// still begins a line of its own, whether the old runs are all kept or not.
TEST(HotSyncLog, AnUnfinishedLastLineDoesNotSwallowTheNextHeading) {
  for (const int oldRuns : {1, 25}) {
    const std::string folder = testing::MakeTempDir("user");
    std::string old;
    for (int n = 1; n <= oldRuns; ++n)
      old += "--- HotSync run " + std::to_string(n) + " 2026-12-01 09:30:00 ---\n";
    old += "09:30:01 OK Tab";
    {
      std::ofstream out(folder + "/hotsync.log", std::ios::binary);
      out << old;
    }
    { LogRun run(folder, "next"); }
    const std::string text = FileText(folder + "/hotsync.log");
    EXPECT_NE(text.find("09:30:01 OK Tab\n--- HotSync next "), std::string::npos) << oldRuns;
    EXPECT_TRUE(text.starts_with(oldRuns == 1 ? "--- HotSync run 1 " : "--- HotSync run 7 "))
        << oldRuns;
  }
}

TEST(HotSyncLog, OneRunAtATime) {
  const std::string folder = testing::MakeTempDir("user");
  LogRun run(folder, "first");
  EXPECT_THROW(LogRun(folder, "second"), std::exception);
}

}  // namespace
}  // namespace brevora::hotsync
