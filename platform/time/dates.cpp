#include "platform/time/dates.h"

#include <cmath>
#include <limits>

namespace brevora::dates {
namespace {

static_assert(DaysFromCivil(1970, 1, 1) == 0 && DaysFromCivil(1899, 12, 30) == -25569);

constexpr int64_t kVbEpochDays = DaysFromCivil(1899, 12, 30);    // relative to 1970-01-01
constexpr int64_t kPalmOffsetSeconds = 1462LL * kSecondsPerDay;  // 1899-12-30 .. 1904-01-01

// Seconds of local wall-clock time since 1899-12-30 00:00 -> VB date. VB counts
// the day part towards the past for negative dates, but the time of day always
// forwards: -1.25 is 1899-12-29 06:00.
double WallSecondsToVb(int64_t wall) {
  int64_t days = wall / kSecondsPerDay;
  int64_t rest = wall % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  const double fraction = static_cast<double>(rest) / kSecondsPerDay;
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

// The inverse of WallSecondsToVb, rounded to the nearest second. `vb` must be finite.
double VbToWallSeconds(double vb) {
  const double days = std::trunc(vb);
  const double fraction = std::fabs(vb - days);
  return days * kSecondsPerDay + std::round(fraction * kSecondsPerDay);
}

}  // namespace

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
}

double TimeToVbDate(std::time_t t) {
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return 0;
  const int64_t days =
      DaysFromCivil(int64_t{tm.tm_year} + 1900, tm.tm_mon + 1, tm.tm_mday) - kVbEpochDays;
  const int64_t wall = days * kSecondsPerDay + tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
  return WallSecondsToVb(wall);
}

std::time_t VbDateToTime(double vbDate) {
  if (!std::isfinite(vbDate)) return 0;
  // Keep far outside every real date from overflowing the arithmetic below.
  constexpr double kLimit = 3.0e6;  // days, about 8000 years
  if (vbDate > kLimit) vbDate = kLimit;
  if (vbDate < -kLimit) vbDate = -kLimit;
  const auto wall = static_cast<int64_t>(VbToWallSeconds(vbDate));
  int64_t days = wall / kSecondsPerDay;
  int64_t rest = wall % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  int64_t y;
  unsigned m, d;
  CivilFromDays(days + kVbEpochDays, y, m, d);
  std::tm tm{};
  tm.tm_year = static_cast<int>(y - 1900);
  tm.tm_mon = static_cast<int>(m) - 1;
  tm.tm_mday = static_cast<int>(d);
  tm.tm_hour = static_cast<int>(rest / 3600);
  tm.tm_min = static_cast<int>(rest / 60 % 60);
  tm.tm_sec = static_cast<int>(rest % 60);
  tm.tm_isdst = -1;  // let the time zone decide whether summer time applies
  return std::mktime(&tm);
}

double NowVbDate() { return TimeToVbDate(std::time(nullptr)); }

uint32_t VbDateToPalm(double vbDate) {
  if (!std::isfinite(vbDate)) return 0;
  const double palm = VbToWallSeconds(vbDate) - static_cast<double>(kPalmOffsetSeconds);
  if (palm <= 0) return 0;
  if (palm >= static_cast<double>(std::numeric_limits<uint32_t>::max())) {
    return std::numeric_limits<uint32_t>::max();
  }
  return static_cast<uint32_t>(palm);
}

double PalmToVbDate(uint32_t palm) {
  return WallSecondsToVb(static_cast<int64_t>(palm) + kPalmOffsetSeconds);
}

}  // namespace brevora::dates
