#include "bench/lib/timing.h"

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>

namespace brevora::bench {

double Samples::Min() const {
  return values_.empty() ? 0 : *std::min_element(values_.begin(), values_.end());
}

double Samples::Max() const {
  return values_.empty() ? 0 : *std::max_element(values_.begin(), values_.end());
}

double Samples::Median() const {
  if (values_.empty()) return 0;
  std::vector<double> sorted = values_;
  const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>((sorted.size() - 1) / 2);
  std::nth_element(sorted.begin(), middle, sorted.end());
  return *middle;
}

double CpuMs(CpuClock clock) {
  if (clock == CpuClock::Children) {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  }
  timespec t{};
  clock_gettime(clock == CpuClock::Thread ? CLOCK_THREAD_CPUTIME_ID : CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double WallMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

Timing Measure(int runs, CpuClock clock, const std::function<void()>& step) {
  Timing timing;
  for (int i = 0; i < runs; ++i) {
    const double cpu = CpuMs(clock);
    const double wall = WallMs();
    step();
    timing.wall_ms.Add(WallMs() - wall);
    timing.cpu_ms.Add(CpuMs(clock) - cpu);
  }
  return timing;
}

}  // namespace brevora::bench
