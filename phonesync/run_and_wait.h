#pragma once
// RunAndWait: runs a send program and waits for its end. The program is
// started with posix_spawn from an argument vector, never through a shell, so
// every argument reaches it exactly as given (blanks, quotes, "$(...)" and ";"
// included). It runs in `folder` with the caller's environment, with an empty
// signal mask and default signal dispositions.
#include <string>
#include <vector>

namespace brevora::bvsync {

struct ProcessEnd {
  bool started = false;  // false: nothing ran (missing program, bad folder...)
  int exitCode = -1;     // the exit code when it exited; -1 otherwise
  int signal = 0;        // the signal that ended it; 0 when it exited
  // Ran and exited with code 0. Death by a signal is a failure.
  bool Succeeded() const { return started && signal == 0 && exitCode == 0; }
};

// `arguments` holds the program (a path, or a bare name looked up in PATH)
// and its arguments, as native (UTF-8) strings; `folder` is a native path.
// Blocks until the program ends. An empty vector starts nothing.
ProcessEnd RunAndWait(const std::vector<std::string>& arguments, const std::string& folder);

}  // namespace brevora::bvsync
