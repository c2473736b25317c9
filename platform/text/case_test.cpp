#include "platform/text/case.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace brevora::text {
namespace {

TEST(Case, FoldsTheLettersOfTheCodePage) {
  struct Case {
    const char* upper;
    const char* lower;
  };
  const Case cases[] = {
      {"ABCXYZ", "abcxyz"},
      {"\xC0\xC9\xD6\xD8\xDE", "\xE0\xE9\xF6\xF8\xFE"},
      {"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},
      {"123 .,-_\x80", "123 .,-_\x80"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LCase(c.upper), c.lower);
    EXPECT_EQ(UCase(c.lower), c.upper);
    EXPECT_TRUE(EqualsNoCase(c.upper, c.lower));
  }
}

TEST(Case, LeavesNonLettersAlone) {
  // Multiplication and division signs, sharp s (no single-byte capital) and the
  // bytes that only look like letters in other code pages.
  const std::string others = "\xD7\xF7\xDF\xAA\xBA\xB5";
  EXPECT_EQ(LCase(others), others);
  EXPECT_EQ(UCase(others), others);
  EXPECT_FALSE(EqualsNoCase("\xD7", "\xF7"));
}

TEST(Case, EveryByteFoldsConsistently) {
  for (int b = 0; b < 256; ++b) {
    const std::string s(1, static_cast<char>(b));
    EXPECT_EQ(LCase(UCase(LCase(s))), LCase(s)) << b;
    EXPECT_EQ(UCase(LCase(UCase(s))), UCase(s)) << b;
    EXPECT_TRUE(EqualsNoCase(UCase(s), LCase(s))) << b;
  }
}

TEST(Case, ComparesWithoutRegardToCase) {
  EXPECT_EQ(CompareNoCase("Budget", "bUDGET"), 0);
  EXPECT_LT(CompareNoCase("apple", "Banana"), 0);
  EXPECT_GT(CompareNoCase("b", "A"), 0);
  EXPECT_LT(CompareNoCase("ab", "ABC"), 0);
  EXPECT_FALSE(EqualsNoCase("ab", "abc"));
  std::vector<std::string> names = {"beta", "Alpha", "gamma", "ALPHA2", "Beta1"};
  std::sort(names.begin(), names.end(), LessNoCase());
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "ALPHA2", "beta", "Beta1", "gamma"}));
}

}  // namespace
}  // namespace brevora::text
