// Fuzzes the `hotsync` program's command line: the bytes, cut at NUL bytes
// into arguments, taken apart by ParseHostCommandLine (register's library
// resolved without the file system: a name with "missing" in it is no file,
// a relative one lies in /opt). Nothing raises. A refused line says why (only
// an empty line says nothing); an accepted one has every option the program
// needs, its numbers in their ranges, and is the same request when it is
// written out again as arguments (in another order) and parsed anew.
#include <optional>
#include <string>
#include <vector>

#include "fuzz/arguments.h"
#include "fuzz/fuzz_target.h"
#include "platform/hotsync/host/host_arguments.h"
#include "platform/text/codepage.h"

namespace brevora::fuzz {
namespace {

using hotsync::host::HostCommandLine;
using Kind = HostCommandLine::Kind;

std::optional<std::string> Resolve(const std::string& library) {
  if (library.find("missing") != std::string::npos) return std::nullopt;
  return library.starts_with("/") ? library : "/opt/" + library;
}

bool SameRequest(const HostCommandLine& a, const HostCommandLine& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case Kind::kSync:
      return a.sync.device == b.sync.device && a.sync.user == b.sync.user &&
             a.sync.faults.failCall == b.sync.faults.failCall &&
             a.sync.faults.deviceFullAfter == b.sync.faults.deviceFullAfter &&
             a.sync.faults.cutListAfter == b.sync.faults.cutListAfter &&
             a.sync.faults.killCall == b.sync.faults.killCall;
    case Kind::kConfigure: {
      const auto& x = a.configure;
      const auto& y = b.configure;
      return x.user == y.user && x.conduit == y.conduit && x.scripted == y.scripted &&
             x.answer.has_value() == y.answer.has_value() &&
             (!x.answer || (x.answer->choice == y.answer->choice &&
                            x.answer->makeDefault == y.answer->makeDefault));
    }
    case Kind::kRegister:
      return a.conduit == b.conduit;
    default:
      return a.problem == b.problem;
  }
}

// The request written out as arguments, its options in reverse order of the
// program's usage.
std::vector<std::string> Written(const HostCommandLine& line) {
  using text::CpToUtf8;
  std::vector<std::string> args;
  const auto add = [&](const char* option, const std::string& value) {
    args.push_back(option);
    args.push_back(value);
  };
  switch (line.kind) {
    case Kind::kSync: {
      args.push_back("sync");
      const auto& f = line.sync.faults;
      if (f.killCall) add("--kill-call", std::to_string(*f.killCall));
      if (f.cutListAfter) add("--cut-list", std::to_string(*f.cutListAfter));
      if (f.deviceFullAfter) add("--device-full", std::to_string(*f.deviceFullAfter));
      if (f.failCall) add("--fail-call", std::to_string(*f.failCall));
      if (!line.sync.user.empty()) add("--user", CpToUtf8(line.sync.user));
      add("--device", line.sync.device);
      break;
    }
    case Kind::kConfigure: {
      args.push_back("configure");
      const auto& c = line.configure;
      if (c.scripted && !c.answer) args.push_back("--cancel");
      if (c.answer && c.answer->makeDefault) args.push_back("--default");
      if (c.answer) add("--choice", std::to_string(c.answer->choice));
      add("--conduit", CpToUtf8(c.conduit));
      add("--user", CpToUtf8(c.user));
      break;
    }
    case Kind::kRegister:
      args.push_back("register");
      add("--creator", CpToUtf8(line.conduit.creator));
      add("--directory", CpToUtf8(line.conduit.directory));
      add("--library", CpToUtf8(line.conduit.library));
      add("--name", CpToUtf8(line.conduit.name));
      break;
    default:
      break;
  }
  return args;
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  using namespace std::string_literals;
  return {
      {"sync.line", "sync\0--device\0/tmp/palm\0--user\0Example"s},
      {"faults.line",
       "sync\0--device\0d\0--fail-call\0"
       "3\0--device-full\0"
       "1024\0--cut-list\0"
       "2\0--kill-call\0"
       "9"s},
      {"configure.line",
       "configure\0--user\0Ren\xC3\xA9\0--conduit\0Tabulyn\0--choice\0"
       "2\0--default"s},
      {"cancel.line", "configure\0--cancel\0--user\0Bob\0--conduit\0Scrivane"s},
      {"register.line",
       "register\0--name\0Tabulyn\0--library\0lib/libtabrel.so\0--directory\0tabrel\0--creator\0TBRL"s},
      {"missing.line",
       "register\0--name\0N\0--library\0missing.so\0--directory\0d\0--creator\0CCCC"s},
      {"help.line", "-h"s},
      {"bad.line", "sync\0--device"s},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  const std::vector<std::string> args = Arguments(data, size);
  Must("the hotsync command line", [&] {
    const HostCommandLine line = hotsync::host::ParseHostCommandLine(args, Resolve);
    switch (line.kind) {
      case Kind::kHelp:
        Check(args.size() >= 1 && (args[0] == "--help" || args[0] == "-h"), "help without asking");
        return;
      case Kind::kUsage:
        Check(line.problem.empty() == args.empty(), "a refusal that does not say why");
        return;
      case Kind::kFailure:
        Check(args[0] == "register" && line.problem.ends_with(": no such library"),
              "an unexpected failure");
        return;
      case Kind::kSync: {
        Check(args[0] == "sync", "a sync without the command");
        const auto& f = line.sync.faults;
        Check(!f.failCall || *f.failCall > 0, "a failing call numbered 0");
        Check(!f.killCall || *f.killCall > 0, "a killing call numbered 0");
        break;
      }
      case Kind::kConfigure:
        Check(args[0] == "configure", "a configure without the command");
        Check(!line.configure.answer || (line.configure.answer->choice >= 0 &&
                                         line.configure.answer->choice < hotsync::kActionChoices),
              "a choice outside 0-3");
        Check(!line.configure.answer || line.configure.scripted, "an answer that is not given");
        break;
      case Kind::kRegister:
        Check(args[0] == "register", "a register without the command");
        Check(line.conduit.library.starts_with("/"), "a library not by its absolute path");
        break;
    }
    const HostCommandLine again = hotsync::host::ParseHostCommandLine(Written(line), Resolve);
    Check(SameRequest(line, again), "the request written out again is another one");
  });
  return 0;
}
