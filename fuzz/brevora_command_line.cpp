// Fuzzes the `brevora` program's command line up to the file it imports: the
// bytes, cut at NUL bytes into arguments (UTF-8, made code page as the
// program does), joined into the command text (CommandText) and taken apart
// by the application object (ParseCommandLine); the file is the text left,
// without its quotes, as the window's import gets it. Nothing raises. Without
// the server switch the text comes back whole. With it, the name has no blanks
// at its ends, and so has the text left. For the lines people type, the file
// and the server name are exactly the arguments given: one file (with blanks
// or not) and, anywhere around it, SERVERCONDUIT=<name> (any case, the name
// without blanks).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_cleanup.h"
#include "frontend/brevora/command_text.h"
#include "frontend/command_line.h"
#include "fuzz/arguments.h"
#include "fuzz/fuzz_target.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::fuzz {
namespace {

constexpr std::string_view kSwitch = "SERVERCONDUIT";

bool HasSwitchWord(std::string_view text) {
  return text::UCase(text).find(kSwitch) != std::string::npos;
}

// The name of an argument SERVERCONDUIT=<name> (any case) with a name of no
// blank and no quote; nullopt for any other argument.
std::optional<std::string> PlainSwitch(const std::string& arg) {
  const std::string upper = text::UCase(arg);
  if (!upper.starts_with(std::string(kSwitch) + "=")) return std::nullopt;
  const std::string name = arg.substr(kSwitch.size() + 1);
  if (name.empty() || name.find_first_of(" \"") != std::string::npos || HasSwitchWord(name))
    return std::nullopt;
  return name;
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  using namespace std::string_literals;
  return {
      {"file.line", "/home/ann/Budget.tbr"s},
      {"blanks.line", "/home/ann/My Files/Road Trip.scv"s},
      {"server.line", "SERVERCONDUIT=Office\0/tmp/a b.tbr"s},
      {"quoted_server.line", "serverconduit=\"Main Office\""s},
      {"accents.line", "/home/ren\xC3\xA9/Caf\xC3\xA9.tbr\0ServerConduit=Caf\xC3\xA9"s},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  std::vector<std::string> args = Arguments(data, size);
  for (std::string& a : args) a = text::Utf8ToCp(a);

  Must("the command line", [&] {
    const std::string command = frontend::program::CommandText(args);
    Check(text::UCase(command).size() == command.size(), "case folding changed the text's length");
    const frontend::CommandLine parsed = frontend::ParseCommandLine(command);
    const std::string file = fs::StripQuotes(parsed.rest);
    const std::size_t p = text::UCase(command).find(kSwitch);
    if (p == std::string::npos || command.find('=', p) == std::string::npos) {
      Check(!parsed.server && parsed.serverName.empty(), "a server without the switch");
      Check(parsed.rest == command, "the text without the switch did not come back whole");
    } else {
      Check(parsed.server, "the switch was not taken");
      Check(parsed.serverName == core::Trim(parsed.serverName),
            "blanks at the ends of the server name");
      Check(parsed.rest == core::Trim(parsed.rest), "blanks at the ends of the text left");
    }

    // One file without quotes and at most one plain switch, nothing else.
    std::vector<std::string> files;
    std::vector<std::string> names;
    for (const std::string& a : args) {
      if (const auto name = PlainSwitch(a)) {
        names.push_back(*name);
      } else if (!a.empty() && a.find('"') == std::string::npos && !HasSwitchWord(a)) {
        files.push_back(a);
      } else {
        return;
      }
    }
    if (files.size() != 1 || names.size() > 1) return;
    Check(file == files[0], "the file is not the one given: " + file);
    Check(parsed.server == !names.empty(), "the switch given was not taken");
    if (!names.empty())
      Check(parsed.serverName == names[0], "the server name is not the one given");
  });
  return 0;
}
