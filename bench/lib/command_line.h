#pragma once
// The command line of a benchmark: the options it declares (sizes, lists of
// sizes, repeat counts, flags), each bound to a variable that holds its
// default, and the usage text made from them. Every benchmark also takes
// --help (the usage on stdout, exit 0) and --results FILE (its figures
// appended to FILE as rows, for scripts/bench.sh). Anything else on the line,
// an unknown option or a bad value, is refused: a message and the usage on
// stderr, exit 2.
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::bench {

class CommandLine {
 public:
  // `program` is the name in the usage; `purpose` a line or two on what it measures.
  CommandLine(std::string program, std::string purpose);
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // --name N: a whole number from `min` to `max`; *value holds the default.
  void Count(std::string name, std::string help, int64_t* value, int64_t min = 1,
             int64_t max = std::numeric_limits<int32_t>::max());
  void Count(std::string name, std::string help, int* value, int min = 1,
             int max = std::numeric_limits<int32_t>::max());
  // --name N,N,...: one or more whole numbers from `min` to `max`, in the order given.
  void Counts(std::string name, std::string help, std::vector<int64_t>* values, int64_t min = 1,
              int64_t max = std::numeric_limits<int32_t>::max());
  // --name: sets *value to true.
  void Flag(std::string name, std::string help, bool* value);
  // A bare word on the line (not an option) that sets *value to true.
  void Word(std::string word, std::string help, bool* value);

  struct Outcome {
    enum Kind { Run, Help, Error } kind = Run;
    std::string error;  // for Error: what was wrong
  };
  // Parses the arguments after the program name, setting the bound variables.
  Outcome Parse(const std::vector<std::string>& args);
  // Parses argv as above; prints the usage and exits 0 for --help; prints the
  // error and the usage to stderr and exits 2 for a bad line.
  void ParseOrExit(int argc, char** argv);

  std::string Usage() const;
  // The file given with --results; empty when none.
  const std::string& ResultsPath() const { return results_; }

 private:
  struct Option {
    std::string name;  // "--records" or, for a word, "big"
    std::string meta;  // "N", "N,N,...", "FILE"; empty for a flag or a word
    std::string help;
    std::string shown_default;
    std::function<bool(std::string_view)> set;  // false: the value is bad
  };
  const Option* Find(std::string_view name) const;
  void Add(Option option);

  std::string program_;
  std::string purpose_;
  std::vector<Option> options_;
  std::string results_;
};

}  // namespace brevora::bench
