#include "testing/spawn.h"

#include <thread>

namespace brevora::testing {
namespace {

std::vector<std::string> Arguments(const std::string& program,
                                   const std::vector<std::string>& args) {
  std::vector<std::string> arguments = {program};
  arguments.insert(arguments.end(), args.begin(), args.end());
  return arguments;
}

// -1 for a program that did not start, died by a signal or ended unknown.
int Status(const services::ProcessEnd& end) {
  return end.started && end.signal == 0 ? end.exitCode : -1;
}

}  // namespace

SpawnedProgram::SpawnedProgram(const std::string& program, const std::vector<std::string>& args,
                               const StandardStreams& streams)
    : process_(Arguments(program, args), {.streams = streams}) {}

int SpawnedProgram::Wait() { return Status(process_.Wait()); }

int SpawnedProgram::Wait(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!Poll()) {
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return *Poll();
}

std::optional<int> SpawnedProgram::Poll() {
  const std::optional<services::ProcessEnd> end = process_.Poll();
  if (!end) return std::nullopt;
  return Status(*end);
}

int SpawnAndWait(const std::string& program, const std::vector<std::string>& args,
                 const StandardStreams& streams) {
  return SpawnedProgram(program, args, streams).Wait();
}

}  // namespace brevora::testing
