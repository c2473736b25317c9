#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora::core {
namespace {

using ::brevora::testing::NumberOf;

TEST(NumberText, ByteStringsAreMostSignificantByteFirst) {
  EXPECT_EQ(BigEndianBytes32(0x12345678), std::string("\x12\x34\x56\x78"));
  EXPECT_EQ(BigEndianBytes32(4294967295.0), std::string("\xFF\xFF\xFF\xFF"));
  EXPECT_EQ(BigEndianBytes32(-1), std::string("\xFF\xFF\xFF\xFF"));
  EXPECT_EQ(BigEndianBytes32(1500), std::string("\0\0\x05\xDC", 4));
  EXPECT_EQ(BigEndianBytes32(2.5), std::string("\0\0\0\x02", 4));  // halves to even
  EXPECT_EQ(NumberOf([] { BigEndianBytes32(4294967296.0); }), 6);
  EXPECT_EQ(NumberOf([] { BigEndianBytes32(-2147483649.0); }), 6);
  EXPECT_EQ(NumberOf([] { BigEndianBytes32(std::nan("")); }), 6);

  EXPECT_EQ(BigEndianBytes16(0x1234), "\x12\x34");
  EXPECT_EQ(BigEndianBytes16(0x12345), "\x23\x45");
  EXPECT_EQ(BigEndianBytes16(-1), "\xFF\xFF");

  EXPECT_EQ(ByteChar(65), "A");
  EXPECT_EQ(ByteChar(0), std::string(1, '\0'));
  EXPECT_EQ(ByteChar(255), "\xFF");
  EXPECT_EQ(NumberOf([] { ByteChar(256); }), 5);
  EXPECT_EQ(NumberOf([] { ByteChar(-1); }), 5);
}

TEST(NumberText, BitAndDecimal) {
  const struct {
    const char* a;
    const char* b;
    double result;
  } cases[] = {{"4294967295", "12", 12},
               {"12", "4294967295", 12},
               {"4294967295", "4294967295", 4294967295.0},
               {"2147483648", "2147483648", 2147483648.0},
               {"", "5", 0},
               {"255", "15", 15},
               {"99999999999", "7", 7},  // saturates at 4294967295
               {"-1", "3", 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(BitAndDecimal(c.a, c.b), c.result) << c.a << " & " << c.b;
  }
}

TEST(NumberText, AddChecked) {
  int16_t value = 10;
  AddChecked(value, 5);
  EXPECT_EQ(value, 15);
  AddChecked(value, -20);
  EXPECT_EQ(value, -5);
  value = 32767;
  AddChecked(value, 0);
  EXPECT_EQ(value, 32767);
  const struct { int16_t start, amount; } overflows[] = {{32767, 1}, {-32768, -1}, {30000, 30000}};
  for (const auto& c : overflows) {
    int16_t v = c.start;
    try {
      AddChecked(v, c.amount);
      ADD_FAILURE() << c.start << " + " << c.amount;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 6);
      EXPECT_EQ(v, c.start);
    }
  }
}

}  // namespace
}  // namespace brevora::core
