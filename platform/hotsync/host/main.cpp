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

#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/hotsync/action_dialog.h"
#include "platform/hotsync/host/host_commands.h"
#include "platform/text/codepage.h"

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

// "--name value" options and "--flag" switches after the command.
struct Arguments {
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
};

std::optional<Arguments> Parse(int argc, char** argv, const std::set<std::string>& valued,
                               const std::set<std::string>& switches, std::string& problem) {
  Arguments args;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (switches.contains(arg)) {
      args.flags.insert(arg);
    } else if (valued.contains(arg)) {
      if (i + 1 >= argc) {
        problem = arg + " needs a value";
        return std::nullopt;
      }
      if (!args.values.emplace(arg, argv[++i]).second) {
        problem = arg + " is given twice";
        return std::nullopt;
      }
    } else {
      problem = "unknown argument " + arg;
      return std::nullopt;
    }
  }
  return args;
}

template <class T>
std::optional<T> Number(const std::string& text) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Code-page text of a UTF-8 argument; nullopt when the code page can't hold it.
std::optional<std::string> CodePage(const std::string& utf8) { return brevora::text::Utf8ToCpExact(utf8); }

int SyncCommand(int argc, char** argv) {
  std::string problem;
  const auto args = Parse(argc, argv,
                          {"--device", "--user", "--fail-call", "--device-full", "--cut-list", "--kill-call"}, {},
                          problem);
  if (!args) return Usage(problem);
  host::SyncOptions options;
  const auto& v = args->values;
  if (!v.contains("--device")) return Usage("sync needs --device");
  options.device = v.at("--device");
  if (v.contains("--user")) {
    const auto user = CodePage(v.at("--user"));
    if (!user || user->empty()) return Usage("--user needs a name the code page can hold");
    options.user = *user;
  }
  if (v.contains("--fail-call")) {
    options.faults.failCall = Number<uint64_t>(v.at("--fail-call"));
    if (!options.faults.failCall || *options.faults.failCall == 0) return Usage("--fail-call needs a number from 1");
  }
  if (v.contains("--device-full")) {
    options.faults.deviceFullAfter = Number<uint64_t>(v.at("--device-full"));
    if (!options.faults.deviceFullAfter) return Usage("--device-full needs a number of bytes");
  }
  if (v.contains("--cut-list")) {
    options.faults.cutListAfter = Number<uint32_t>(v.at("--cut-list"));
    if (!options.faults.cutListAfter) return Usage("--cut-list needs a number of entries");
  }
  if (v.contains("--kill-call")) {
    options.faults.killCall = Number<uint64_t>(v.at("--kill-call"));
    if (!options.faults.killCall || *options.faults.killCall == 0) return Usage("--kill-call needs a number from 1");
  }
  return host::Sync(options, stderr);
}

int ConfigureCommand(int argc, char** argv) {
  std::string problem;
  const auto args = Parse(argc, argv, {"--user", "--conduit", "--choice"}, {"--default", "--cancel"}, problem);
  if (!args) return Usage(problem);
  const auto& v = args->values;
  if (!v.contains("--user") || !v.contains("--conduit")) return Usage("configure needs --user and --conduit");
  const auto user = CodePage(v.at("--user"));
  const auto conduit = CodePage(v.at("--conduit"));
  if (!user || !conduit) return Usage("names must be ones the code page can hold");
  const bool cancel = args->flags.contains("--cancel");
  if (cancel && (v.contains("--choice") || args->flags.contains("--default"))) {
    return Usage("--cancel goes alone");
  }
  if (args->flags.contains("--default") && !v.contains("--choice")) return Usage("--default goes with --choice");

  // The dialog: answered from the command line, else asked on the terminal,
  // else (no one to ask) cancelled.
  if (v.contains("--choice") || cancel) {
    auto scripted = std::make_shared<ScriptedActionDialog>();
    if (cancel) {
      scripted->Push(std::nullopt);
    } else {
      const auto choice = Number<int32_t>(v.at("--choice"));
      if (!choice || *choice < 0 || *choice >= kActionChoices) return Usage("--choice needs 0, 1, 2 or 3");
      scripted->Push(ScriptedActionDialog::Answer{*choice, args->flags.contains("--default")});
    }
    InstallActionDialog(scripted);
  } else if (isatty(STDIN_FILENO)) {
    InstallActionDialog(std::make_shared<ConsoleActionDialog>(stdin, stdout));
  }
  return host::Configure(*user, *conduit, stdout, stderr);
}

int RegisterCommand(int argc, char** argv) {
  std::string problem;
  const auto args = Parse(argc, argv, {"--name", "--library", "--directory", "--creator"}, {}, problem);
  if (!args) return Usage(problem);
  const auto& v = args->values;
  for (const char* key : {"--name", "--library", "--directory", "--creator"}) {
    if (!v.contains(key)) return Usage(std::string("register needs ") + key);
  }
  // The library by its absolute path, so a HotSync finds it from any folder.
  char resolved[PATH_MAX];
  if (realpath(v.at("--library").c_str(), resolved) == nullptr) {
    std::fprintf(stderr, "hotsync: %s: no such library\n", v.at("--library").c_str());
    return 1;
  }
  const auto name = CodePage(v.at("--name"));
  const auto library = CodePage(resolved);
  const auto directory = CodePage(v.at("--directory"));
  const auto creator = CodePage(v.at("--creator"));
  if (!name || !library || !directory || !creator) return Usage("names must be ones the code page can hold");
  return host::Register({*name, *library, *directory, *creator}, stdout, stderr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("");
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "sync") return SyncCommand(argc, argv);
  if (command == "configure") return ConfigureCommand(argc, argv);
  if (command == "register") return RegisterCommand(argc, argv);
  return Usage("unknown command " + std::string(command));
}
