#pragma once
// Test support: runs a program of the build (never through a shell), its
// stdin empty, and gives back its exit status and what it wrote.
#include <string>
#include <vector>

namespace brevora::testing {

struct ProgramResult {
  int status = -1;  // the exit status; -1 when it did not start or died by a signal
  std::string out;
  std::string err;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace brevora::testing
