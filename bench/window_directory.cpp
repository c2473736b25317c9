// window_directory: speed of the window directory. Find over 100 registered
// windows of the same class and title (each entry read and its socket probed),
// and the latency from Post to the handler across two processes: the parent
// clicks a button of a window in a forked child, the child's handler posts
// "activate" back, and half of that round trip is the post-to-handled time.
// Runs in a fresh temporary BREVORA_HOME ($TMPDIR or /tmp), removed at the end.
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

#include "platform/windows/window_directory.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace brevora::windows;

constexpr const char* kForm = "ThunderRT5Form";
constexpr const char* kTitle = "Brevora Desktop";
constexpr const char* kButton = "ThunderRT5CommandButton";
constexpr int kWindows = 100;
constexpr int kFinds = 1000;
constexpr int kRoundTrips = 2000;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "window_directory: %s\n", what);
  std::exit(1);
}

double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

bool WaitReadable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, 5000) == 1;
}

void MeasureFind() {
  std::vector<std::unique_ptr<RegisteredWindow>> windows;
  for (int i = 0; i < kWindows; ++i) {
    windows.push_back(std::make_unique<RegisteredWindow>(
        kForm, kTitle, std::vector<ChildButton>{{kButton, "Refresh"}}));
  }
  if (Find(kForm, kTitle).size() != kWindows) Fail("Find lost windows");
  const auto start = Clock::now();
  std::size_t found = 0;
  for (int i = 0; i < kFinds; ++i) found += Find(kForm, kTitle).size();
  const auto elapsed = Clock::now() - start;
  if (found != std::size_t{kWindows} * kFinds) Fail("Find lost windows");
  std::printf("Find over %d windows: %.1f us per call (mean of %d)\n", kWindows,
              Microseconds(elapsed) / kFinds, kFinds);
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
    int left = kRoundTrips;
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
  halves.reserve(kRoundTrips);
  for (int i = 0; i < kRoundTrips; ++i) {
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
  std::printf("Post to handled across processes: %.1f us mean, %.1f us median, %.1f us 99th "
              "percentile (half of %d round trips)\n",
              sum / kRoundTrips, halves[kRoundTrips / 2], halves[kRoundTrips * 99 / 100],
              kRoundTrips);
}

}  // namespace

int main() {
  namespace stdfs = std::filesystem;
  std::string home = (stdfs::temp_directory_path() / "brevora-bench-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) Fail("mkdtemp");
  setenv("BREVORA_HOME", home.c_str(), 1);
  MeasureFind();
  MeasureLatency();
  std::error_code ignored;
  stdfs::remove_all(home, ignored);
  return 0;
}
