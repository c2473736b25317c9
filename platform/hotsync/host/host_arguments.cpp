#include "platform/hotsync/host/host_arguments.h"

#include <charconv>
#include <map>
#include <set>
#include <string_view>

#include "platform/text/codepage.h"

namespace brevora::hotsync::host {
namespace {

using Kind = HostCommandLine::Kind;

HostCommandLine Usage(std::string problem) {
  HostCommandLine line;
  line.kind = Kind::kUsage;
  line.problem = std::move(problem);
  return line;
}

// "--name value" options and "--flag" switches after the command.
struct Options {
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
};

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments,
                                    const std::set<std::string>& valued,
                                    const std::set<std::string>& switches, std::string& problem) {
  Options options;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (switches.contains(arg)) {
      options.flags.insert(arg);
    } else if (valued.contains(arg)) {
      if (i + 1 >= arguments.size()) {
        problem = arg + " needs a value";
        return std::nullopt;
      }
      if (!options.values.emplace(arg, arguments[++i]).second) {
        problem = arg + " is given twice";
        return std::nullopt;
      }
    } else {
      problem = "unknown argument " + arg;
      return std::nullopt;
    }
  }
  return options;
}

template <class T>
std::optional<T> Number(const std::string& text) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Code-page text of a UTF-8 argument; nullopt when the code page can't hold it.
std::optional<std::string> CodePage(const std::string& utf8) { return text::Utf8ToCpExact(utf8); }

HostCommandLine SyncLine(const std::vector<std::string>& arguments) {
  std::string problem;
  const auto args = ParseOptions(
      arguments,
      {"--device", "--user", "--fail-call", "--device-full", "--cut-list", "--kill-call"}, {},
      problem);
  if (!args) return Usage(problem);
  HostCommandLine line;
  line.kind = Kind::kSync;
  SyncOptions& options = line.sync;
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
    if (!options.faults.failCall || *options.faults.failCall == 0)
      return Usage("--fail-call needs a number from 1");
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
    if (!options.faults.killCall || *options.faults.killCall == 0)
      return Usage("--kill-call needs a number from 1");
  }
  return line;
}

HostCommandLine ConfigureLine(const std::vector<std::string>& arguments) {
  std::string problem;
  const auto args = ParseOptions(arguments, {"--user", "--conduit", "--choice"},
                                 {"--default", "--cancel"}, problem);
  if (!args) return Usage(problem);
  const auto& v = args->values;
  if (!v.contains("--user") || !v.contains("--conduit"))
    return Usage("configure needs --user and --conduit");
  const auto user = CodePage(v.at("--user"));
  const auto conduit = CodePage(v.at("--conduit"));
  if (!user || !conduit) return Usage("names must be ones the code page can hold");
  const bool cancel = args->flags.contains("--cancel");
  if (cancel && (v.contains("--choice") || args->flags.contains("--default"))) {
    return Usage("--cancel goes alone");
  }
  if (args->flags.contains("--default") && !v.contains("--choice"))
    return Usage("--default goes with --choice");

  HostCommandLine line;
  line.kind = Kind::kConfigure;
  ConfigureRequest& request = line.configure;
  request.user = *user;
  request.conduit = *conduit;
  request.scripted = cancel || v.contains("--choice");
  if (v.contains("--choice")) {
    const auto choice = Number<int32_t>(v.at("--choice"));
    if (!choice || *choice < 0 || *choice >= kActionChoices)
      return Usage("--choice needs 0, 1, 2 or 3");
    request.answer = ScriptedActionDialog::Answer{*choice, args->flags.contains("--default")};
  }
  return line;
}

HostCommandLine RegisterLine(const std::vector<std::string>& arguments,
                             const LibraryResolver& resolve) {
  std::string problem;
  const auto args =
      ParseOptions(arguments, {"--name", "--library", "--directory", "--creator"}, {}, problem);
  if (!args) return Usage(problem);
  const auto& v = args->values;
  for (const char* key : {"--name", "--library", "--directory", "--creator"}) {
    if (!v.contains(key)) return Usage(std::string("register needs ") + key);
  }
  // The library by its absolute path, so a HotSync finds it from any folder.
  const std::optional<std::string> resolved = resolve(v.at("--library"));
  if (!resolved) {
    HostCommandLine line;
    line.kind = Kind::kFailure;
    line.problem = v.at("--library") + ": no such library";
    return line;
  }
  const auto name = CodePage(v.at("--name"));
  const auto library = CodePage(*resolved);
  const auto directory = CodePage(v.at("--directory"));
  const auto creator = CodePage(v.at("--creator"));
  if (!name || !library || !directory || !creator)
    return Usage("names must be ones the code page can hold");
  HostCommandLine line;
  line.kind = Kind::kRegister;
  line.conduit = {*name, *library, *directory, *creator};
  return line;
}

}  // namespace

HostCommandLine ParseHostCommandLine(const std::vector<std::string>& arguments,
                                     const LibraryResolver& resolve) {
  if (arguments.empty()) return Usage("");
  const std::string& command = arguments[0];
  if (command == "--help" || command == "-h") {
    HostCommandLine line;
    line.kind = Kind::kHelp;
    return line;
  }
  if (command == "sync") return SyncLine(arguments);
  if (command == "configure") return ConfigureLine(arguments);
  if (command == "register") return RegisterLine(arguments, resolve);
  return Usage("unknown command " + command);
}

}  // namespace brevora::hotsync::host
