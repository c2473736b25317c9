#include "sheet/cell_format.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/error/error.h"

namespace brevora::sheet {
namespace {

TEST(CellFormatTest, NewFormatReadsDefaults) {
  CellFormat f;
  EXPECT_EQ(f.Raw(), 0);
  EXPECT_EQ(f.FormatType(), Number);
  EXPECT_EQ(f.Alignment(), LeftJustify);
  EXPECT_EQ(f.Precision(), 0);
  EXPECT_TRUE(f.locked());
  EXPECT_FALSE(f.Bold());
  EXPECT_FALSE(f.Underline());
  EXPECT_FALSE(f.LongTime());
  EXPECT_FALSE(f.ShortDate());
  EXPECT_FALSE(f.NumberSeperator());
}

// Each setter on a starting word gives exactly the expected word.
TEST(CellFormatTest, SettersClearThenAdd) {
  struct Case {
    const char* what;
    uint32_t start;
    std::function<void(CellFormat&)> set;
    uint32_t expected;
  };
  const Case cases[] = {
      {"type Date on Percentage", 0xF0000202, [](CellFormat& f) { f.SetFormatType(Date); },
       0xF0000402},
      {"type Number", 0, [](CellFormat& f) { f.SetFormatType(Number); }, 0x20},
      {"type Text", 0x80, [](CellFormat& f) { f.SetFormatType(Text); }, 0x40},
      {"type Money", 0, [](CellFormat& f) { f.SetFormatType(Money); }, 0x80},
      {"type Time", 0, [](CellFormat& f) { f.SetFormatType(Time); }, 0x800},
      {"type DateTime", 0x20, [](CellFormat& f) { f.SetFormatType(DateTime); }, 0xC00},
      {"type out of range clears", 0xFFFFFFFF, [](CellFormat& f) { f.SetFormatType(6); },
       0xFFFFF00F},
      {"precision 3 after 15", 0xF0000022,
       [](CellFormat& f) {
         f.SetPrecision(15);
         f.SetPrecision(3);
       },
       0x30000022},
      {"precision 0", 0xFFFFFFFF, [](CellFormat& f) { f.SetPrecision(0); }, 0x0FFFFFFF},
      {"underline on", 0, [](CellFormat& f) { f.SetUnderline(true); }, 0x2000},
      {"underline off", 0xFFFFFFFF, [](CellFormat& f) { f.SetUnderline(false); }, 0xFFFFDFFF},
      {"bold on", 0x41, [](CellFormat& f) { f.SetBold(true); }, 0x49},
      {"bold off", 0xFFFFFFFF, [](CellFormat& f) { f.SetBold(false); }, 0xFFFFFFF7},
      {"long time on", 0, [](CellFormat& f) { f.SetLongTime(true); }, 0x4000},
      {"short date off", 0xFFFFFFFF, [](CellFormat& f) { f.SetShortDate(false); }, 0xFFFFBFFF},
      {"centre on clear bits", 0x48, [](CellFormat& f) { f.SetAlignment(CenterJustify); }, 0x4C},
      {"right", 0x4C, [](CellFormat& f) { f.SetAlignment(RightJustify); }, 0x4A},
      {"left", 0x4C, [](CellFormat& f) { f.SetAlignment(LeftJustify); }, 0x49},
      {"alignment out of range clears", 0x4F, [](CellFormat& f) { f.SetAlignment(7); }, 0x48},
      {"unlock", 0, [](CellFormat& f) { f.Setlocked(false); }, 0x8000},
      {"lock", 0xFFFFFFFF, [](CellFormat& f) { f.Setlocked(true); }, 0xFFFF7FFF},
      {"separator on", 0, [](CellFormat& f) { f.SetNumberSeperator(true); }, 0x1000},
      {"separator off", 0xFFFFFFFF, [](CellFormat& f) { f.SetNumberSeperator(false); }, 0xFFFFEFFF},
      // Bits without a property are never touched.
      {"unnamed bits kept", 0x0F3A0000,
       [](CellFormat& f) {
         f.SetBold(true);
         f.SetFormatType(Money);
       },
       0x0F3A0088},
  };
  for (const Case& c : cases) {
    CellFormat f(c.start);
    c.set(f);
    EXPECT_EQ(f.Bits(), c.expected) << c.what;
  }
}

TEST(CellFormatTest, GettersReadTheFields) {
  struct Case {
    uint32_t word;
    eFormats type;
    eAlignment alignment;
    int16_t precision;
    bool bold;
  };
  const Case cases[] = {
      {0x4C, Text, CenterJustify, 0, true},           // "Col Header"
      {0xF0000022, Number, RightJustify, 15, false},  // "Number"
      {0x20001082, Money, RightJustify, 2, false},    // "Money"
      {0xF0000202, Number, RightJustify, 15, false},  // percentage reads Number
      {0x402, Date, RightJustify, 0, false},
      {0x802, Time, RightJustify, 0, false},
      {0xC02, DateTime, RightJustify, 0, false},
      {0x63, Number, LeftJustify, 0, false},  // type mixture 0x60, alignment 3
  };
  for (const Case& c : cases) {
    CellFormat f(c.word);
    EXPECT_EQ(f.FormatType(), c.type) << std::hex << c.word;
    EXPECT_EQ(f.Alignment(), c.alignment) << std::hex << c.word;
    EXPECT_EQ(f.Precision(), c.precision) << std::hex << c.word;
    EXPECT_EQ(f.Bold(), c.bold) << std::hex << c.word;
  }
}

TEST(CellFormatTest, LongTimeAndShortDateAreOneBit) {
  CellFormat f;
  f.SetLongTime(true);
  EXPECT_TRUE(f.ShortDate());
  f.SetShortDate(false);
  EXPECT_FALSE(f.LongTime());
}

TEST(CellFormatTest, PrecisionOutOfRangeIsRefused) {
  for (int32_t bad : {-1, 16, 32767}) {
    CellFormat f(0x30000041);
    try {
      f.SetPrecision(bad);
      FAIL() << bad;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040100));
      EXPECT_EQ(e.source(), "tabrelpc");
      EXPECT_EQ(e.description(), "Invalid Precision. Must be between 0 and 15.");
    }
    EXPECT_EQ(f.Bits(), 0x30000041u);
  }
}

