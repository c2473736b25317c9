// DecompressString: every code kind, and untrusted input: malformed codes and
// small destinations give -1 and never a read or write out of bounds (the
// buffers here are exactly as large as announced, so the sanitizer build sees
// any overrun).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/tabrelc.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

// Expands into a heap block of exactly cap bytes; n is the result (-1 on failure).
struct Result {
  int32_t n;
  Bytes out;
};

Result Expand(const Bytes& packed, size_t cap) {
  // Copies of the input and of the destination of exactly the given sizes.
  auto in = std::make_unique<uint8_t[]>(packed.size());
  std::copy(packed.begin(), packed.end(), in.get());
  auto dst = std::make_unique<uint8_t[]>(cap);
  const int32_t n = DecompressString(in.get(), static_cast<int32_t>(packed.size()), dst.get(),
                                     static_cast<int32_t>(cap));
  Result r{n, {}};
  if (n > 0) r.out.assign(dst.get(), dst.get() + n);
  return r;
}

struct Case {
  const char* name;
  Bytes packed;
  Bytes text;
};

TEST(DecompressString, ReadsEveryCode) {
  const Case cases[] = {
      {"empty", {}, {}},
      {"plain bytes", B("Hello\t~"), B("Hello\t~")},
      {"0x00 skipped", {'a', 0x00, 0x00, 'b'}, B("ab")},
      {"0x0D written as 0x0A", {'a', 0x0D, 'b'}, B("a\nb")},
      {"raw run of one", {0x01, 0xE9}, {0xE9}},
      {"raw run of eight, taken as they are",
       {0x08, 0x00, 0x0D, 0x80, 0xC1, 0x01, 0x02, 0xFF, 0x20},
       {0x00, 0x0D, 0x80, 0xC1, 0x01, 0x02, 0xFF, 0x20}},
      {"blank pair", {0xC1, 0xFF}, {0x20, 0x41, 0x20, 0x7F}},
      {"copy, overlapping", {'a', 'b', 'c', 0x80, 0x1A, 'c'}, B("abcabcabc")},
      {"copy of distance 1, length 10", {'x', 0x80, 0x0F}, B("xxxxxxxxxxx")},
  };
  for (const auto& c : cases) {
    const Result r = Expand(c.packed, c.text.size());
    EXPECT_EQ(r.n, static_cast<int32_t>(c.text.size())) << c.name;
    EXPECT_EQ(r.out, c.text) << c.name;
  }
}

TEST(DecompressString, CopiesFromTheFarEndOfTheWindow) {
  Bytes text;
  for (int i = 0; i < 2047; ++i) text.push_back(static_cast<uint8_t>('a' + i % 26));
  Bytes packed = text;
  packed.insert(packed.end(), {0xBF, 0xFA});  // distance 2047, length 5
  text.insert(text.end(), {'a', 'b', 'c', 'd', 'e'});
  const Result r = Expand(packed, text.size());
  EXPECT_EQ(r.n, static_cast<int32_t>(text.size()));
  EXPECT_EQ(r.out, text);
}

