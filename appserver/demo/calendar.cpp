#include "demo/calendar.h"

#include <algorithm>

namespace {

// Days since 01/01/1970 of a proleptic Gregorian date (H. Hinnant's method).
long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : days[m - 1];
}

}  // namespace

double DateDays(int year, int month, int day) {
  return static_cast<double>(daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30));
}

double AddMonths(int year, int month, int day, int months) {
  int index = year * 12 + (month - 1) + months;
  int y = index / 12;
  int m = index % 12 + 1;
  return DateDays(y, m, std::min(day, daysInMonth(y, m)));
}
