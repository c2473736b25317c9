#include "core/big_endian_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora::core {
namespace {

using ::brevora::testing::NumberOf;

using Bytes = std::vector<uint8_t>;

TEST(BigEndian16, StartsAtZeroAndKeepsValuesInBothByteOrders) {
  BigEndian16 w;
  EXPECT_EQ(w.Value(), 0);
  w.SetValue(0x1234);
  EXPECT_EQ(w.Bytes(1), (Bytes{0x12, 0x34}));
  EXPECT_EQ(w.Bytes(0), (Bytes{0x34, 0x12}));
  EXPECT_EQ(w.Bytes(2), (Bytes{0x34, 0x12}));
  w.SetBytes(0, Bytes{0xCD, 0xAB});
  EXPECT_EQ(w.Value(), 0xABCD);
  w.SetBytes(1, Bytes{0xCD, 0xAB, 0xFF});  // extra bytes are ignored
  EXPECT_EQ(w.Value(), 0xCDAB);
}

TEST(BigEndian16, LongValueIsTheMemoryImageOfTheByteArray) {
  BigEndian16 w;
  w.SetValue(0x1234);
  EXPECT_EQ(w.Int32Image(0), 0x1234);
  EXPECT_EQ(w.Int32Image(1), 0x3412);
  w.SetInt32Image(1, 0x7F015678);  // two low bytes, taken most significant first
  EXPECT_EQ(w.Value(), 0x7856);
  w.SetInt32Image(0, -1);
  EXPECT_EQ(w.Value(), 0xFFFF);
}

TEST(BigEndian32, KeepsValuesInBothByteOrders) {
  BigEndian32 d;
  EXPECT_EQ(d.Value(), 0.0);
  d.SetValue(4294967295.0);
  EXPECT_EQ(d.Bytes(1), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  d.SetValue(3061152000.75);  // the fraction is dropped
  EXPECT_EQ(d.Value(), 3061152000.0);
  EXPECT_EQ(d.Bytes(1), (Bytes{0xB6, 0x75, 0x79, 0x00}));
  EXPECT_EQ(d.Bytes(0), (Bytes{0x00, 0x79, 0x75, 0xB6}));
  d.SetBytes(0, Bytes{0x04, 0x03, 0x02, 0x01});
  EXPECT_EQ(d.Value(), 0x01020304);
  EXPECT_EQ(d.Int32Image(0), 0x01020304);
  EXPECT_EQ(d.Int32Image(1), 0x04030201);
  d.SetInt32Image(1, 0x04030201);
  EXPECT_EQ(d.Value(), 0x01020304);
  d.SetInt32Image(0, -2);
  EXPECT_EQ(d.Value(), 4294967294.0);
}

TEST(WordAndDWord, RefuseWhatTheyCannotHold) {
  struct Case {
    const char* what;
    std::function<void()> call;
    int error;
  };
  BigEndian16 w;
  BigEndian32 d;
  const Case cases[] = {
      {"word -1", [&] { w.SetValue(-1); }, 6},
      {"word 65536", [&] { w.SetValue(65536); }, 6},
      {"dword -0.5", [&] { d.SetValue(-0.5); }, 6},
      {"dword 2^32", [&] { d.SetValue(4294967296.0); }, 6},
      {"dword NaN", [&] { d.SetValue(std::nan("")); }, 6},
      {"word short array", [&] { w.SetBytes(1, Bytes{1}); }, 9},
      {"dword short array",
       [&] {
         d.SetBytes(1, Bytes{1, 2, 3});
       },
       9},
      {"word 65535", [&] { w.SetValue(65535); }, 0},
      {"dword 0", [&] { d.SetValue(0); }, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberOf(c.call), c.error) << c.what;
  EXPECT_EQ(w.Value(), 65535);  // refused values left the numbers as they were
}

}  // namespace
}  // namespace brevora::core
