// Fuzzes the reader of the line one receiver instance sends another over the
// instance socket, fed in pieces as they arrive. Checked: it never takes more
// than its limit, and a complete line is exactly one of the three words.
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "remote/instance_message.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  return {{"start", "\x03start\n"},
          {"stop", "\x01stop\n"},
          {"show", "\x07show\nshow\n"},
          {"junk", std::string("\x02st\0p\n", 6)}};
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::remote;
  using brevora::fuzz::Check;
  if (size < 1) return 0;
  const size_t piece = (data[0] & 7) + 1;
  InstanceMessageReader reader;
  std::string line;
  InstanceMessageReader::State state = InstanceMessageReader::State::kWaiting;
  for (size_t i = 1; i < size; i += piece) {
    const std::string_view part(reinterpret_cast<const char*>(data) + i, std::min(piece, size - i));
    state = reader.Feed(part);
  }
  if (state == InstanceMessageReader::State::kDone) {
    const auto command = reader.Command();
    Check(command.has_value(), "a complete line without a command");
    const std::string_view word = InstanceWord(*command);
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    Check(input.substr(0, word.size() + 1) == std::string(word) + "\n",
          "the command is not what was sent");
  }
  return 0;
}
