#pragma once
// Runs a program of the build from a test or a benchmark: the platform's
// spawner (platform/services/spawn.h) seen as an exit status. SpawnAndWait
// waits for the program; SpawnedProgram keeps it running beside the caller (a
// window to drive, two HotSyncs at once, a run to kill midway). No test
// framework is needed, so benchmarks use it too.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/services/spawn.h"

namespace brevora::testing {

// Files for the child's standard streams; an empty name keeps the caller's.
// Output files are created or emptied.
using StandardStreams = services::StandardStreams;

// A started program. Its exit status is -1 when it did not start or died by a
// signal. A program still running when the handle is destroyed is killed and
// reaped, so a failing test leaves no process behind.
class SpawnedProgram {
 public:
  SpawnedProgram(const std::string& program, const std::vector<std::string>& args,
                 const StandardStreams& streams);

  bool started() const { return process_.Started(); }
  // Sends `signal` while the program runs; nothing once it has ended.
  void Signal(int signal) { process_.Signal(signal); }
  // Waits for the end and gives the exit status (the same on every call).
  int Wait();
  // The exit status once the program ended within `timeout`; -1 when it did
  // not end in time (it keeps running), did not start or died by a signal.
  int Wait(std::chrono::milliseconds timeout);
  bool Running() { return !Poll(); }
  // The exit status when the program has ended, nullopt while it runs.
  std::optional<int> Poll();

 private:
  services::Process process_;
};

// The program's exit status; -1 when it did not start or died by a signal.
int SpawnAndWait(const std::string& program, const std::vector<std::string>& args,
                 const StandardStreams& streams);

}  // namespace brevora::testing
