#include "core/text_cleanup.h"

#include <gtest/gtest.h>

#include <string>

namespace brevora::core {
namespace {

TEST(TextCleanup, ReplaceAll) {
  const struct {
    std::string text, find, replacement, result;
  } cases[] = {
      {"aaa", "a", "aa", "aaaaaa"},  // inserted text is not looked at again
      {"abcabc", "bc", "X", "aXaX"}, {"abc", "", "X", "abc"},  // empty find: unchanged
      {"abc", "d", "X", "abc"},      {"", "a", "X", ""},
      {"abc", "abc", "", ""},        {"aAa", "A", "b", "aba"},  // exact case
      {"aaaa", "aa", "a", "aa"},                                // left to right, no overlap
      {"x\r\ny", "\r\n", "", "xy"},  {std::string("a\0b", 3), std::string("\0", 1), "-", "a-b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceAll(c.text, c.find, c.replacement), c.result) << c.text;
  }
}

TEST(TextCleanup, ReplaceAllHandlesALargeTextWithManyOccurrences) {
  // Millions of occurrences: must not exhaust the stack or take quadratic copies.
  const std::string text(4'000'000, 'a');
  const std::string result = ReplaceAll(text, "a", "bc");
  ASSERT_EQ(result.size(), 8'000'000u);
  EXPECT_EQ(result.substr(0, 6), "bcbcbc");
  EXPECT_EQ(result.substr(result.size() - 4), "bcbc");
}

TEST(TextCleanup, LineBreakHelpers) {
  EXPECT_EQ(LfToCrLf("a\nb"), "a\r\nb");
  EXPECT_EQ(LfToCrLf("a\r\nb"), "a\r\r\nb");
  EXPECT_EQ(LfToCrLf("\n\n"), "\r\n\r\n");
  EXPECT_EQ(StripLineBreaks("one\r\ntwo\vthree"), "onetwo three");
  EXPECT_EQ(StripLineBreaks("lone\nlf\rcr"), "lone\nlf\rcr");
  EXPECT_EQ(StripLineBreaks("\r\r\n\n"), "\r\n");
}

TEST(TextCleanup, TrimAtNull) {
  EXPECT_EQ(TrimAtNull(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(TrimAtNull(std::string("\0cd", 3)), "");
  EXPECT_EQ(TrimAtNull("abcd"), "abcd");
  EXPECT_EQ(TrimAtNull(""), "");
}

TEST(TextCleanup, TrimRemovesBlanksOnly) {
  EXPECT_EQ(Trim("  Ann Lee  "), "Ann Lee");
  EXPECT_EQ(Trim("\tAnn "), "\tAnn");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
}

}  // namespace
}  // namespace brevora::core
