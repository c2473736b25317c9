// Samples and Measure: the summary figures of a set of runs.
#include "bench/lib/timing.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevora::bench {
namespace {

TEST(Samples, MinMedianMax) {
  struct Case {
    std::vector<double> values;
    double min, median, max;
  };
  const Case cases[] = {
      {{}, 0, 0, 0},
      {{4}, 4, 4, 4},
      {{3, 1, 2}, 1, 2, 3},
      {{4, 1, 3, 2}, 1, 2, 4},  // an even count: the lower middle one
      {{5, 5, 1, 9, 5}, 1, 5, 9},
  };
  for (const Case& c : cases) {
    Samples s;
    for (const double v : c.values) s.Add(v);
    EXPECT_EQ(s.Min(), c.min);
    EXPECT_EQ(s.Median(), c.median);
    EXPECT_EQ(s.Max(), c.max);
    EXPECT_EQ(s.values(), c.values) << "kept in the order taken";
  }
}

TEST(Measure, TimesEveryRunOnBothClocks) {
  int calls = 0;
  const Timing t = Measure(3, CpuClock::Thread, [&] {
    ++calls;
    volatile double x = 0;
    for (int i = 0; i < 100000; ++i) x = x + i;
  });
  EXPECT_EQ(calls, 3);
  ASSERT_EQ(t.wall_ms.size(), 3u);
  ASSERT_EQ(t.cpu_ms.size(), 3u);
  for (const double ms : t.wall_ms.values()) EXPECT_GE(ms, 0);
  for (const double ms : t.cpu_ms.values()) EXPECT_GE(ms, 0);
  EXPECT_GE(CpuMs(CpuClock::Process), CpuMs(CpuClock::Thread) - 1e-6);
  EXPECT_GE(CpuMs(CpuClock::Children), 0);
}

}  // namespace
}  // namespace brevora::bench
