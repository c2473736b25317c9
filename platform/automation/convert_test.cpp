#include "platform/automation/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "platform/automation/dispatch.h"
#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora {
namespace {

using ::brevora::testing::NumberOf;

TEST(CLng, RoundsHalvesToEvenAndChecksRange) {
  struct Case {
    Variant in;
    int32_t out;
  };
  const Case cases[] = {
      {Variant(2.5), 2},
      {Variant(3.5), 4},
      {Variant(-2.5), -2},
      {Variant(-3.5), -4},
      {Variant(0.5), 0},
      {Variant(1.5), 2},
      {Variant(2.51), 3},
      {Variant(true), -1},
      {Variant(false), 0},
      {Variant(), 0},
      {Variant(int16_t{-7}), -7},
      {Variant(" 12 "), 12},
      {Variant("2.5"), 2},
      {Variant("-1e3"), -1000},
      {Variant("&HFF"), 255},
      {Variant("&HFFFF"), -1},
      {Variant("&H10000"), 65536},
      {Variant("&HFFFFFFFF"), -1},
      {Variant("&O17"), 15},
      {Variant("+7"), 7},
      {Variant(".5"), 0},
      {Variant("1D2"), 100},
      {Variant::Date(1.75), 2},
      {Variant(2147483647.0), 2147483647},
      {Variant(-2147483648.0), -2147483647 - 1},
  };
  for (const Case& c : cases) EXPECT_EQ(CLng(c.in), c.out) << ::testing::PrintToString(c.in);
}

TEST(CInt, SixteenBitsWithTheSameRounding) {
  EXPECT_EQ(CInt(Variant(2.5)), 2);
  EXPECT_EQ(CInt(Variant(3.5)), 4);
  EXPECT_EQ(CInt(Variant(32767.4)), 32767);
  EXPECT_EQ(CInt(Variant(-32768)), -32768);
  EXPECT_EQ(CInt(Variant("&H8000")), -32768);
  EXPECT_EQ(NumberOf([] { CInt(Variant(32767.5)); }), 6);
  EXPECT_EQ(NumberOf([] { CInt(Variant(40000)); }), 6);
  EXPECT_EQ(NumberOf([] { CInt(Variant("-32769")); }), 6);
}

TEST(Conversions, ErrorsForBadValues) {
  struct Case {
    std::function<void()> f;
    int number;
    const char* what;
  };
  const Case cases[] = {
      {[] { CLng(Variant(2147483647.5)); }, 6, "rounds past the top"},
      {[] { CLng(Variant(-2147483649.0)); }, 6, "below the bottom"},
      {[] { CLng(Variant(std::nan(""))); }, 6, "NaN"},
      {[] { CLng(Variant("abc")); }, 13, "not a number"},
      {[] { CLng(Variant("")); }, 13, "empty string"},
      {[] { CLng(Variant("12abc")); }, 13, "trailing text"},
      {[] { CLng(Variant("1e")); }, 13, "bare exponent"},
      {[] { CLng(Variant("&HFFFFFFFFF")); }, 6, "hex past 32 bits"},
      {[] { CLng(Variant("&HG")); }, 13, "bad hex digit"},
      {[] { CDbl(Variant("inf")); }, 13, "inf is not a VB number"},
      {[] { CDbl(Variant("0x10")); }, 13, "C hex is not a VB number"},
      {[] { CDbl(Variant("1e400")); }, 6, "double overflow"},
      {[] { CLng(Variant::Null()); }, 94, "Null"},
      {[] { CStr(Variant::Null()); }, 94, "Null to string"},
      {[] { CBool(Variant::Null()); }, 94, "Null to Boolean"},
      {[] { CLng(Variant::Missing()); }, 13, "Missing"},
      {[] { CStr(Variant::Nothing()); }, 91, "Nothing"},
      {[] { CDbl(Variant(std::vector<Variant>{})); }, 13, "array"},
      {[] { CBool(Variant("yes")); }, 13, "yes is no Boolean"},
      {[] { CDate(Variant("13/1/2003")); }, 13, "no month 13"},
      {[] { CDate(Variant("2/30/2003")); }, 13, "no 30 February"},
      {[] { CDate(Variant(3e6)); }, 6, "past 9999"},
      {[] { CBytes(Variant(5)); }, 13, "number to bytes"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberOf(c.f), c.number) << c.what;
}

TEST(CStr, FormsLikeVisualBasic) {
  struct Case {
    Variant in;
    const char* out;
  };
  const Case cases[] = {
      {Variant(1.5), "1.5"},
      {Variant(1e20), "1E+20"},
      {Variant(100.0), "100"},
      {Variant(-0.0), "0"},
      {Variant(0.1), "0.1"},
      {Variant(1.0 / 3), "0.333333333333333"},
      {Variant(123456789012345.0), "123456789012345"},
      {Variant(1e15), "1E+15"},
      {Variant(0.00001), "1E-05"},
      {Variant(0.0001), "0.0001"},
      {Variant(-2.75), "-2.75"},
      {Variant(true), "True"},
      {Variant(false), "False"},
      {Variant(int16_t{-3}), "-3"},
      {Variant(-2147483647 - 1), "-2147483648"},
      {Variant(), ""},
      {Variant("as is"), "as is"},
      {Variant::Date(0), "12:00:00 AM"},
      {Variant::Date(37623), "1/2/2003"},
      {Variant::Date(37623.6278472222), "1/2/2003 3:04:06 PM"},
      {Variant::Date(0.5), "12:00:00 PM"},
      {Variant::Date(-1.5), "12/29/1899 12:00:00 PM"},
      {Variant::Date(2), "1/1/1900"},
  };
  for (const Case& c : cases) EXPECT_EQ(CStr(c.in), c.out) << ::testing::PrintToString(c.in);
  // The byte-array case holds NULs, which the table's C strings cannot.
  EXPECT_EQ(CStr(Variant(std::vector<uint8_t>{'a', 0, 0xE9})), std::string("a\0\xE9", 3));
}

TEST(CDbl, NumbersDatesAndStrings) {
  EXPECT_EQ(CDbl(Variant(" 1.25 ")), 1.25);
  EXPECT_EQ(CDbl(Variant("-.5E1")), -5.0);
  EXPECT_EQ(CDbl(Variant("1e-400")), 0.0);
  EXPECT_EQ(CDbl(Variant::Date(3.25)), 3.25);
  EXPECT_EQ(CDbl(Variant(true)), -1.0);
  EXPECT_EQ(CDbl(Variant(int16_t{4})), 4.0);
}

TEST(CBool, NonZeroAndTheWords) {
  EXPECT_TRUE(CBool(Variant(" true ")));
  EXPECT_FALSE(CBool(Variant("FALSE")));
  EXPECT_TRUE(CBool(Variant("2.5")));
  EXPECT_FALSE(CBool(Variant("0")));
  EXPECT_TRUE(CBool(Variant(-1)));
  EXPECT_FALSE(CBool(Variant(0.0)));
  EXPECT_FALSE(CBool(Variant()));
}

TEST(CStr, DateOutsideTheDateRangeIsAnOverflow) {
  // A Date variant can be made from any double (a value read from a file); its
  // text exists only for the years 100 to 9999, the range CDate accepts.
  for (double d : {1e300, -1e300, 2958466.0, -657435.0, std::nan(""), HUGE_VAL}) {
    try {
      CStr(Variant::Date(d));
      ADD_FAILURE() << "no error for " << d;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 6) << d;
    }
  }
  EXPECT_EQ(CStr(Variant::Date(2958465.0)), "12/31/9999");
  EXPECT_EQ(CStr(Variant::Date(-657434.0)), "1/1/100");
}

TEST(CDate, ReadsItsOwnTextBack) {
  for (double d : {0.0, 37623.0, 37623.62784722222, 0.5, -1.5, 2.0, 2958465.0}) {
    const std::string text = CStr(Variant::Date(d));
    EXPECT_NEAR(CDate(Variant(text)), d, 1.0 / 86400) << text;
  }
  EXPECT_EQ(CDate(Variant("2003-01-02")), 37623.0);
  EXPECT_EQ(CDate(Variant("1/2/03")), 37623.0);
  EXPECT_EQ(CDate(Variant("1/2/45")), CDate(Variant("1/2/1945")));
  EXPECT_DOUBLE_EQ(CDate(Variant("2003-01-02 18:00")), 37623.75);
  EXPECT_EQ(CDate(Variant("37623")), 37623.0);
  EXPECT_EQ(CDate(Variant(5)), 5.0);
}

TEST(CBytes, StringsAndBytesByteForByte) {
  EXPECT_EQ(CBytes(Variant(std::string("A\0\xFF", 3))), (std::vector<uint8_t>{'A', 0, 0xFF}));
  EXPECT_EQ(CBytes(Variant(std::vector<uint8_t>{1, 2})), (std::vector<uint8_t>{1, 2}));
}

}  // namespace
}  // namespace brevora
