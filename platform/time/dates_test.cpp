#include "platform/time/dates.h"

#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace brevora::dates {
namespace {

// Runs each case in a chosen time zone (POSIX rules, so no zone database is
// needed) and restores the process's zone afterwards.
class Dates : public ::testing::Test {
 protected:
  void SetZone(const char* tz) {
    setenv("TZ", tz, 1);
    tzset();
  }
  void TearDown() override {
    if (saved_)
      setenv("TZ", saved_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> saved_ =
      std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr double kSecond = 1.0 / 86400;

TEST_F(Dates, UnixEpochInUtcAndInALocalZone) {
  SetZone("UTC0");
  EXPECT_DOUBLE_EQ(TimeToVbDate(0), 25569.0);
  EXPECT_EQ(VbDateToTime(25569.0), 0);
  EXPECT_EQ(VbDateToTime(25569.5), 43200);
  SetZone(kBerlin);
  // Local wall clock: 1970-01-01 01:00.
  EXPECT_NEAR(TimeToVbDate(0), 25569.0 + 1.0 / 24, 1e-9);
  EXPECT_EQ(VbDateToTime(25569.0 + 1.0 / 24), 0);
  // 2021-07-01 12:00 CEST (UTC+2) is 10:00 UTC.
  const std::time_t summer = 1625133600;
  EXPECT_NEAR(TimeToVbDate(summer), 44378.5, 1e-9);
  EXPECT_EQ(VbDateToTime(44378.5), summer);
}

TEST_F(Dates, RoundsToTheNearestSecond) {
  SetZone("UTC0");
  EXPECT_EQ(VbDateToTime(25569.0 + 0.4 * kSecond), 0);
  EXPECT_EQ(VbDateToTime(25569.0 + 0.6 * kSecond), 1);
  EXPECT_EQ(VbDateToTime(25569.0 + 59.7 * kSecond), 60);
  EXPECT_EQ(VbDateToTime(25569.0 + 86399.6 * kSecond), 86400);  // carries into the next day
  EXPECT_EQ(VbDateToPalm(1462.0 + 0.5001 * kSecond), 1u);
  EXPECT_EQ(VbDateToPalm(1462.0 + 0.4999 * kSecond), 0u);
}

TEST_F(Dates, NegativeDatesCountDaysBackAndTimeForward) {
  SetZone("UTC0");
  const std::time_t vbEpoch = -2209161600;  // 1899-12-30 00:00 UTC
  EXPECT_DOUBLE_EQ(TimeToVbDate(vbEpoch), 0.0);
  EXPECT_DOUBLE_EQ(TimeToVbDate(vbEpoch - 86400 + 6 * 3600), -1.25);  // 1899-12-29 06:00
  EXPECT_EQ(VbDateToTime(-1.25), vbEpoch - 86400 + 6 * 3600);
  EXPECT_EQ(VbDateToTime(-2.0), vbEpoch - 2 * 86400);
}

TEST_F(Dates, TimesRoundTripThroughVbDates) {
  for (const char* zone : {"UTC0", kBerlin, "EST5EDT,M3.2.0,M11.1.0"}) {
    SetZone(zone);
    // Whole seconds from 1970 on, including both summer-time switches of 2021 in
    // Berlin (2021-03-28 01:59:59 UTC and 2021-10-31 00:59:59 UTC).
    for (std::time_t t :
         {std::time_t{0}, std::time_t{1}, std::time_t{951782400}, std::time_t{1616896799},
          std::time_t{1616896800}, std::time_t{1635641999}, std::time_t{1635645600},
          std::time_t{1700000000}, std::time_t{2147483647}, std::time_t{4102444800}}) {
      EXPECT_EQ(VbDateToTime(TimeToVbDate(t)), t) << zone << " " << t;
    }
  }
}

TEST_F(Dates, PalmDatesCountSecondsFrom1904) {
  EXPECT_DOUBLE_EQ(PalmToVbDate(0), 1462.0);  // 1904-01-01
  EXPECT_DOUBLE_EQ(PalmToVbDate(86400 + 43200), 1463.5);
  EXPECT_EQ(VbDateToPalm(1462.0), 0u);
  EXPECT_EQ(VbDateToPalm(1463.5), 129600u);
  for (uint32_t palm : {0u, 1u, 59u, 86399u, 3000000000u, 4294967295u}) {
    EXPECT_EQ(VbDateToPalm(PalmToVbDate(palm)), palm) << palm;
  }
  // Before 1904 gives 0; past the 32-bit range saturates; garbage gives 0.
  EXPECT_EQ(VbDateToPalm(1000.0), 0u);
  EXPECT_EQ(VbDateToPalm(-5.0), 0u);
  EXPECT_EQ(VbDateToPalm(1.0e9), 4294967295u);
  EXPECT_EQ(VbDateToPalm(std::numeric_limits<double>::quiet_NaN()), 0u);
}

TEST_F(Dates, PalmAndUnixTimesAgreeThroughTheLocalClock) {
  SetZone(kBerlin);
  // 2021-07-01 12:00 local is 1625133600 UTC; Palm counts local seconds from 1904.
  const double vb = TimeToVbDate(1625133600);
  EXPECT_EQ(VbDateToPalm(vb), static_cast<uint32_t>((44378.5 - 1462) * 86400));
  EXPECT_EQ(VbDateToTime(PalmToVbDate(VbDateToPalm(vb))), 1625133600);
}

}  // namespace
}  // namespace brevora::dates
