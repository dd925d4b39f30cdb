#include "data/civil_date.h"

#include <cmath>
#include <ctime>

namespace {

using namespace std::chrono;

year_month_day Ymd(int y, int m, int d) {
  return year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
}

}  // namespace

bool IsLeapYear(int y) { return year{y}.is_leap(); }

int DaysInMonth(int y, int m) {
  const year_month_day_last last{year{y}, month_day_last{month{static_cast<unsigned>(m)}}};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

bool IsRealDay(int y, int m, int d) {
  // Checked as ints first: a negative month or day must not wrap to a valid unsigned one.
  return m >= 1 && m <= 12 && d >= 1 && d <= 31 && Ymd(y, m, d).ok();
}

double DaysFromCivil(int y, int m, int d) { return static_cast<double>((sys_days{Ymd(y, m, d)} - kDayZero).count()); }

double DaysFromCivil(const CivilDate& date) { return DaysFromCivil(date.year, date.month, date.day); }

CivilDate CivilFromDays(double days) {
  const year_month_day date{kDayZero + std::chrono::days{static_cast<long>(std::floor(days))}};
  return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day()))};
}

CivilDate AddMonthsClamped(const CivilDate& date, int count) {
  const year_month later = year{date.year} / month{static_cast<unsigned>(date.month)} + months{count};
  const int y = static_cast<int>(later.year());
  const int m = static_cast<int>(static_cast<unsigned>(later.month()));
  const int last = DaysInMonth(y, m);
  return {y, m, date.day < last ? date.day : last};
}

double TodayDays() {
  // The local day comes from the C library, which follows TZ and the
  // system's zone as every other local time here does (and which faketime
  // moves); <chrono> counts the days.
  const std::time_t now = system_clock::to_time_t(system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}
