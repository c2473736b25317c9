// Fuzzes the reading of the banner's picture and page addresses, which come
// from the user's settings: FileAddressPath and IsBrowsableAddress. Neither
// raises; a path they answer is absolute, holds no NUL, and an address the
// browser may be given holds no control character.
#include <string>
#include <string_view>
#include <vector>

#include "frontend/internet.h"
#include "fuzz/fuzz_target.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  return {{"file", "file:///tmp/banner%20one.gif"},
          {"localhost", "file://localhost/var/cache/brevora.gif"},
          {"web", "https://products.orvanex.example/banner/brevora.gif"}};
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  const std::string_view address(reinterpret_cast<const char*>(data), size);
  std::optional<std::string> path;
  Must("FileAddressPath", [&] { path = frontend::FileAddressPath(address); });
  if (path) {
    Check(!path->empty() && path->front() == '/', "a file path that is not absolute");
    Check(path->find('\0') == std::string::npos, "a file path holding NUL");
  }
  bool browsable = false;
  Must("IsBrowsableAddress", [&] { browsable = frontend::IsBrowsableAddress(address); });
  if (browsable) {
    for (const char c : address) {
      const auto byte = static_cast<unsigned char>(c);
      Check(byte >= 0x20 && byte != 0x7F, "a browsable address holding a control character");
    }
  }
  return 0;
}
