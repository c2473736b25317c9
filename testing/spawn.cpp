#include "testing/spawn.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace brevora::testing {

int SpawnAndWait(const std::string& program, const std::vector<std::string>& args,
                 const StandardStreams& streams) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!streams.in.empty()) posix_spawn_file_actions_addopen(&actions, 0, streams.in.c_str(), O_RDONLY, 0);
  const int outFlags = O_WRONLY | O_CREAT | O_TRUNC;
  if (!streams.out.empty()) posix_spawn_file_actions_addopen(&actions, 1, streams.out.c_str(), outFlags, 0600);
  if (!streams.err.empty()) posix_spawn_file_actions_addopen(&actions, 2, streams.err.c_str(), outFlags, 0600);
  pid_t pid = 0;
  int result = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, pointers.data(), environ) == 0) {
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  return result;
}

}  // namespace brevora::testing
