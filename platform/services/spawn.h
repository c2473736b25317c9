#pragma once
// Starting programs: posix_spawn with an argument vector, never through a
// shell, so every argument reaches the program exactly as given (blanks,
// quotes, "$(...)" and ";" included). The program is a path, or a bare name
// looked up in PATH, and runs with the caller's environment. The options say
// where it runs, whether its signals start afresh and where its standard
// streams go; the caller waits for its end or leaves it running on its own.
// Death by a signal is a failure. Nothing here raises.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace brevora::services {

// Files (native paths) for the child's standard streams; an empty name keeps
// the caller's. Output files are created (mode 0600) or emptied.
struct StandardStreams {
  std::string in{};
  std::string out{};
  std::string err{};
};

struct SpawnOptions {
  std::string folder{};  // the working folder (native path); empty: the caller's
  // An empty signal mask and default dispositions, so that a caller that
  // ignores SIGPIPE or SIGINT does not pass that on.
  bool resetSignals = false;
  // Opened before the change of folder: relative names are the caller's.
  StandardStreams streams{};
};

struct ProcessEnd {
  bool started = false;  // false: nothing ran (missing program, bad folder...)
  int exitCode = -1;     // the exit code when it exited; -1 otherwise
  int signal = 0;        // the signal that ended it; 0 when it exited
  // Ran and exited with code 0.
  bool Succeeded() const { return started && signal == 0 && exitCode == 0; }
};

// A started program, owned by the handle until it has been waited for or
// detached. One still running when the handle ends is killed and reaped, so
// that no path leaves a process behind.
class Process {
 public:
  // `arguments` holds the program and its arguments (native strings). Nothing
  // starts for an empty vector or program, a program that can't be run, a
  // folder that can't be entered or a stream file that can't be opened.
  explicit Process(const std::vector<std::string>& arguments, const SpawnOptions& options = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Started() const { return started_; }
  // Sends `signal` while the program runs; nothing once it has ended or been
  // detached.
  void Signal(int signal);
  // Waits for the end (the same on every call). An end that can't be learnt,
  // and the end of a detached program, is no success.
  ProcessEnd Wait();
  // The end once the program has ended; nullopt while it runs.
  std::optional<ProcessEnd> Poll();
  // Leaves the program running on its own: a thread reaps it when it ends.
  void Detach();

 private:
  // One waitpid with `waitFlags`; records the end once it is known.
  void Reap(int waitFlags);

  bool started_ = false;
  pid_t pid_ = -1;  // while the handle owns a running program
  std::optional<ProcessEnd> end_;
};

// Starts the program and waits for its end.
ProcessEnd RunAndWait(const std::vector<std::string>& arguments, const SpawnOptions& options = {});

// Starts the program and leaves it running; false when it could not start.
bool SpawnDetached(const std::vector<std::string>& arguments, const SpawnOptions& options = {});

}  // namespace brevora::services
