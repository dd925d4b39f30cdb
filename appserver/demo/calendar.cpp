#include "demo/calendar.h"

#include <chrono>

namespace {

using namespace std::chrono;

// Day zero of the packets' dates.
constexpr sys_days kDayZero{year{1899} / December / 30};

double CivilDays(const sys_days& date) { return static_cast<double>((date - kDayZero).count()); }

double ReferenceDay() {
  return CivilDays(sys_days{year{kDemoYear} / month{kDemoMonth} / day{kDemoDay}});
}

// Days between the reference business day and the one being written for.
double shift = 0;

}  // namespace

double DemoBusinessDay() { return ReferenceDay() + shift; }

DemoDayScope::DemoDayScope(double businessDay) : previousShift_(shift) { shift = businessDay - ReferenceDay(); }

DemoDayScope::~DemoDayScope() { shift = previousShift_; }

double DateDays(int y, int m, int d) {
  return CivilDays(sys_days{year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)}}) + shift;
}

double AddMonths(int y, int m, int d, int count) {
  const year_month later = year{y} / month{static_cast<unsigned>(m)} + months{count};
  const year_month_day_last monthEnd{later.year(), month_day_last{later.month()}};
  const day wanted{static_cast<unsigned>(d)};
  return CivilDays(sys_days{later / (wanted < monthEnd.day() ? wanted : monthEnd.day())}) + shift;
}
