// Unsigned decimal text in 32-bit arithmetic, the AND of two such numbers, and
// the big-endian byte strings.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "support/tabrelc.h"

namespace {

TEST(ULongStrToLong, ParsesUnsigned32BitDecimals) {
  const struct {
    const char* text;
    uint32_t value;
  } rows[] = {
      {"", 0},
      {"0", 0},
      {"123", 123},
      {"0012", 12},
      {"  \t\r\n\v\f42abc", 42},
      {"12 34", 12},
      {"+7", 7},
      {"-1", 4294967295u},
      {"-0", 0},
      {"-4294967295", 1},
      {"4294967295", 4294967295u},
      {"4294967296", 4294967295u},            // saturates
      {"18446744073709551617", 4294967295u},  // would wrap in 64 bits
      {"99999999999999999999999999", 4294967295u},
      {"-4294967296", 4294967295u},  // saturated values keep their sign-less maximum
      {"-2147483648", 2147483648u},
      {"abc", 0},
      {"- 5", 0},
      {"--5", 0},
      {"+-5", 0},
      {"\xA0"
       "5",
       0},  // only the C white space is skipped
  };
  for (const auto& row : rows) {
    uint32_t out = 0xDEADBEEF;
    EXPECT_EQ(ULongStrToLong(row.text, &out), row.value) << '"' << row.text << '"';
    EXPECT_EQ(out, row.value) << '"' << row.text << '"';
  }
  EXPECT_EQ(ULongStrToLong("77", nullptr), 77u);
  EXPECT_EQ(ULongStrToLong(nullptr, nullptr), 0u);
}

// Calls f with a buffer of 20 blanks, as the callers do; returns the text
// before the zero byte and checks the rest was left alone.
template <typename F>
std::string WithBuffer(F f) {
  char buf[21];
  std::memset(buf, ' ', 20);
  buf[20] = '\0';
  f(buf);
  const size_t len = std::strlen(buf);
  EXPECT_LE(len, 10u);
  for (size_t i = len + 1; i < 20; ++i) EXPECT_EQ(buf[i], ' ') << i;
  return std::string(buf, len);
}

TEST(ORX_BitAnd, AndsTwoDecimalTexts) {
  const struct {
    const char* a;
    const char* b;
    const char* result;
  } rows[] = {
      {"4294967295", "12", "12"},
      {"", "5", "0"},
      {"6", "3", "2"},
      {"-1", "255", "255"},
      {"4294967296", "4294967295", "4294967295"},
      {"2147483648", "-1", "2147483648"},
      {" 0xFF", "255", "0"},
      {"65535", "1048575", "65535"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(WithBuffer([&](char* buf) { ORX_BitAnd(row.a, row.b, buf); }), row.result)
        << row.a << " & " << row.b;
  }
}

TEST(LongToULongStr, WritesTheValueAsUnsigned) {
  const struct {
    int32_t value;
    const char* text;
  } rows[] = {{0, "0"},
              {7, "7"},
              {123, "123"},
              {-1, "4294967295"},
              {INT32_MIN, "2147483648"},
              {INT32_MAX, "2147483647"}};
  for (const auto& row : rows) {
    EXPECT_EQ(WithBuffer([&](char* buf) { LongToULongStr(row.value, buf); }), row.text)
        << row.value;
  }
}

TEST(FlipToStr, WritesMostSignificantFirstWithoutTerminator) {
  const struct {
    bool dword;
    int32_t value;
    std::string bytes;
  } rows[] = {
      {false, 0x1234, "\x12\x34"},
      {false, 0x7FFF1234, "\x12\x34"},  // only the low 16 bits
      {false, -1, "\xFF\xFF"},
      {false, 0, std::string("\0\0", 2)},
      {true, 0x12345678, "\x12\x34\x56\x78"},
      {true, static_cast<int32_t>(0x80000001u), std::string("\x80\0\0\x01", 4)},
      {true, -2, "\xFF\xFF\xFF\xFE"},
  };
  for (const auto& row : rows) {
    char buf[6];
    std::memset(buf, '#', sizeof buf);
    if (row.dword) {
      FlipDWordToStr(row.value, buf);
    } else {
      FlipWordToStr(row.value, buf);
    }
    EXPECT_EQ(std::string(buf, row.bytes.size()), row.bytes) << row.value;
    for (size_t i = row.bytes.size(); i < sizeof buf; ++i) EXPECT_EQ(buf[i], '#') << row.value;
  }
}

}  // namespace
