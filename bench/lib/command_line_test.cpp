// CommandLine: what each kind of option takes and what it refuses.
#include "bench/lib/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevora::bench {
namespace {

// The values a line sets, for comparing.
struct Values {
  int64_t records = 10000;
  int repeat = 5;
  std::vector<int64_t> sizes = {500, 2000};
  bool quiet = false;
  bool big = false;
  bool operator==(const Values&) const = default;
};

struct Parsed {
  CommandLine::Outcome outcome;
  Values values;
  std::string results;
};

Parsed ParseLine(const std::vector<std::string>& args) {
  Parsed parsed;
  CommandLine line("bench", "Measures things.");
  line.Count("records", "records", &parsed.values.records, 1, 1000000);
  line.Count("repeat", "runs", &parsed.values.repeat, 1, 100);
  line.Counts("sizes", "sizes", &parsed.values.sizes, 1, 100000);
  line.Flag("quiet", "less", &parsed.values.quiet);
  line.Word("big", "the big one only", &parsed.values.big);
  parsed.outcome = line.Parse(args);
  parsed.results = line.ResultsPath();
  return parsed;
}

TEST(CommandLine, SetsWhatTheLineSays) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    Values expected;
    std::string results;
  };
  const Values defaults;
  auto with = [&](auto change) {
    Values v = defaults;
    change(v);
    return v;
  };
  const Case cases[] = {
      {"nothing: the defaults", {}, defaults, ""},
      {"value after the name", {"--records", "200"}, with([](Values& v) { v.records = 200; }), ""},
      {"value after =", {"--records=7"}, with([](Values& v) { v.records = 7; }), ""},
      {"the bounds",
       {"--records", "1", "--repeat", "100"},
       with([](Values& v) {
         v.records = 1;
         v.repeat = 100;
       }),
       ""},
      {"a list",
       {"--sizes", "1,20,300"},
       with([](Values& v) {
         v.sizes = {1, 20, 300};
       }),
       ""},
      {"a list of one", {"--sizes=9"}, with([](Values& v) { v.sizes = {9}; }), ""},
      {"the last one given wins",
       {"--repeat", "3", "--repeat", "4"},
       with([](Values& v) { v.repeat = 4; }),
       ""},
      {"a flag", {"--quiet"}, with([](Values& v) { v.quiet = true; }), ""},
      {"a word", {"big"}, with([](Values& v) { v.big = true; }), ""},
      {"results file",
       {"--results", "/tmp/r.tsv", "--quiet"},
       with([](Values& v) { v.quiet = true; }),
       "/tmp/r.tsv"},
  };
  for (const Case& c : cases) {
    const Parsed parsed = ParseLine(c.args);
    EXPECT_EQ(parsed.outcome.kind, CommandLine::Outcome::Run)
        << c.what << ": " << parsed.outcome.error;
    EXPECT_EQ(parsed.values, c.expected) << c.what;
    EXPECT_EQ(parsed.results, c.results) << c.what;
  }
}

TEST(CommandLine, RefusesWhatItDoesNotKnow) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"-h"}, "unknown option -h"},
      {{"stray"}, "unexpected argument stray"},
      {{"--big"}, "unknown option --big"},
      {{"--records"}, "--records needs a value (N)"},
      {{"--records", "0"}, "bad value for --records: \"0\" (N)"},
      {{"--records", "1000001"}, "bad value for --records: \"1000001\" (N)"},
      {{"--records", "-5"}, "bad value for --records: \"-5\" (N)"},
      {{"--records", "+5"}, "bad value for --records: \"+5\" (N)"},
      {{"--records", "12x"}, "bad value for --records: \"12x\" (N)"},
      {{"--records", " 12"}, "bad value for --records: \" 12\" (N)"},
      {{"--records", "99999999999999999999"},
       "bad value for --records: \"99999999999999999999\" (N)"},
      {{"--records="}, "bad value for --records: \"\" (N)"},
      {{"--sizes", "1,,2"}, "bad value for --sizes: \"1,,2\" (N,N,...)"},
      {{"--sizes", "1,"}, "bad value for --sizes: \"1,\" (N,N,...)"},
      {{"--sizes", ",1"}, "bad value for --sizes: \",1\" (N,N,...)"},
      {{"--quiet=yes"}, "--quiet takes no value"},
      {{"--help=1"}, "--help takes no value"},
      {{"--results"}, "--results needs a value (FILE)"},
      {{"--results="}, "bad value for --results: \"\" (FILE)"},
  };
  for (const Case& c : cases) {
    const Parsed parsed = ParseLine(c.args);
    EXPECT_EQ(parsed.outcome.kind, CommandLine::Outcome::Error) << c.args[0];
    EXPECT_EQ(parsed.outcome.error, c.error);
  }
  // A refused line leaves the list as it was, not half parsed.
  EXPECT_EQ(ParseLine({"--sizes", "4,x"}).values.sizes, (std::vector<int64_t>{500, 2000}));
}

TEST(CommandLine, HelpWinsWhereverItStandsAndUsageListsEveryOption) {
  EXPECT_EQ(ParseLine({"--help"}).outcome.kind, CommandLine::Outcome::Help);
  EXPECT_EQ(ParseLine({"--records", "5", "--help", "--bogus"}).outcome.kind,
            CommandLine::Outcome::Help);
  int64_t records = 10000;
  std::vector<int64_t> sizes = {500, 2000};
  CommandLine line("bench", "Measures things.");
  line.Count("records", "records in the database", &records);
  line.Counts("sizes", "folder sizes", &sizes);
  const std::string usage = line.Usage();
  EXPECT_EQ(usage.rfind("usage: bench [options]\nMeasures things.\n", 0), 0u) << usage;
  for (const char* part :
       {"--help", "--results FILE", "--records N", "records in the database (default 10000)",
        "--sizes N,N,...", "folder sizes (default 500,2000)"}) {
    EXPECT_NE(usage.find(part), std::string::npos) << part << " in\n" << usage;
  }
}

TEST(CommandLine, ParseOrExitEndsWithTwoOnABadLineAndZeroOnHelp) {
  auto run = [](std::vector<std::string> args) {
    CommandLine line("bench", "Measures things.");
    int repeat = 5;
    line.Count("repeat", "runs", &repeat);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    line.ParseOrExit(static_cast<int>(argv.size()), argv.data());
    std::exit(repeat == 5 ? 10 : 11);
  };
  EXPECT_EXIT(run({"bench", "--bogus"}), ::testing::ExitedWithCode(2),
              "bench: unknown option --bogus\nusage: bench");
  EXPECT_EXIT(run({"bench", "--help"}), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(run({"bench"}), ::testing::ExitedWithCode(10), "");
  EXPECT_EXIT(run({"bench", "--repeat", "7"}), ::testing::ExitedWithCode(11), "");
}

}  // namespace
}  // namespace brevora::bench
