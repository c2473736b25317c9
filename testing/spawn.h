#pragma once
// Runs a program of the build from a test or a benchmark: spawned directly
// (never through a shell), its standard streams opened on the given files,
// and waited for. No test framework is needed, so benchmarks use it too.
#include <string>
#include <vector>

namespace brevora::testing {

// Files for the child's standard streams; an empty name keeps the caller's.
// Output files are created or emptied.
struct StandardStreams {
  std::string in{};
  std::string out{};
  std::string err{};
};

// The program's exit status; -1 when it did not start or died by a signal.
int SpawnAndWait(const std::string& program, const std::vector<std::string>& args,
                 const StandardStreams& streams);

}  // namespace brevora::testing
