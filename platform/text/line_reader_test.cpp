#include "platform/text/line_reader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace brevora::text {
namespace {

std::vector<std::string> Lines(std::string_view text, LoneCr rule) {
  std::vector<std::string> lines;
  LineReader reader(text, rule);
  const std::size_t count = reader.LinesLeft();
  while (const auto line = reader.Next()) lines.emplace_back(*line);
  EXPECT_EQ(lines.size(), count) << text;
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.Position(), text.size());
  return lines;
}

TEST(LineReader, EachRuleOnEveryKindOfLineBreak) {
  using V = std::vector<std::string>;
  struct Case {
    std::string text;
    V endsLine;
    V inLine;
  };
  const Case cases[] = {
      {"", {}, {}},
      {"a", {"a"}, {"a"}},
      {"a\r\nb\r\n", {"a", "b"}, {"a", "b"}},
      {"a\nb", {"a", "b"}, {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}, {"a", "", "b"}},
      {"\n", {""}, {""}},
      {"a\rb\r\nc", {"a", "b", "c"}, {"a\rb", "c"}},
      {"a\r\rb", {"a", "", "b"}, {"a\r\rb"}},
      {"a\r", {"a"}, {"a"}},
      {"a\r\r\n", {"a", ""}, {"a\r"}},
      {"\r", {""}, {""}},
      {"a\n\rb", {"a", "", "b"}, {"a", "\rb"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Lines(c.text, LoneCr::EndsLine), c.endsLine) << ::testing::PrintToString(c.text);
    EXPECT_EQ(Lines(c.text, LoneCr::InLine), c.inLine) << ::testing::PrintToString(c.text);
  }
}

TEST(LineReader, StartsWhereItIsToldAndSaysWhereTheNextLineBegins) {
  const std::string text = "skip\r\none\ntwo\r\n";
  LineReader reader(text, LoneCr::InLine, 6);
  EXPECT_EQ(reader.LinesLeft(), 2u);
  EXPECT_EQ(reader.Next(), "one");
  EXPECT_EQ(reader.Position(), 10u);
  LineReader peek = reader;
  EXPECT_EQ(peek.Next(), "two");
  EXPECT_EQ(reader.Next(), "two");
  EXPECT_EQ(reader.Next(), std::nullopt);
}

TEST(LineReader, TheLengthOfALineBreak) {
  struct Case {
    std::string text;
    std::size_t pos;
    std::size_t endsLine;
    std::size_t inLine;
  };
  const Case cases[] = {
      {"a\r\nb", 1, 2, 2}, {"a\nb", 1, 1, 1}, {"a\rb", 1, 1, 0}, {"a\r", 1, 1, 0},
      {"ab", 1, 0, 0},     {"a", 1, 0, 0},    {"a", 5, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LineBreakAt(c.text, c.pos, LoneCr::EndsLine), c.endsLine) << ::testing::PrintToString(c.text);
    EXPECT_EQ(LineBreakAt(c.text, c.pos, LoneCr::InLine), c.inLine) << ::testing::PrintToString(c.text);
  }
}

}  // namespace
}  // namespace brevora::text
