// Fuzzes ParseDesktopExec, the reader of a launcher's Exec line that the
// support library's shortcut resolver uses for the send tools of the phone
// sync. The input is the whole launcher file.
//
// A command read must have a program; and the words after it, joined into
// the argument text the resolver hands out (JoinArguments) and taken apart
// again as the phone sync engine does (SplitArguments), must come back
// exactly: a send tool gets the arguments its launcher names, no more, no less.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "phonesync/argument_words.h"
#include "support/desktop_entry.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"plain.desktop",
       "[Desktop Entry]\nType=Application\nName=Phone\nExec=/usr/bin/bluetooth-sendto %F\n"},
      {"quoted.desktop",
       "# a comment\n[Desktop Entry]\nName=Beam\nExec=\"/opt/ir tools/beam\" --to \"my "
       "\\\\\"best\\\\\" phone\" "
       "100%% %u\n[Desktop Action Other]\nExec=ignored\n"},
      {"escapes.desktop",
       "[Desktop Entry]\r\nExec=sender\\sword a\\tb \"back\\\\\\\\slash\" \"\" 'single'\r\n"},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::optional<std::vector<std::string>> words;
  Must("ParseDesktopExec", [&] { words = tabrelc::ParseDesktopExec(text); });
  if (!words) return 0;
  Check(!words->empty() && !words->front().empty(), "a command without a program");
  const std::vector<std::string> arguments(words->begin() + 1, words->end());
  std::string joined;
  Must("JoinArguments", [&] { joined = tabrelc::JoinArguments(arguments); });
  Check(brevora::bvsync::SplitArguments(joined) == arguments,
        "arguments changed on their way to the send tool");
  return 0;
}
