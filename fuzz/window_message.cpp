// Fuzzes what the window directory reads from other processes: the same bytes
// go to the datagram decoder and to the entry-file parser. Neither raises. A
// datagram that decodes is a message that encodes back to the very same bytes,
// and an entry file that parses is written back by FormatEntry byte for byte
// (both forms have exactly one spelling, so anything else was read wrong).
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/windows/window_entry.h"
#include "platform/windows/window_message.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  using namespace brevora::windows;
  WindowEntry desktop;
  desktop.pid = 31337;
  desktop.order = 987654321;
  desktop.windowClass = "ThunderRT5Form";
  desktop.title = "Brevora Desktop";
  desktop.buttons = {{"ThunderRT5CommandButton", "Refresh"}, {"ThunderRT5CommandButton", "Sync"}};
  WindowEntry bare;
  bare.windowClass = "Form";
  return {
      {"click.msg", *EncodeMessage(WindowMessage::Click("ThunderRT5CommandButton", "Refresh"))},
      {"activate.msg", *EncodeMessage(WindowMessage::Activate())},
      {"minimize.msg", *EncodeMessage(WindowMessage::Minimize())},
      {"title.msg", *EncodeMessage(WindowMessage::Title("Microsoft Excel - caf\xE9.tbr"))},
      {"desktop.entry", FormatEntry(desktop)},
      {"bare.entry", FormatEntry(bare)},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::windows;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Must("reading a datagram and an entry file", [&] {
    if (const auto message = DecodeMessage(bytes)) {
      const auto again = EncodeMessage(*message);
      Check(again.has_value() && *again == bytes, "a decoded datagram encodes differently");
      Check(bytes.size() <= kMaxMessageSize, "a datagram over the size limit decoded");
    }
    if (const auto entry = ParseEntry(bytes)) {
      Check(IsValidEntry(*entry), "a parsed entry breaks the rules");
      Check(FormatEntry(*entry) == bytes, "a parsed entry file is written back differently");
    }
  });
  return 0;
}
