// The line reader under each of its rules, "key value" lines and decimal
// number fields: every case of a rule is a row.
#include "platform/text/line_reader.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace brevora::text {
namespace {

// The lines a reader hands out, and whether it reached the end of the text.
struct Read {
  std::vector<std::string> lines;
  bool atEnd = false;
  bool operator==(const Read&) const = default;
};

Read ReadAll(std::string_view text, LineRules rules) {
  LineReader reader(text, rules);
  Read read;
  while (const auto line = reader.Next()) read.lines.emplace_back(*line);
  read.atEnd = reader.AtEnd();
  return read;
}

TEST(LineReader, LinesUnderEachRule) {
  const LineRules strict{};
  const LineRules open{.openLastLine = true};
  const LineRules crLf{.ends = LineEnds::CrLf, .openLastLine = true};
  const struct {
    std::string text;
    LineRules rules;
    Read read;
  } cases[] = {
      {"", strict, {{}, true}},
      {"a\nb\n", strict, {{"a", "b"}, true}},
      {"a\n\nb\n", strict, {{"a", "", "b"}, true}},
      {"a\nb", strict, {{"a"}, false}},  // the last line has no end: refused
      {"a\r\nb\n", strict, {{"a\r", "b"}, true}},
      {"a\nb", open, {{"a", "b"}, true}},
      {"a\n\n", open, {{"a", ""}, true}},
      {"a\r\nb\r", open, {{"a\r", "b\r"}, true}},
      {"a\r\nb\r", crLf, {{"a", "b"}, true}},
      {"a\r\r\n\rb\n", crLf, {{"a\r", "\rb"}, true}},  // one CR belongs to the end
      {std::string("a\0b\nc", 5), crLf, {{std::string("a\0b", 3), "c"}, true}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadAll(c.text, c.rules), c.read) << c.text;
}

TEST(LineReader, KeyValueLines) {
  const struct {
    const char* line;
    const char* key;
    std::optional<std::string_view> value;
  } cases[] = {
      {"user Alice Smith", "user", "Alice Smith"},
      {"title ", "title", ""},
      {"title  two", "title", " two"},
      {"title", "title", std::nullopt},
      {"titles x", "title", std::nullopt},
      {"userid 42", "user", std::nullopt},
      {" user x", "user", std::nullopt},
      {"", "user", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyValue(c.line, c.key), c.value) << c.line;
}

TEST(LineReader, DecimalNumbersHaveOneSpelling) {
  const struct {
    const char* digits;
    std::optional<int32_t> strict;
    std::optional<int32_t> zeros;  // with leading zeros allowed
  } cases[] = {
      {"0", 0, 0},
      {"42", 42, 42},
      {"2147483647", 2147483647, 2147483647},
      {"042", std::nullopt, 42},
      {"00000000000000000007", std::nullopt, 7},
      {"2147483648", std::nullopt, std::nullopt},
      {"-1", std::nullopt, std::nullopt},
      {"+1", std::nullopt, std::nullopt},
      {" 1", std::nullopt, std::nullopt},
      {"1 ", std::nullopt, std::nullopt},
      {"1a", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecimalNumber<int32_t>(c.digits), c.strict) << c.digits;
    EXPECT_EQ(DecimalNumber<int32_t>(c.digits, LeadingZeros::kAllowed), c.zeros) << c.digits;
  }
  EXPECT_EQ(DecimalNumber<uint64_t>("18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(DecimalNumber<uint64_t>("18446744073709551616"), std::nullopt);
}

std::vector<std::string> Lines(std::string_view text, LineRules rules) {
  std::vector<std::string> lines;
  LineReader reader(text, rules);
  const std::size_t count = reader.LinesLeft();
  while (const auto line = reader.Next()) lines.emplace_back(*line);
  EXPECT_EQ(lines.size(), count) << text;
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.Position(), text.size());
  return lines;
}

TEST(LineReader, TheDesktopFilesRulesOnEveryKindOfLineBreak) {
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
    EXPECT_EQ(Lines(c.text, kDesktopValueLines), c.endsLine) << ::testing::PrintToString(c.text);
    EXPECT_EQ(Lines(c.text, kDesktopLines), c.inLine) << ::testing::PrintToString(c.text);
  }
}

TEST(LineReader, StartsWhereItIsToldAndSaysWhereTheNextLineBegins) {
  const std::string text = "skip\r\none\ntwo\r\n";
  LineReader reader(text, kDesktopLines, 6);
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
  EXPECT_EQ(LineBreakAt("a\r\nb", 1, LineEnds::Lf), 0u);
  EXPECT_EQ(LineBreakAt("a\nb", 1, LineEnds::Lf), 1u);
  const Case cases[] = {
      {"a\r\nb", 1, 2, 2}, {"a\nb", 1, 1, 1}, {"a\rb", 1, 1, 0}, {"a\r", 1, 1, 0},
      {"ab", 1, 0, 0},     {"a", 1, 0, 0},    {"a", 5, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LineBreakAt(c.text, c.pos, LineEnds::CrLfOrCr), c.endsLine)
        << ::testing::PrintToString(c.text);
    EXPECT_EQ(LineBreakAt(c.text, c.pos, LineEnds::CrLf), c.inLine)
        << ::testing::PrintToString(c.text);
  }
}

}  // namespace
}  // namespace brevora::text
