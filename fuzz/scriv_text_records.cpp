// Fuzzes the text of a desktop document on its way to the handheld and back:
// the text as the handheld holds it (plain text escaped and wrapped, HTML as
// it is, every line break a line feed), cut into records of at most 3,072
// bytes, each compressed and expanded again: the records joined are the
// handheld text, and so are the records expanded.
#include <string>
#include <vector>

#include "conduit-doc/html_records.h"
#include "conduit-doc/record_codec.h"
#include "fuzz/fuzz_target.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  std::string html = "<html><body>";
  while (html.size() < 8000) html += "<p>Tom &amp; Jerry <i>ran</i> away.</p>\r\n";
  return {
      {"plain.txt", "a<b\tand c > d & e\nnext line\r\n"},
      {"html.htm", html},
      {"long.txt", std::string(7000, 'x') + "&" + std::string(20, 'y')},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::scriv;
  const std::string_view desktop(reinterpret_cast<const char*>(data), size);
  Must("text to records and back", [&] {
    const std::string device = DeviceText(desktop);
    if (!IsHtml(desktop))
      Check(device == "<html><head></head><body>" + EscapeHtml(desktop) + "</body></html>",
            "the wrapping");
    Check(device.find('\r') == std::string::npos, "a carriage return reaches the handheld");
    std::string joined;
    std::string expanded;
    const auto records = CutRecords(device);
    for (std::size_t i = 0; i < records.size(); ++i) {
      const std::string_view record = records[i];
      Check(!record.empty() && record.size() <= 3072, "a record's size");
      joined += record;
      const auto bytes = std::span(reinterpret_cast<const uint8_t*>(record.data()), record.size());
      const auto back = DecompressRecord(CompressRecord(bytes));
      Check(back.has_value(), "a compressed record does not expand");
      expanded.append(back->begin(), back->end());
    }
    Check(joined == device, "the records are the text");
    Check(expanded == device, "the expanded records are the text");
  });
  return 0;
}
