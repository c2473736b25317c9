#include "core/utility.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error/error.h"

namespace brevora::core {
namespace {

TEST(Utility, ReplaceAll) {
  const struct {
    std::string text, find, replacement, result;
  } cases[] = {
      {"aaa", "a", "aa", "aaaaaa"},            // inserted text is not looked at again
      {"abcabc", "bc", "X", "aXaX"},
      {"abc", "", "X", "abc"},                 // empty find: unchanged
      {"abc", "d", "X", "abc"},
      {"", "a", "X", ""},
      {"abc", "abc", "", ""},
      {"aAa", "A", "b", "aba"},                // exact case
      {"aaaa", "aa", "a", "aa"},               // left to right, no overlap
      {"x\r\ny", "\r\n", "", "xy"},
      {std::string("a\0b", 3), std::string("\0", 1), "-", "a-b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utility::ReplaceAll(c.text, c.find, c.replacement), c.result) << c.text;
  }
}

TEST(Utility, ReplaceAllHandlesALargeTextWithManyOccurrences) {
  // Millions of occurrences: must not exhaust the stack or take quadratic copies.
  const std::string text(4'000'000, 'a');
  const std::string result = Utility::ReplaceAll(text, "a", "bc");
  ASSERT_EQ(result.size(), 8'000'000u);
  EXPECT_EQ(result.substr(0, 6), "bcbcbc");
  EXPECT_EQ(result.substr(result.size() - 4), "bcbc");
}

TEST(Utility, LineBreakHelpers) {
  EXPECT_EQ(Utility::LfToCrLf("a\nb"), "a\r\nb");
  EXPECT_EQ(Utility::LfToCrLf("a\r\nb"), "a\r\r\nb");
  EXPECT_EQ(Utility::LfToCrLf("\n\n"), "\r\n\r\n");
  EXPECT_EQ(Utility::StripLineBreaks("one\r\ntwo\vthree"), "onetwo three");
  EXPECT_EQ(Utility::StripLineBreaks("lone\nlf\rcr"), "lone\nlf\rcr");
  EXPECT_EQ(Utility::StripLineBreaks("\r\r\n\n"), "\r\n");
}

TEST(Utility, TrimAtNull) {
  EXPECT_EQ(Utility::TrimAtNull(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(Utility::TrimAtNull(std::string("\0cd", 3)), "");
  EXPECT_EQ(Utility::TrimAtNull("abcd"), "abcd");
  EXPECT_EQ(Utility::TrimAtNull(""), "");
}

TEST(Utility, AddTo) {
  int16_t value = 10;
  Utility::AddTo(value, 5);
  EXPECT_EQ(value, 15);
  Utility::AddTo(value, -20);
  EXPECT_EQ(value, -5);
  value = 32767;
  Utility::AddTo(value, 0);
  EXPECT_EQ(value, 32767);
  const struct {
    int16_t start, amount;
  } overflows[] = {{32767, 1}, {-32768, -1}, {30000, 30000}};
  for (const auto& c : overflows) {
    int16_t v = c.start;
    try {
      Utility::AddTo(v, c.amount);
      ADD_FAILURE() << c.start << " + " << c.amount;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 6);
      EXPECT_EQ(v, c.start);
    }
  }
}

}  // namespace
}  // namespace brevora::core
