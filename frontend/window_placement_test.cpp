// Where the stand-alone window opens from its stored placement.
#include "frontend/window_placement.h"

#include <gtest/gtest.h>

namespace brevora::frontend {
namespace {

const TwipRect kScreen{0, 0, 1920 * 15, 1050 * 15};
const TwipRect kCurrent{3000, 2000, 9000, 6000};

TEST(WindowPlacement, StoredValuesOverTheWindowsOwn) {
  struct Case {
    StoredPlacement stored;
    TwipRect expected;
  };
  const Case cases[] = {
      // First start: nothing stored: the window's place, width 9300.
      {{"", "", "", ""}, {3000, 2000, 9300, 6000}},
      {{"0", "0", "9300", "0"}, {3000, 2000, 9300, 6000}},
      {{"1500", "4500", "12000", "7500"}, {4500, 1500, 12000, 7500}},
      // Too small a window is made large enough.
      {{"1500", "4500", "3000", "1000"}, {4500, 1500, 6480, 3600}},
      {{"1500", "4500", "-200", "-5"}, {4500, 1500, 6480, 3600}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RestoredPlacement(c.stored, kCurrent, {kScreen}), c.expected) << c.stored.left;
  }
}

TEST(WindowPlacement, OffEveryScreenComesBackOntoTheFirst) {
  for (const StoredPlacement& stored : {StoredPlacement{"-90000", "100", "12000", "7500"},
                                        StoredPlacement{"100", "99000", "12000", "7500"},
                                        StoredPlacement{"100", "-50000", "12000", "7500"}}) {
    const TwipRect r = RestoredPlacement(stored, kCurrent, {kScreen});
    EXPECT_EQ(r.width, 12000);
    EXPECT_EQ(r.height, 7500);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.left + r.width, kScreen.width);
    EXPECT_LE(r.top + r.height, kScreen.height);
  }
  // On a second screen it stays where it was.
  const TwipRect second{1920 * 15, 0, 1280 * 15, 1024 * 15};
  const TwipRect r =
      RestoredPlacement({"300", "30000", "12000", "7500"}, kCurrent, {kScreen, second});
  EXPECT_EQ(r.left, 30000);
  // A window larger than the screen it is brought onto fits it.
  const TwipRect big = RestoredPlacement({"-90000", "0", "90000", "90000"}, kCurrent, {kScreen});
  EXPECT_EQ(big, kScreen);
}

}  // namespace
}  // namespace brevora::frontend
