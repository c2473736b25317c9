#include "bench/lib/report.h"

#include <cstdio>
#include <utility>

namespace brevora::bench {
namespace {

bool IsRate(const std::string& unit) { return unit.size() >= 2 && unit.ends_with("/s"); }

// Tabs and line breaks would split a row.
std::string Field(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace

Report::Report(std::string bench, std::string results_path)
    : bench_(std::move(bench)), results_path_(std::move(results_path)) {}

double Report::SpeedRatio(double own, double peer, const std::string& unit) {
  if (own <= 0 || peer <= 0) return 0;
  return IsRate(unit) ? own / peer : peer / own;
}

double Report::Best(const Samples& values, const std::string& unit) {
  return IsRate(unit) ? values.Max() : values.Min();
}

double Report::Worst(const Samples& values, const std::string& unit) {
  return IsRate(unit) ? values.Min() : values.Max();
}

void Report::Figure(const std::string& what, const Samples& values, const std::string& unit) {
  Append(what, &values, 0, unit, "", nullptr);
}

void Report::Figure(const std::string& what, double value, const std::string& unit) {
  Append(what, nullptr, value, unit, "", nullptr);
}

void Report::Compare(const std::string& what, const Samples& own, const std::string& peer,
                     const Samples& peer_values, const std::string& unit) {
  const double mine = Best(own, unit);
  const double theirs = Best(peer_values, unit);
  std::printf("  %s: %.4g %s against %s %.4g %s: %.2f x %s's speed (best runs)\n", what.c_str(),
              mine, unit.c_str(), peer.c_str(), theirs, unit.c_str(),
              SpeedRatio(mine, theirs, unit), peer.c_str());
  Append(what, &own, 0, unit, peer, &peer_values);
}

void Report::Append(const std::string& what, const Samples* values, double value,
                    const std::string& unit, const std::string& peer, const Samples* peer_values) {
  if (results_path_.empty()) return;
  std::FILE* file = std::fopen(results_path_.c_str(), "a");
  if (!file) {
    if (!warned_)
      std::fprintf(stderr, "%s: cannot write %s\n", bench_.c_str(), results_path_.c_str());
    warned_ = true;
    return;
  }
  std::fprintf(file, "%s\t%s\t%s\t", Field(bench_).c_str(), Field(what).c_str(),
               Field(unit).c_str());
  if (values) {
    std::fprintf(file, "%.6g\t%.6g\t%.6g\t", Best(*values, unit), values->Median(),
                 Worst(*values, unit));
  } else {
    std::fprintf(file, "%.6g\t\t\t", value);
  }
  std::fprintf(file, "%s\t", Field(peer).c_str());
  if (peer_values) std::fprintf(file, "%.6g", Best(*peer_values, unit));
  std::fputc('\n', file);
  std::fclose(file);
}

std::string Grouped(int64_t n) {
  const std::string digits = std::to_string(n);
  const size_t first = n < 0 ? 1 : 0;  // after the sign
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > first && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

}  // namespace brevora::bench
