// Fuzzes the benchmarks' command line: the bytes, cut at NUL bytes into
// arguments, go to CommandLine::Parse with one option of every kind. Parse
// never raises; a line it runs with leaves every value within its bounds (the
// defaults included), a refused one says why, and --help is the only way to
// the usage.
#include <string>
#include <vector>

#include "bench/lib/command_line.h"
#include "fuzz/arguments.h"
#include "fuzz/fuzz_target.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  using namespace std::string_literals;
  return {
      {"counts.line",
       "--records\0"
       "200\0--sizes\0"
       "1,20,300\0--repeat=3"s},
      {"flags.line", "big\0--quiet\0--results\0/tmp/r.tsv"s},
      {"help.line",
       "--records\0"
       "5\0--help"s},
      {"bad.line",
       "--records\0"
       "0\0--bogus"s},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using brevora::bench::CommandLine;
  const std::vector<std::string> args = Arguments(data, size);
  Must("parsing a command line", [&] {
    int64_t records = 10000;
    int repeat = 5;
    std::vector<int64_t> sizes = {500, 2000};
    bool quiet = false;
    bool big = false;
    CommandLine line("bench", "Fuzzed.");
    line.Count("records", "records", &records, 1, 1000000);
    line.Count("repeat", "runs", &repeat, 1, 100);
    line.Counts("sizes", "sizes", &sizes, 1, 100000);
    line.Flag("quiet", "less", &quiet);
    line.Word("big", "big only", &big);
    const CommandLine::Outcome outcome = line.Parse(args);
    Check(records >= 1 && records <= 1000000, "--records out of bounds");
    Check(repeat >= 1 && repeat <= 100, "--repeat out of bounds");
    Check(!sizes.empty(), "--sizes emptied");
    for (const int64_t s : sizes) Check(s >= 1 && s <= 100000, "--sizes out of bounds");
    if (outcome.kind == CommandLine::Outcome::Error)
      Check(!outcome.error.empty(), "a refusal without a reason");
    if (outcome.kind == CommandLine::Outcome::Help) {
      bool asked = false;
      for (const std::string& a : args) asked = asked || a == "--help";
      Check(asked, "help without --help");
    }
    Check(line.Usage().rfind("usage: bench [options]\n", 0) == 0, "usage without its first line");
  });
  return 0;
}
