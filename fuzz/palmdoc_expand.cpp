// Fuzzes DecompressString, the PalmDOC expander that reads the text records of
// handheld documents. The input is the compressed record.
//
// The result must match a plain byte-by-byte expander written here from the
// code table (support/palmdoc_format.h), which the fast expander must agree
// with exactly. The destination is always a heap block of exactly the capacity,
// so a write one byte past it is caught; the expansion is repeated with the
// exact result size, one byte less, and small capacities, where it must give
// the same bytes or -1.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "support/palmdoc_format.h"
#include "support/tabrelc.h"

namespace brevora::fuzz {
namespace {

namespace pd = tabrelc::palmdoc;

// The code table applied one code at a time; -1 on malformed input.
int64_t ReferenceExpand(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
  out.clear();
  size_t i = 0;
  while (i < n) {
    const uint8_t b = src[i++];
    if (b == 0) continue;
    if (b <= pd::kMaxRawRun) {
      if (n - i < b) return -1;
      out.insert(out.end(), src + i, src + i + b);
      i += b;
    } else if (b < pd::kFirstCopy) {
      out.push_back(b == 0x0D ? 0x0A : b);
    } else if (b < pd::kFirstBlankPair) {
      if (i >= n) return -1;
      const int code = ((b << 8) | src[i++]) & 0x3FFF;
      const size_t distance = static_cast<size_t>(code >> 3);
      const int length = (code & 7) + pd::kMinCopy;
      if (distance == 0 || distance > out.size()) return -1;
      for (int k = 0; k < length; ++k) out.push_back(out[out.size() - distance]);
    } else {
      out.push_back(pd::kBlank);
      out.push_back(b ^ 0x80);
    }
  }
  return static_cast<int64_t>(out.size());
}

// Expands into a fresh block of exactly `cap` bytes; checks the result against
// the reference (`expected` bytes, or -1 when expected is -1 or does not fit).
void ExpandWithCapacity(const uint8_t* src, int32_t n, int32_t cap, int64_t expected,
                        const std::vector<uint8_t>& bytes) {
  auto dst = std::make_unique<uint8_t[]>(static_cast<size_t>(cap));
  const int32_t got = DecompressString(src, n, dst.get(), cap);
  const int64_t want = expected >= 0 && expected <= cap ? expected : -1;
  Check(got == want, "capacity " + std::to_string(cap) + ": result " + std::to_string(got) +
                         ", expected " + std::to_string(want));
  if (got > 0)
    Check(std::memcmp(dst.get(), bytes.data(), static_cast<size_t>(got)) == 0,
          "capacity " + std::to_string(cap) + ": bytes differ from the reference");
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  const std::string texts[] = {
      "The handheld keeps its documents in records of at most 4096 bytes.\r\n"
      "Each record is compressed on its own, so a reader can open any page at once.\r\n"
      "The handheld keeps its notes, too; the handheld keeps everything.\r\n",
      std::string(300, ' ') + "indented " + std::string(40, '-') + " rule " + std::string(40, '-'),
      "abcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabc",
      "Caf\xE9 cr\xE8me br\xFBl\xE9\x01\x02\x03 \x85 \xA9 2024\tTab\tSeparated\tColumns\n",
  };
  // A page of text long enough for the expander's block loop.
  std::string page;
  const char* words[] = {"record", "the",          "handheld", "page", "of",
                         "a",      "synchronizes", "document", "and"};
  for (unsigned k = 1; page.size() < 2000; ++k) {
    page += words[(k * 7 + k / 5) % 9];
    page += k % 11 == 0 ? ".\r\n" : " ";
  }
  std::vector<Seed> seeds;
  int k = 0;
  for (const std::string& text : {texts[0], texts[1], texts[2], texts[3], page}) {
    std::string packed(text.size() * 2, '\0');
    const int32_t n = CompressString(
        reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(text.size()),
        reinterpret_cast<uint8_t*>(packed.data()), static_cast<int32_t>(packed.size()));
    if (n < 0) Fail("CompressString refused a seed text");
    packed.resize(static_cast<size_t>(n));
    seeds.push_back({"text" + std::to_string(++k) + ".bin", packed});
  }
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  if (size > 1 << 20) return 0;
  const int32_t n = static_cast<int32_t>(size);
  std::vector<uint8_t> bytes;
  const int64_t expected = ReferenceExpand(data, size, bytes);

  // Every code yields at most 5 bytes per input byte (a 2-byte copy of 10).
  const int32_t roomy = 5 * n + 16;
  ExpandWithCapacity(data, n, roomy, expected, bytes);
  if (expected >= 0) {
    ExpandWithCapacity(data, n, static_cast<int32_t>(expected), expected, bytes);
    if (expected > 0)
      ExpandWithCapacity(data, n, static_cast<int32_t>(expected) - 1, expected, bytes);
  }
  // Small capacities, which keep the expander on its careful paths near the end.
  const int32_t small = size > 0 ? data[0] % 128 : 0;
  ExpandWithCapacity(data, n, small, expected, bytes);
  ExpandWithCapacity(data, n, 96 + small % 8, expected, bytes);
  return 0;
}
