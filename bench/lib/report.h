#pragma once
// The figures of a benchmark for the summary table of scripts/bench.sh, and
// its comparisons with a peer measured in the same run (another program or
// library doing the same work: LZ4 beside PalmDOC, a plain read() beside the
// database read). A comparison is also printed, as one line on stdout.
//
// With a results file (--results FILE), every figure is appended to it as one
// line of tab-separated fields:
//   bench, figure, unit, best, median, worst, peer, peer's best
// (median and worst empty for a figure given as one number, the last two
// empty without a peer). A unit ending in "/s" is a rate, where
// more is better; any other unit is a cost, where less is better. Comparisons
// take the best run of each side: a busy machine slows a run down, it never
// speeds one up, so the best runs are the fairest pair.
#include <cstdint>
#include <string>

#include "bench/lib/timing.h"

namespace brevora::bench {

class Report {
 public:
  // `bench` names the benchmark in the table; `results_path` may be empty.
  Report(std::string bench, std::string results_path);
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  void Figure(const std::string& what, const Samples& values, const std::string& unit);
  // A figure the benchmark made of its runs itself (their best, say).
  void Figure(const std::string& what, double value, const std::string& unit);
  // Records the figure with the peer's and prints
  //   "  <what>: <own> <unit> against <peer> <peer's> <unit>: <ratio> x <peer>'s speed"
  // comparing the best runs.
  void Compare(const std::string& what, const Samples& own, const std::string& peer,
               const Samples& peer_values, const std::string& unit);

  // How much faster `own` is than `peer` (above 1: faster), for a figure in `unit`.
  static double SpeedRatio(double own, double peer, const std::string& unit);
  // The best and the worst of `values` for a figure in `unit`.
  static double Best(const Samples& values, const std::string& unit);
  static double Worst(const Samples& values, const std::string& unit);

 private:
  void Append(const std::string& what, const Samples* values, double value, const std::string& unit,
              const std::string& peer, const Samples* peer_values);

  std::string bench_;
  std::string results_path_;
  bool warned_ = false;
};

// A whole number with its thousands grouped by commas: 4096 as "4,096".
std::string Grouped(int64_t n);

}  // namespace brevora::bench
