#pragma once
// Dates as the system stores them. A Visual Basic date is days (with fraction)
// since 1899-12-30 00:00 local time; a Palm date is whole seconds since
// 1904-01-01 00:00 local time (unsigned 32-bit in handheld databases).
#include <cstdint>
#include <ctime>

namespace brevora::dates {

inline constexpr uint32_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to the civil date y-m-d (proleptic Gregorian), and back.
constexpr int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}
void CivilFromDays(int64_t days, int64_t& y, unsigned& m, unsigned& d);

// Local wall-clock conversions (through the local time zone).
double TimeToVbDate(std::time_t t);
std::time_t VbDateToTime(double vbDate);  // rounds to the nearest second
double NowVbDate();

// Palm <-> Visual Basic date, both local: whole seconds, rounded to the nearest.
// A VB date before 1904-01-01 or past the 32-bit range gives 0 / saturates.
uint32_t VbDateToPalm(double vbDate);
double PalmToVbDate(uint32_t palm);

}  // namespace brevora::dates
