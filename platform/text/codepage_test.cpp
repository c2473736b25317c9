#include "platform/text/codepage.h"

#include <gtest/gtest.h>

namespace brevora::text {
namespace {

TEST(Codepage, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = CpToUtf8(all);
  EXPECT_EQ(Utf8ToCp(utf8), all);
  ASSERT_TRUE(Utf8ToCpExact(utf8).has_value());
  EXPECT_EQ(*Utf8ToCpExact(utf8), all);
  for (int b = 0; b < 256; ++b) {
    auto back = UnicodeToCp(CpToUnicode(static_cast<unsigned char>(b)));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, b);
  }
}

TEST(Codepage, KnownCharacters) {
  struct Case {
    unsigned char byte;
    char32_t ch;
    const char* utf8;
  };
  const Case cases[] = {
      {'A', U'A', "A"},           {0x80, 0x20AC, "\xE2\x82\xAC"}, {0x81, 0x0081, "\xC2\x81"},
      {0x8D, 0x008D, "\xC2\x8D"}, {0x8F, 0x008F, "\xC2\x8F"},     {0x90, 0x0090, "\xC2\x90"},
      {0x9D, 0x009D, "\xC2\x9D"}, {0x8A, 0x0160, "\xC5\xA0"},     {0x9F, 0x0178, "\xC5\xB8"},
      {0xE9, 0x00E9, "\xC3\xA9"}, {0xA0, 0x00A0, "\xC2\xA0"},     {0x99, 0x2122, "\xE2\x84\xA2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CpToUnicode(c.byte), c.ch) << int(c.byte);
    EXPECT_EQ(CpToUtf8(std::string(1, static_cast<char>(c.byte))), c.utf8) << int(c.byte);
  }
}

TEST(Codepage, UnrepresentableAndMalformedBecomeQuestionMarks) {
  struct Case {
    const char* utf8;
    const char* cp;
    bool wellFormed;
  };
  const Case cases[] = {
      {"a\xE4\xB8\xAD"
       "b",
       "a?b", true},                     // CJK character
      {"\xF0\x9F\x98\x80", "?", true},   // outside the BMP
      {"\xC2\x80", "?", true},           // U+0080 is not in the code page (0x80 is the euro)
      {"x\xFFy", "x?y", false},          // invalid lead byte
      {"\xC3", "?", false},              // truncated
      {"\xC0\xAF", "??", false},         // overlong lead is invalid, then a stray continuation
      {"\xED\xA0\x80", "?", false},      // surrogate
      {"\xE2\x82", "?", false},          // truncated three-byte sequence
      {"\xF4\x90\x80\x80", "?", false},  // past U+10FFFF
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToCp(c.utf8), c.cp) << c.utf8;
    EXPECT_FALSE(Utf8ToCpExact(c.utf8).has_value()) << c.utf8;
    EXPECT_EQ(IsValidUtf8(c.utf8), c.wellFormed) << c.utf8;
  }
  EXPECT_EQ(Utf8ToCpExact("caf\xC3\xA9"), std::optional<std::string>("caf\xE9"));
  EXPECT_EQ(Utf8ToCpExact(""), std::optional<std::string>(""));
  EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9"));
}

}  // namespace
}  // namespace brevora::text
