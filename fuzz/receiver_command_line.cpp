// Fuzzes the receiver program's command line (vantapc): the bytes, cut at NUL
// bytes into arguments, taken apart by ParseCommandLine. It never raises, and
// it says start exactly when an argument holds "-start", else stop exactly
// when one holds "-stop", else show (neither word can span two arguments).
#include <string>
#include <vector>

#include "fuzz/arguments.h"
#include "fuzz/fuzz_target.h"
#include "remote/receiver_settings.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  using namespace std::string_literals;
  return {{"start.line", "-start"s},
          {"stop.line", "-stop"s},
          {"both.line", "-stop\0-start"s},
          {"show.line", "COM3\0-st\0art"s}};
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using brevora::remote::StartupAction;
  const std::vector<std::string> args = Arguments(data, size);
  Must("the receiver's command line", [&] {
    const StartupAction action = brevora::remote::ParseCommandLine(args);
    const auto any = [&](const char* word) {
      for (const std::string& a : args) {
        if (a.find(word) != std::string::npos) return true;
      }
      return false;
    };
    const StartupAction expected = any("-start")  ? StartupAction::kStart
                                   : any("-stop") ? StartupAction::kStop
                                                  : StartupAction::kShow;
    Check(action == expected, "another action than the line asks");
  });
  return 0;
}
