#include "sheet/byte_helpers.h"

#include <gtest/gtest.h>

#include "sheet/sheet_test_support.h"

namespace brevora::sheet {
namespace {

TEST(ByteHelpersTest, StringToBytes) {
  EXPECT_EQ(StringToBytes("Plan", 6), (std::vector<uint8_t>{'P', 'l', 'a', 'n', 0, 0, 0}));
  EXPECT_EQ(StringToBytes("Quarterly", 3), (std::vector<uint8_t>{'Q', 'u', 'a', 0}));
  EXPECT_EQ(StringToBytes("", 0), (std::vector<uint8_t>{0}));
}

TEST(ByteHelpersTest, BytesToString) {
  const struct {
    std::vector<uint8_t> bytes;
    const char* text;
  } cases[] = {
      {{'P', 'l', 'a', 'n', 0, 0}, "Plan"}, {{'A', 'B', 'C'}, "AB"}, {{0, 'A'}, ""}, {{}, ""}};
  for (const auto& c : cases) EXPECT_EQ(BytesToString(Variant(c.bytes)), c.text);
  const AutomationError e = testing::ErrorOf([] { BytesToString(Variant("Plan")); });
  EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040111));
  EXPECT_EQ(e.source(), "tabrelpc");
  EXPECT_EQ(e.description(), "The parameter is not an array of byte.");
}

}  // namespace
}  // namespace brevora::sheet
