#pragma once
// Timing for benchmarks: samples of a figure with their minimum, median and
// maximum, and runs of a step timed by the wall clock and by a CPU clock (the
// CPU figure leaves out waiting for the disk and for other processes).
#include <functional>
#include <vector>

namespace brevora::bench {

// Values of one figure, one per run, in the order taken.
class Samples {
 public:
  void Add(double value) { values_.push_back(value); }
  bool empty() const { return values_.empty(); }
  size_t size() const { return values_.size(); }
  // Each of these is 0 when there is no sample.
  double Min() const;
  double Median() const;  // the middle value; of an even count, the lower middle one
  double Max() const;
  const std::vector<double>& values() const { return values_; }

 private:
  std::vector<double> values_;
};

enum class CpuClock {
  Thread,    // the calling thread
  Process,   // every thread of this process
  Children,  // the programs this process started and waited for
};
// CPU time (user and system) of `clock` so far, in milliseconds.
double CpuMs(CpuClock clock);
// Milliseconds on the steady clock since some fixed point.
double WallMs();

struct Timing {
  Samples wall_ms;
  Samples cpu_ms;
};
// Runs `step` `runs` times, timing each run.
Timing Measure(int runs, CpuClock clock, const std::function<void()>& step);

}  // namespace brevora::bench
