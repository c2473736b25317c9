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
  for (std::string_view line; reader.Next(line);) read.lines.emplace_back(line);
  read.atEnd = reader.AtEnd();
  return read;
}

TEST(LineReader, LinesUnderEachRule) {
  const LineRules strict{};
  const LineRules open{.openLastLine = true};
  const LineRules crLf{.crLf = true, .openLastLine = true};
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

}  // namespace
}  // namespace brevora::text
