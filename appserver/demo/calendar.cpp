#include "demo/calendar.h"

#include <chrono>

namespace {

using namespace std::chrono;

// Day zero of the packets' dates.
constexpr sys_days kDayZero{year{1899} / December / 30};

}  // namespace

double DateDays(int y, int m, int d) {
  const sys_days date{year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)}};
  return static_cast<double>((date - kDayZero).count());
}

double AddMonths(int y, int m, int d, int count) {
  const year_month later = year{y} / month{static_cast<unsigned>(m)} + months{count};
  const year_month_day_last monthEnd{later.year(), month_day_last{later.month()}};
  const day wanted{static_cast<unsigned>(d)};
  const sys_days date{later / (wanted < monthEnd.day() ? wanted : monthEnd.day())};
  return static_cast<double>((date - kDayZero).count());
}
