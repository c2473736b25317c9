// CompressString: the encodings it must choose, checked by hand on small cases
// and against a plain, slow implementation of the search (grow the run one byte
// at a time, taking for each length the oldest window position where it occurs)
// on random and adversarial inputs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/tabrelc.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

// The straightforward compressor the fast one must match byte for byte.
Bytes ReferenceCompress(const Bytes& src) {
  Bytes out;
  bool blank = false;
  auto literal = [&](uint8_t c) {
    if (blank) {
      blank = false;
      if (c >= 0x40 && c <= 0x7F) {
        out.push_back(c ^ 0x80);
        return;
      }
      out.push_back(0x20);
    } else if (c == 0x20) {
      blank = true;
      return;
    }
    if (c <= 0x08 || c >= 0x80) out.push_back(0x01);
    out.push_back(c);
  };
  const size_t n = src.size();
  size_t p = 0;
  while (p < n) {
    const size_t start = p > 2047 ? p - 2047 : 0;
    size_t len = 0;
    size_t from = 0;
    for (size_t want = 1; want <= 10 && p + want - 1 < n - 1; ++want) {
      bool found = false;
      for (size_t q = start; q < p && !found; ++q) {
        if (std::equal(src.begin() + q, src.begin() + q + want, src.begin() + p)) {
          found = true;
          from = q;
        }
      }
      if (!found) break;
      len = want;
    }
    if (len >= 3) {
      if (blank) {
        out.push_back(0x20);
        blank = false;
      }
      const size_t code = (p - from) * 8 + (len - 3);
      out.push_back(static_cast<uint8_t>(0x80 + (code >> 8)));
      out.push_back(static_cast<uint8_t>(code & 0xFF));
      p += len;
    } else {
      literal(src[p]);
      ++p;
    }
  }
  if (blank) out.push_back(0x20);
  return out;
}

Bytes Compress(const Bytes& src) {
  Bytes dst(2 * src.size());
  const int32_t n = CompressString(src.data(), static_cast<int32_t>(src.size()), dst.data(),
                                   static_cast<int32_t>(dst.size()));
  EXPECT_GE(n, 0);
  dst.resize(n < 0 ? 0 : static_cast<size_t>(n));
  return dst;
}

Bytes Expand(const Bytes& packed, size_t cap) {
  Bytes dst(cap);
  const int32_t n = DecompressString(packed.data(), static_cast<int32_t>(packed.size()), dst.data(),
                                     static_cast<int32_t>(dst.size()));
  EXPECT_GE(n, 0);
  dst.resize(n < 0 ? 0 : static_cast<size_t>(n));
  return dst;
}

// What the expander gives back for a source: CR as LF.
Bytes ExpectedRoundTrip(const Bytes& src) {
  Bytes out;
  for (uint8_t c : src) {
    out.push_back(c == 0x0D ? 0x0A : c);
  }
  return out;
}

std::string Hex(const Bytes& b) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (uint8_t c : b) {
    if (!s.empty()) s += ' ';
    s += digits[c >> 4];
    s += digits[c & 15];
  }
  return s;
}

// English-like text: words, punctuation, line breaks.
Bytes WordSalad(std::mt19937& rng, size_t size) {
  static const char* words[] = {
      "the",  "of",     "and",  "a",        "to",     "in",          "is",      "you",
      "that", "it",     "he",   "was",      "for",    "on",          "are",     "as",
      "with", "his",    "they", "handheld", "record", "sync",        "desktop", "user",
      "file", "window", "Palm", "document", "text",   "compression", "between"};
  std::uniform_int_distribution<size_t> word(0, std::size(words) - 1);
  std::uniform_int_distribution<int> mark(0, 19);
  Bytes out;
  while (out.size() < size) {
    const std::string_view w = words[word(rng)];
    out.insert(out.end(), w.begin(), w.end());
    const int m = mark(rng);
    if (m == 0) {
      out.push_back('.');
      out.push_back('\r');
      out.push_back('\n');
    } else if (m == 1) {
      out.push_back(',');
      out.push_back(' ');
    } else {
      out.push_back(' ');
    }
  }
  out.resize(size);
  return out;
}

