// window_directory: speed of the window directory. Find over 100 registered
// windows of the same class and title (each entry read and its socket probed),
// and the latency from Post to the handler across two processes: the parent
// clicks a button of a window in a forked child, the child's handler posts
// "activate" back, and half of that round trip is the post-to-handled time.
// Runs in a work folder (also BREVORA_HOME) in $TMPDIR or /tmp, removed
// however the run ends.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/work_folder.h"
#include "platform/windows/window_directory.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace brevora::windows;

constexpr const char* kForm = "ThunderRT5Form";
constexpr const char* kTitle = "Brevora Desktop";
constexpr const char* kButton = "ThunderRT5CommandButton";
// The sizes of the run, from the command line.
int windowCount = 100;
int findCount = 1000;
int roundTrips = 2000;
brevora::bench::Report* report = nullptr;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "window_directory: %s\n", what);
  std::exit(1);
}

double Microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

bool WaitReadable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, 5000) == 1;
}

void MeasureFind() {
  std::vector<std::unique_ptr<RegisteredWindow>> windows;
  for (int i = 0; i < windowCount; ++i) {
    windows.push_back(std::make_unique<RegisteredWindow>(
        kForm, kTitle, std::vector<ChildButton>{{kButton, "Refresh"}}));
  }
  if (Find(kForm, kTitle).size() != static_cast<std::size_t>(windowCount))
    Fail("Find lost windows");
  const auto start = Clock::now();
  std::size_t found = 0;
  for (int i = 0; i < findCount; ++i) found += Find(kForm, kTitle).size();
  const auto elapsed = Clock::now() - start;
  if (found != static_cast<std::size_t>(windowCount) * static_cast<std::size_t>(findCount))
    Fail("Find lost windows");
  std::printf("Find over %d windows: %.1f us per call (mean of %d)\n", windowCount,
              Microseconds(elapsed) / findCount, findCount);
  report->Figure("Find over " + std::to_string(windowCount) + " windows",
                 Microseconds(elapsed) / findCount, "us");
}

void MeasureLatency() {
  RegisteredWindow parent(kForm, "Bench parent", {});
  int ready[2];
  if (pipe(ready) != 0) Fail("pipe");
  const pid_t child = fork();
  if (child == 0) {
    RegisteredWindow window(kForm, "Bench child", {{kButton, "Refresh"}});
    const WindowHandle handle = window.handle();
    if (write(ready[1], &handle, sizeof handle) != sizeof handle) _exit(1);
    int left = roundTrips;
    while (left > 0 && WaitReadable(window.fd())) {
      window.HandlePending([&](const WindowMessage&) {
        Post(parent.handle(), WindowMessage::Activate());
        --left;
      });
    }
    _exit(left == 0 ? 0 : 1);
  }
  WindowHandle target = 0;
  if (read(ready[0], &target, sizeof target) != sizeof target) Fail("child did not start");
  std::vector<double> halves;
  halves.reserve(roundTrips);
  for (int i = 0; i < roundTrips; ++i) {
    const auto start = Clock::now();
    if (!Post(target, WindowMessage::Click(kButton, "Refresh"))) Fail("Post failed");
    std::size_t handled = 0;
    while (handled == 0) {
      if (!WaitReadable(parent.fd())) Fail("no answer");
      handled = parent.HandlePending([](const WindowMessage&) {});
    }
    halves.push_back(Microseconds(Clock::now() - start) / 2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail("child failed");
  std::sort(halves.begin(), halves.end());
  double sum = 0;
  for (double h : halves) sum += h;
  std::printf(
      "Post to handled across processes: %.1f us mean, %.1f us median, %.1f us 99th "
      "percentile (half of %d round trips)\n",
      sum / roundTrips, halves[roundTrips / 2], halves[roundTrips * 99 / 100], roundTrips);
  report->Figure("Post to handled across processes, median", halves[roundTrips / 2], "us");
}

}  // namespace

int main(int argc, char** argv) {
  brevora::bench::CommandLine line(
      "window_directory",
      "Speed of the window directory: Find over registered windows, and Post to handled\n"
      "across two processes.");
  line.Count("windows", "windows registered for Find", &windowCount, 1, 100000);
  line.Count("finds", "Find calls timed", &findCount, 1, 10000000);
  line.Count("round-trips", "posts timed across processes", &roundTrips, 1, 10000000);
  line.ParseOrExit(argc, argv);
  brevora::bench::WorkFolder work("window-directory-bench");
  brevora::bench::Report figures("window_directory", line.ResultsPath());
  report = &figures;
  MeasureFind();
  MeasureLatency();
  return 0;
}
