#pragma once
// The folder a benchmark keeps its files in: "<TMPDIR or /tmp>/<prefix>-XXXXXX",
// made fresh, and gone after the run however the run ends. The object removes
// it when it goes; a small watcher process, started with it, removes whatever
// is left once the benchmark has ended any other way (std::exit, a crash,
// SIGINT, SIGTERM, even SIGKILL), retrying for a while when a program the
// benchmark started still writes there. Make it at the start of main, before
// any thread: the watcher is forked.
//
// The folder also becomes the benchmark's BREVORA_HOME (unless `home` is
// false) and TMPDIR (its "tmp" subfolder), so nothing a run does lands in the
// real home or is left in the system's temporary folder.
#include <sys/types.h>

#include <string>
#include <string_view>

namespace brevora::bench {

class WorkFolder {
 public:
  // Exits the program (status 1, a message on stderr) when the folder or the
  // watcher cannot be made.
  explicit WorkFolder(std::string_view prefix, bool home = true);
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  // The folder, without a trailing '/'.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int watcher_pipe_ = -1;  // write end; its closing (by exit or death) wakes the watcher
  pid_t watcher_ = -1;
};

// Removes `path` and everything in it; retries while the tree is still being
// written to, up to `tries` times. True when nothing is left.
bool RemoveTree(const std::string& path, int tries = 1);

}  // namespace brevora::bench
