// hotsync: the stand-in for the HotSync Manager (host_commands.h).
//   hotsync sync --device <folder> [--user <name>]
//                [--fail-call <n>] [--device-full <bytes>] [--cut-list <k>] [--kill-call <n>]
//   hotsync configure --user <name> --conduit <name> [--choice <0-3> [--default] | --cancel]
//   hotsync register --name <name> --library <file.so> --directory <folder> --creator <four>
// Exit status: 0 done, 1 failed (a line on stderr says why), 2 bad usage,
// 3 a sync ran but a conduit logged a failure (stderr names the log),
// 4 another HotSync of the handheld or its user is running (nothing done).
// The fault options are for tests (device.h).
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/hotsync/action_dialog.h"
#include "platform/hotsync/host/host_arguments.h"
#include "platform/hotsync/host/host_commands.h"

namespace {

using namespace brevora::hotsync;

constexpr const char* kUsage =
    "usage:\n"
    "  hotsync sync --device <folder> [--user <name>]\n"
    "               [--fail-call <n>] [--device-full <bytes>] [--cut-list <k>] [--kill-call <n>]\n"
    "  hotsync configure --user <name> --conduit <name> [--choice <0-3> [--default] | --cancel]\n"
    "  hotsync register --name <name> --library <file.so> --directory <folder> --creator <four>\n"
    "exit status:\n"
    "  0 done; 1 failed (stderr says why); 2 bad usage;\n"
    "  3 a conduit logged a failure (stderr names the HotSync log);\n"
    "  4 another HotSync of this handheld or of its user is running: nothing was done\n"
    "the sync options after --user inject faults, for tests.\n";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::fprintf(stderr, "hotsync: %s\n", problem.c_str());
  std::fputs(kUsage, stderr);
  return 2;
}

// The library's absolute path; nullopt when there is no such file.
std::optional<std::string> RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
  return std::string(resolved);
}

// The dialog of configure: answered from the command line, else asked on the
// terminal, else (no one to ask) cancelled.
void InstallDialog(const host::ConfigureRequest& request) {
  if (request.scripted) {
    auto scripted = std::make_shared<ScriptedActionDialog>();
    scripted->Push(request.answer);
    InstallActionDialog(scripted);
  } else if (isatty(STDIN_FILENO)) {
    InstallActionDialog(std::make_shared<ConsoleActionDialog>(stdin, stdout));
  }
}

}  // namespace

int main(int argc, char** argv) {
  using Kind = host::HostCommandLine::Kind;
  const host::HostCommandLine line = host::ParseHostCommandLine({argv + 1, argv + argc}, RealPath);
  switch (line.kind) {
    case Kind::kHelp:
      std::fputs(kUsage, stdout);
      return 0;
    case Kind::kUsage:
      return Usage(line.problem);
    case Kind::kFailure:
      std::fprintf(stderr, "hotsync: %s\n", line.problem.c_str());
      return 1;
    case Kind::kSync:
      return host::Sync(line.sync, stderr);
    case Kind::kConfigure:
      InstallDialog(line.configure);
      return host::Configure(line.configure.user, line.configure.conduit, stdout, stderr);
    case Kind::kRegister:
      return host::Register(line.conduit, stdout, stderr);
  }
  return Usage("");
}
