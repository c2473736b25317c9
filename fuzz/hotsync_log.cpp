// Fuzzes the HotSync log's keeping of old runs: the bytes as a user's
// "hotsync.log" when a HotSync starts its run (LogRun), which then logs one
// entry (its text the first line of the bytes, code page). Checks on the file
// the run leaves: it is the runs kept of the old file, then this run's
// heading on a line of its own, then the entry's lines; what is kept is the
// end of the old file from one of its headings on, whole lines, and holds its
// last kKeptRuns - 1 runs (all of them when it had fewer); no line of the
// entry but its first begins other than with a tab (an entry can't start a run
// of its own); the run knows when its entry was a conduit's failure.
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/file_input.h"
#include "platform/hotsync/hotsync_log.h"

namespace brevora::fuzz {
namespace {

constexpr std::string_view kHeading = "--- HotSync ";

// The lines that begin a run.
std::size_t Runs(std::string_view text) {
  std::size_t runs = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (text.substr(at).starts_with(kHeading)) ++runs;
    const std::size_t lf = text.find('\n', at);
    if (lf == std::string_view::npos) break;
    at = lf + 1;
  }
  return runs;
}

std::string Run(const std::string& heading, std::initializer_list<std::string> entries) {
  std::string run = std::string(kHeading) + heading + " 2026-12-01 09:30:00 ---\n";
  for (const std::string& e : entries) run += e + "\n";
  return run;
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  std::string many;
  for (int i = 0; i < 21; ++i)
    many += Run("of Alice", {"09:30:0" + std::to_string(i % 10) + " OK Tabulyn"});
  return {
      {"one.log",
       Run("of Alice", {"09:30:01 Info Tabulyn - Copy Budget to PC.", "09:30:02 OK Tabulyn"})},
      {"many.log", many},
      {"lines.log", "left from before\n" + Run("of Bob", {"09:31:00 Activity7 two", "\tlines",
                                                          "09:31:01 Failed Scrivane"})},
      {"torn.log", Run("of Alice", {"09:30:01 OK Tabulyn"}) + "--- HotSync of Alice 2026-12-0"},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  std::filesystem::create_directories(brevora::fuzz::WorkFolder() + "/user");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::hotsync;
  const std::string folder = WorkFolder() + "/user";
  WriteInput("../user/hotsync.log", data, size);
  const std::string old(reinterpret_cast<const char*>(data), size);
  std::string text = old.substr(0, old.find('\n'));
  text = text.substr(0, std::strlen(text.c_str()));  // a C string ends at a NUL
  const int32_t activity = size % 4 == 0   ? kLogConduitFailed
                           : size % 4 == 1 ? kLogText
                                           : static_cast<int32_t>(size % 40);
  const std::string heading = "of Fuzz";

  Must("a log run", [&] {
    LogRun run(folder, heading);
    LogAddEntry(text.c_str(), activity, 0);
    Check(run.anyFailure() == (activity == kLogConduitFailed), "the run's failure");
  });
  const std::string after = FileBytes(folder + "/" + kLogFileName);

  // The end: the heading ("--- HotSync of Fuzz YYYY-MM-DD HH:MM:SS ---") and
  // the entry, whose lines begin with the time of day.
  const std::string entry = FormatLogLines({text, activity, false}, 0);
  const std::string headingStart = std::string(kHeading) + heading + " ";
  const std::size_t headingSize = headingStart.size() + 19 + 5;
  Check(after.size() >= headingSize + entry.size(), "the file is shorter than its new run");
  const std::size_t entryAt = after.size() - entry.size();
  const std::size_t headingAt = entryAt - headingSize;
  Check(after.compare(entryAt + 8, std::string::npos, entry, 8) == 0,
        "the entry is not at the end");
  Check(after.compare(headingAt, headingStart.size(), headingStart) == 0 &&
            after.compare(entryAt - 5, 5, " ---\n") == 0,
        "the run's heading does not stand before its entry");
  for (std::size_t lf = entry.find('\n'); lf + 1 < entry.size(); lf = entry.find('\n', lf + 1)) {
    Check(entry[lf + 1] == '\t', "a line of an entry that does not begin with a tab");
  }

  // What was kept: whole lines at the end of the old file, from a heading on.
  const std::string_view kept(after.data(), headingAt);
  std::string whole = old;
  if (!whole.empty() && whole.back() != '\n') whole.push_back('\n');
  Check(kept.empty() || kept.back() == '\n', "the new run's heading does not begin a line");
  Check(kept.empty() || kept.starts_with(kHeading), "what is kept does not begin with a run");
  Check(std::string_view(whole).ends_with(kept), "what is kept is not the end of the old file");
  Check(kept.size() == whole.size() || whole[whole.size() - kept.size() - 1] == '\n',
        "what is kept does not begin at a line of the old file");
  const std::size_t oldRuns = Runs(whole);
  Check(Runs(kept) == std::min(oldRuns, kKeptRuns - 1), "not the old runs the log keeps");
  return 0;
}
