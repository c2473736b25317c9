// Fuzzes the device's identity file: ParseIdentity never raises, and an
// identity it reads is written back by FormatIdentity byte for byte (the file
// has one spelling of each identity, so anything else was read wrong).
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/hotsync/device_identity.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  using brevora::hotsync::FormatIdentity;
  return {
      {"with_desktop.txt", *FormatIdentity({"Alice Smith", 42, "0123456789abcdef"})},
      {"new.txt", *FormatIdentity({"Bob", 0, ""})},
      {"accents.txt", *FormatIdentity({"Ren\xE9\x81", 2147483647, "ffffffffffffffff"})},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Must("reading an identity", [&] {
    if (const auto identity = brevora::hotsync::ParseIdentity(text)) {
      const auto again = brevora::hotsync::FormatIdentity(*identity);
      Check(again.has_value() && *again == text, "a read identity is written back differently");
    }
  });
  return 0;
}
