#pragma once
// The command line of the `hotsync` program taken apart, without running
// anything: which command it asks for with its options checked, or why it is
// refused. main.cpp prints and runs what comes back.
//   hotsync sync --device <folder> [--user <name>]
//                [--fail-call <n>] [--device-full <bytes>] [--cut-list <k>] [--kill-call <n>]
//   hotsync configure --user <name> --conduit <name> [--choice <0-3> [--default] | --cancel]
//   hotsync register --name <name> --library <file.so> --directory <folder> --creator <four>
//   hotsync --help | -h
// Options come in any order after the command, each once; a valued option
// takes the next argument whatever it holds. Names are UTF-8 on the line and
// code page in what comes back: one the code page can't hold is refused.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/hotsync/action_dialog.h"
#include "platform/hotsync/host/conduit_registry.h"
#include "platform/hotsync/host/host_commands.h"

namespace brevora::hotsync::host {

struct ConfigureRequest {
  std::string user;     // code page
  std::string conduit;  // code page
  // The dialog's answer given on the line (--choice or --cancel); without
  // one the dialog asks.
  bool scripted = false;
  std::optional<ScriptedActionDialog::Answer> answer;  // none with --cancel
};

struct HostCommandLine {
  enum class Kind { kHelp, kUsage, kFailure, kSync, kConfigure, kRegister };
  Kind kind = Kind::kUsage;
  // kUsage: what is wrong ("" for a line without a command); kFailure: the
  // line for stderr, without the program's name.
  std::string problem;
  SyncOptions sync;             // kSync
  ConfigureRequest configure;   // kConfigure
  ConduitRegistration conduit;  // kRegister: the library by its absolute path
};

// The absolute path of register's --library (as given, UTF-8); nullopt when
// there is no such file.
using LibraryResolver = std::function<std::optional<std::string>(const std::string&)>;

// `arguments` are the program's arguments after its name. Register's library
// is resolved before the names are checked: a missing one is a kFailure.
HostCommandLine ParseHostCommandLine(const std::vector<std::string>& arguments,
                                     const LibraryResolver& resolve);

}  // namespace brevora::hotsync::host
