#pragma once
// Civil dates as the packets carry them: days since 30/12/1899 (the
// calendar of data/civil_date.h).
//
// The demo is written around one business day, 08/12/2026, which every
// branch keeps as its processing date. Moving the demo to another day moves
// every date it writes by the same number of days, so due dates, events and
// child budgets keep their places relative to the business day. Not
// thread-safe: the demo is written by one thread.

// The business day the demo is written for, unless moved.
inline constexpr int kDemoYear = 2026, kDemoMonth = 12, kDemoDay = 8;

// The day the demo is being written for (08/12/2026 when not moved).
double DemoBusinessDay();

// Moves the demo's dates to `businessDay` for as long as the scope lives.
class DemoDayScope {
 public:
  explicit DemoDayScope(double businessDay);
  ~DemoDayScope();
  DemoDayScope(const DemoDayScope&) = delete;
  DemoDayScope& operator=(const DemoDayScope&) = delete;

 private:
  double previousShift_;
};

// The demo's date for a day written as of the reference business day.
double DateDays(int y, int m, int d);
// The same day `count` months later (the day clamped to the month's end).
double AddMonths(int y, int m, int d, int count);