// A word given through Raw is kept as the field getters read it, so what is
// stored can always be written to a file.
TEST(CellFormatTest, RawNormalisesWordsOutsideThe32BitRange) {
  struct Case {
    double given;
    double stored;
  };
  const Case cases[] = {
      {65, 65}, {4294967295.0, 4294967295.0}, {-1, 4294967295.0},  {-2, 4294967294.0},
      {1.9, 1}, {4294967296.0, 4294967295.0}, {5e9, 4294967295.0},
  };
  for (const Case& c : cases) {
    CellFormat f;
    f.SetRaw(c.given);
    EXPECT_EQ(f.Raw(), c.stored) << c.given;
  }
}

TEST(CellFormatTest, LateBoundMembersAndDefaultMember) {
  Ref<Dispatch> object = CreateObject("TabulynPC.CellFormat");
  ASSERT_TRUE(RefCast<CellFormat>(object));
  CallByName(object, "", CallKind::Let, 0x4C);
  EXPECT_EQ(CallByName(object, "Raw", CallKind::Get), Variant(76.0));
  EXPECT_EQ(CallByName(object, "alignment", CallKind::Get), Variant(int32_t{CenterJustify}));
  CallByName(object, "Precision", CallKind::Let, 2);
  EXPECT_EQ(CallByName(object, "", CallKind::Get), Variant(static_cast<double>(0x2000004C)));
  EXPECT_EQ(CallByName(object, "locked", CallKind::Get), Variant(true));
}

}  // namespace
}  // namespace brevora::sheet