TEST(DecompressString, MalformedInputGivesMinusOne) {
  const Case cases[] = {
      {"copy before the start of the output", {'a', 'b', 0x80, 0x18}, {}},
      {"copy as first code", {0x80, 0x08}, {}},
      {"copy of distance 0", {'a', 'b', 'c', 0x80, 0x02}, {}},
      {"copy cut off by the end", {'a', 'b', 'c', 0x80}, {}},
      {"raw run cut off by the end", {'a', 0x03, 'x', 'y'}, {}},
      {"raw run code as last byte", {'a', 0x08}, {}},
      {"far copy into short output", {'a', 'b', 'c', 0xBF, 0xF8}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Expand(c.packed, 64).n, -1) << c.name;
}

TEST(DecompressString, SmallDestinationGivesMinusOneAndNoOverrun) {
  std::mt19937 rng(1);
  // Texts whose codes are all kinds: plain, raw runs, blank pairs, near and far copies.
  Bytes packed;
  for (int i = 0; i < 40; ++i) packed.push_back(static_cast<uint8_t>('a' + rng() % 26));
  packed.insert(packed.end(),
                {0x03, 0x80, 0xE9, 0x01, 0xC8, 0x80, 0x0F, 0x80, 0xA4, 0x80, 0x13, 'z', 0x0D});
  const Result full = Expand(packed, 4096);
  ASSERT_GT(full.n, 0);
  const size_t needed = static_cast<size_t>(full.n);
  for (size_t cap = 0; cap < needed; ++cap) {
    EXPECT_EQ(Expand(packed, cap).n, -1) << cap;
  }
  const Result exact = Expand(packed, needed);
  EXPECT_EQ(exact.n, static_cast<int32_t>(needed));
  EXPECT_EQ(exact.out, full.out);
}

TEST(DecompressString, RandomBytesNeverOverrun) {
  std::mt19937 rng(2);
  for (int i = 0; i < 3000; ++i) {
    Bytes packed(rng() % 64);
    for (auto& c : packed) c = static_cast<uint8_t>(rng());
    const size_t cap = rng() % 96;
    const Result r = Expand(packed, cap);
    EXPECT_LE(r.n, static_cast<int32_t>(cap));
  }
}

TEST(DecompressString, MalformedCodeAfterALongPrefix) {
  // The same faults deep inside the input, where the expander moves whole
  // words: followed by more codes, or cut off by the end.
  Bytes prefix;
  for (int i = 0; i < 300; ++i) prefix.push_back(static_cast<uint8_t>('a' + i % 26));
  const struct {
    const char* name;
    Bytes fault;
    size_t more;  // plain bytes after it
  } cases[] = {
      {"copy of distance 0", {0x80, 0x00}, 100},
      {"copy reaching before the start", {0xBF, 0xFF}, 100},  // distance 2047 > 300
      {"copy cut off", {0x80}, 0},
      {"raw run cut off", {0x05, 'x'}, 0},
  };
  for (const auto& c : cases) {
    Bytes packed = prefix;
    packed.insert(packed.end(), c.fault.begin(), c.fault.end());
    packed.insert(packed.end(), c.more, 'z');
    EXPECT_EQ(Expand(packed, 1000).n, -1) << c.name;
  }
}

TEST(DecompressString, DamagedRecordsNeverOverrun) {
  // Valid compressed text with bytes flipped: the result is -1 or fits.
  std::mt19937 rng(4);
  Bytes text;
  while (text.size() < 4096) {
    for (const char* w : {"the ", "handheld ", "record ", "of ", "a ", "sync\r\n", "\xE9t\xE9 "}) {
      text.insert(text.end(), w, w + std::strlen(w));
    }
  }
  text.resize(4096);
  Bytes packed(2 * text.size());
  packed.resize(
      static_cast<size_t>(CompressString(text.data(), static_cast<int32_t>(text.size()),
                                         packed.data(), static_cast<int32_t>(packed.size()))));
  for (int i = 0; i < 2000; ++i) {
    Bytes damaged = packed;
    for (int k = 0; k < 1 + i % 4; ++k)
      damaged[rng() % damaged.size()] = static_cast<uint8_t>(rng());
    damaged.resize(damaged.size() - rng() % 3);
    const size_t cap = i % 2 ? text.size() : rng() % (text.size() + 64);
    const Result r = Expand(damaged, cap);
    EXPECT_LE(r.n, static_cast<int32_t>(cap));
  }
}

TEST(DecompressString, RejectsBadArguments) {
  uint8_t dst[8];
  const uint8_t src[] = {'a'};
  EXPECT_EQ(DecompressString(src, -1, dst, 8), -1);
  EXPECT_EQ(DecompressString(nullptr, 1, dst, 8), -1);
  EXPECT_EQ(DecompressString(src, 1, nullptr, 8), -1);
  EXPECT_EQ(DecompressString(src, 1, dst, -1), -1);
  EXPECT_EQ(DecompressString(src, 1, dst, 0), -1);
  EXPECT_EQ(DecompressString(nullptr, 0, nullptr, 0), 0);
}

}  // namespace
