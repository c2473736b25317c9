#pragma once
// Runs a program of the build for a benchmark's timing: spawned directly (no
// shell), its standard output thrown away, waited for.
#include <string>
#include <vector>

namespace brevora::bench {

// The program's exit status; -1 when it did not start or died by a signal.
int RunQuiet(const std::string& program, const std::vector<std::string>& args);

}  // namespace brevora::bench
