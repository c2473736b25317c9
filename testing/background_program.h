#pragma once
// Test support: a program of the build started in the background (spawned
// directly, never through a shell, with the caller's environment), for tests
// that act on it while it runs and then wait for its end. A program still
// running when the object goes is killed and reaped.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace brevora::testing {

class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& program, const std::vector<std::string>& args);
  ~BackgroundProgram();
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;

  bool Started() const { return pid_ > 0; }
  bool Running();
  // The exit status once it ended within `timeout`; -1 when it did not end in
  // time, did not start or died by a signal.
  int Wait(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  int status_ = -1;  // set once reaped
};

}  // namespace brevora::testing
