// Report: the rows scripts/bench.sh reads, and which way a ratio goes.
#include "bench/lib/report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace brevora::bench {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Report, AppendsOneTabSeparatedRowPerFigure) {
  const std::string path = std::string(std::getenv("TMPDIR")) + "/results.tsv";
  std::ofstream(path) << "earlier\trow\n";
  Samples own, peer;
  for (const double v : {3.0, 1.0, 2.0}) own.Add(v);
  for (const double v : {4.0, 6.0, 5.0}) peer.Add(v);
  {
    Report report("pdb", path);
    report.Figure("read", own, "MB/s");
    report.Figure("one\tvalue\nhere", 12.5, "ms");
    ::testing::internal::CaptureStdout();
    report.Compare("read", own, "read()", peer, "MB/s");
    report.Compare("open", own, "open()", peer, "ms");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "  read: 3 MB/s against read() 6 MB/s: 0.50 x read()'s speed (best runs)\n"
              "  open: 1 ms against open() 4 ms: 4.00 x open()'s speed (best runs)\n");
  }
  // A rate's best is its largest value, a cost's its smallest.
  EXPECT_EQ(ReadAll(path),
            "earlier\trow\n"
            "pdb\tread\tMB/s\t3\t2\t1\t\t\n"
            "pdb\tone value here\tms\t12.5\t\t\t\t\n"
            "pdb\tread\tMB/s\t3\t2\t1\tread()\t6\n"
            "pdb\topen\tms\t1\t2\t3\topen()\t4\n");
}

TEST(Report, WithoutAResultsFileWritesNothing) {
  Report report("pdb", "");
  report.Figure("read", 1, "ms");  // nothing to check but that it neither fails nor writes
  SUCCEED();
}

TEST(Report, SpeedRatioIsAboveOneWhenFaster) {
  struct Case {
    double own, peer;
    const char* unit;
    double ratio;
  };
  const Case cases[] = {
      {200, 100, "MB/s", 2.0},    {50, 100, "MB/s", 0.5}, {10, 20, "ms", 2.0},
      {30, 15, "ms a file", 0.5}, {0, 15, "ms", 0.0},     {15, 0, "MB/s", 0.0},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(Report::SpeedRatio(c.own, c.peer, c.unit), c.ratio) << c.unit;
}

TEST(Report, GroupsThousands) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0"}, {999, "999"}, {4096, "4,096"}, {1000000, "1,000,000"}, {-12345, "-12,345"}};
  for (const auto& [n, text] : cases) EXPECT_EQ(Grouped(n), text);
}

}  // namespace
}  // namespace brevora::bench