Bytes RandomFrom(std::mt19937& rng, const Bytes& alphabet, size_t size) {
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  Bytes out(size);
  for (auto& c : out) c = alphabet[pick(rng)];
  return out;
}

struct EncodingCase {
  const char* name;
  Bytes source;
  Bytes packed;
};

TEST(CompressString, ChoosesTheDefinedEncoding) {
  const EncodingCase cases[] = {
      {"empty source", {}, {}},
      {"abcabcabc: overlapping copy, last byte literal",
       B("abcabcabc"),
       {'a', 'b', 'c', 0x80, 0x1A, 'c'}},
      {"blank folded into the letter", B(" A"), {0xC1}},
      {"two blanks then a letter", B("  A"), {0x20, 0x20, 0x41}},
      {"blank before a digit is not folded", B(" 1"), {0x20, '1'}},
      {"control byte escaped", {0x05}, {0x01, 0x05}},
      {"high byte escaped", {0xE9}, {0x01, 0xE9}},
      {"blank then high byte", {0x20, 0x80}, {0x20, 0x01, 0x80}},
      {"trailing blank", B("ab "), {'a', 'b', 0x20}},
      {"0x00 as a one-byte literal run", {'a', 0x00, 'b'}, {'a', 0x01, 0x00, 'b'}},
      {"last byte never in a copy", B("aaaa"), B("aaaa")},
      {"run of one byte, distance 1", B("aaaaa"), {'a', 0x80, 0x08, 'a'}},
      {"pending blank written before a copy",
       B("abcd abcd!"),
       {'a', 'b', 'c', 'd', 0x20, 0x80, 0x29, '!'}},
      {"oldest occurrence wins",
       B("abcxabcyabcz"),
       {'a', 'b', 'c', 'x', 0x80, 0x20, 'y', 0x80, 0x40, 'z'}},
      {"longest run beats an older shorter one",
       B("abcXabcdYabcd!"),
       {'a', 'b', 'c', 'X', 0x80, 0x20, 'd', 'Y', 0x80, 0x29, '!'}},
      {"copy length capped at 10",
       B("abcdefghijkl-abcdefghijkl"),
       {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', '-', 0x80, 0x6F, 'k', 'l'}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(Compress(c.source)), Hex(c.packed)) << c.name;
    EXPECT_EQ(Hex(ReferenceCompress(c.source)), Hex(c.packed)) << c.name << " (reference)";
  }
}

TEST(CompressString, ExpanderGivesBackEveryByteWithCrAsLf) {
  const Bytes sources[] = {B("abcabcabc"),
                           B("  A"),
                           B("line one\r\nline two\r\n"),
                           {'a', 0x00, 'b', 0x0D},
                           {0x05, 0xE9, 0x20, 0x80, 0x20, 0x20}};
  for (const auto& s : sources)
    EXPECT_EQ(Hex(Expand(Compress(s), s.size() + 16)), Hex(ExpectedRoundTrip(s)));
  EXPECT_EQ(Expand(Compress(B("a\r\nb")), 16), B("a\n\nb"));
  EXPECT_EQ(Expand(Compress({'x', 0x00, 'y'}), 16), (Bytes{'x', 0x00, 'y'}));
  // A 0x00 byte before a copy: written bare it was skipped by the expander and
  // shifted the copy's distance, garbling the rest of the text.
  const Bytes withNul = {'a', 'b', 'c', 'd', 0x00, 'a', 'b', 'c', 'd', 'x', 'y', 'z'};
  EXPECT_EQ(Hex(Expand(Compress(withNul), 32)), Hex(withNul));
}

// A marker, a filler without any repeated 3 bytes, the marker again and a last
// byte: the second marker is a copy exactly when it lies at most 2047 back.
Bytes MarkerAtDistance(size_t gap) {
  Bytes s = B("!#$");
  for (size_t j = 0; s.size() < gap; ++j) {
    s.push_back(static_cast<uint8_t>('a' + j % 26));
    if (s.size() < gap) s.push_back(static_cast<uint8_t>('0' + j / 26));
  }
  s.insert(s.end(), {'!', '#', '$', '%'});
  return s;
}

TEST(CompressString, WindowReachesBack2047Bytes) {
  for (size_t gap : {2046u, 2047u}) {
    const Bytes packed = Compress(MarkerAtDistance(gap));
    ASSERT_EQ(packed.size(), gap + 3) << gap;
    const size_t code = gap * 8;
    EXPECT_EQ(packed[gap], 0x80 + (code >> 8)) << gap;
    EXPECT_EQ(packed[gap + 1], code & 0xFF) << gap;
  }
  EXPECT_EQ(Compress(MarkerAtDistance(2048)).size(), 2048u + 4);
}

TEST(CompressString, MatchesReferenceOnSmallRandomInputs) {
  std::mt19937 rng(7);
  const Bytes alphabets[] = {
      B("ab"), B("ab "), B("a A"), {0x20, 0x41, 0x80, 0x05, 0x00, 0x0D}, B("abcdefgh")};
  std::uniform_int_distribution<size_t> length(0, 80);
  for (int i = 0; i < 3000; ++i) {
    const Bytes& alphabet = alphabets[static_cast<size_t>(i) % std::size(alphabets)];
    const Bytes src = RandomFrom(rng, alphabet, length(rng));
    ASSERT_EQ(Hex(Compress(src)), Hex(ReferenceCompress(src))) << "input " << Hex(src);
  }
}

TEST(CompressString, MatchesReferenceOnAdversarialRecords) {
  std::mt19937 rng(11);
  Bytes all_high(4096);
  for (size_t i = 0; i < all_high.size(); ++i)
    all_high[i] = static_cast<uint8_t>(0x80 + (rng() & 0x7F));
  Bytes full_range(4096);
  for (auto& c : full_range) c = static_cast<uint8_t>(rng());
  std::vector<std::pair<const char*, Bytes>> inputs = {
      {"all blanks", Bytes(4096, 0x20)},
      {"all blanks, odd size", Bytes(37, 0x20)},
      {"all 0xFF", Bytes(4096, 0xFF)},
      {"all 0x80-0xFF", all_high},
      {"full byte range", full_range},
      {"two-letter alphabet", RandomFrom(rng, B("ab"), 4096)},
      {"blanks and capitals", RandomFrom(rng, B("  AB"), 4096)},
      {"small alphabet, beyond the window", RandomFrom(rng, B("abc "), 9000)},
      {"English record", WordSalad(rng, 4096)},
      {"English record 2", WordSalad(rng, 4096)},
      {"English, 3 records", WordSalad(rng, 3 * 4096)},
  };
  // A prefix whose every earlier start left the window, then found again.
  Bytes marker_again = MarkerAtDistance(2100);
  marker_again.insert(marker_again.end(), {'!', '#', '$', '%', '~'});
  inputs.emplace_back("prefix seen again after leaving the window", marker_again);
  for (const auto& [name, src] : inputs) {
    ASSERT_EQ(Hex(Compress(src)), Hex(ReferenceCompress(src))) << name;
  }
  for (const std::string_view unit : {"a", "ab", "abc", " a", "a ", "  x", "\x80\x81"}) {
    for (size_t size : {4u, 5u, 11u, 12u, 13u, 100u, 4096u}) {
      Bytes src;
      while (src.size() < size) src.push_back(static_cast<uint8_t>(unit[src.size() % unit.size()]));
      ASSERT_EQ(Hex(Compress(src)), Hex(ReferenceCompress(src)))
          << "period " << unit.size() << " size " << size;
    }
  }
}

// A long source is searched in stretches of 65,535 positions, each starting
// with the window before its first position: runs must be found across the
// seams as if the source were one piece.
TEST(CompressString, MatchesReferenceOnSourcesLongerThanOneStretch) {
  std::mt19937 rng(13);
  std::vector<std::pair<std::string, Bytes>> inputs = {
      {"English, 3 stretches", WordSalad(rng, 140000)},
      {"small alphabet, 2 stretches", RandomFrom(rng, B("abc "), 70000)},
  };
  // Sizes where the second stretch holds the last positions or none.
  for (const size_t size : {65536u, 65537u, 65538u, 65539u, 65540u, 67587u}) {
    inputs.emplace_back("English of " + std::to_string(size) + " bytes", WordSalad(rng, size));
  }
  // A marker seen again across the first seam (at position 65,535 and 2,000 later).
  Bytes seam = RandomFrom(rng, B("abcdefghijklmnopqrstuvwxyz"), 70000);
  for (const size_t at : {65530u, 67530u})
    std::copy_n("#MARKER!#", 9, seam.begin() + static_cast<long>(at));
  inputs.emplace_back("marker across the seam", seam);
  for (const auto& [name, src] : inputs) {
    ASSERT_EQ(Hex(Compress(src)), Hex(ReferenceCompress(src))) << name;
  }
}

TEST(CompressString, RoundTripsRecords) {
  // Long literal stretches, raw runs, blank pairs, CR and 0x00 codes at every
  // place of the expander's 64-byte blocks, expanded into exactly the room.
  std::mt19937 rng(3);
  Bytes letters;
  for (char c = 'a'; c <= 'z'; ++c) letters.push_back(static_cast<uint8_t>(c));
  Bytes all_bytes(256);
  for (size_t k = 0; k < 256; ++k) all_bytes[k] = static_cast<uint8_t>(k);
  for (int i = 0; i < 40; ++i) {
    const size_t size = 1 + rng() % 5000;
    Bytes src;
    switch (i % 4) {
      case 0:
        src = WordSalad(rng, size);
        break;
      case 1:
        src = RandomFrom(rng, B("ab \r\n\x01\xE9"), size);
        break;
      case 2:
        src = RandomFrom(rng, letters, size);
        break;
      default:
        src = RandomFrom(rng, all_bytes, size);
        break;
    }
    const Bytes expected = ExpectedRoundTrip(src);
    EXPECT_EQ(Expand(Compress(src), expected.size()), expected) << i;
  }
}

TEST(CompressString, NeverNeedsMoreThanTwiceTheSource) {
  std::mt19937 rng(5);
  const Bytes worst[] = {Bytes(1000, 0x80), RandomFrom(rng, {0x01, 0xFF}, 1000),
                         RandomFrom(rng, {0x20, 0xFF}, 1000),
                         Bytes{0x20, 0x80, 0x20, 0x80, 0x20, 0x80}, Bytes{0x20}};
  for (const auto& src : worst) {
    Bytes dst(2 * src.size());
    EXPECT_GE(CompressString(src.data(), static_cast<int32_t>(src.size()), dst.data(),
                             static_cast<int32_t>(dst.size())),
              0);
  }
}

TEST(CompressString, FullDestinationGivesMinusOneAndNoWritePastIt) {
  std::mt19937 rng(9);
  const Bytes src = WordSalad(rng, 600);
  const size_t needed = Compress(src).size();
  for (size_t cap : {size_t{0}, size_t{1}, needed / 2, needed - 1}) {
    Bytes dst(cap + 8, 0xAA);
    EXPECT_EQ(CompressString(src.data(), static_cast<int32_t>(src.size()), dst.data(),
                             static_cast<int32_t>(cap)),
              -1)
        << cap;
    EXPECT_EQ(Bytes(dst.begin() + static_cast<long>(cap), dst.end()), Bytes(8, 0xAA)) << cap;
  }
  Bytes dst(needed);
  EXPECT_EQ(CompressString(src.data(), static_cast<int32_t>(src.size()), dst.data(),
                           static_cast<int32_t>(needed)),
            static_cast<int32_t>(needed));
}

TEST(CompressString, RejectsBadArguments) {
  uint8_t dst[8];
  const uint8_t src[] = {'a'};
  EXPECT_EQ(CompressString(src, -1, dst, 8), -1);
  EXPECT_EQ(CompressString(nullptr, 1, dst, 8), -1);
  EXPECT_EQ(CompressString(src, 1, nullptr, 8), -1);
  EXPECT_EQ(CompressString(src, 1, dst, -1), -1);
  EXPECT_EQ(CompressString(nullptr, 0, nullptr, 0), 0);
}

}  // namespace
