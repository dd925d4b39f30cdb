#include "demo/calendar.h"

#include "data/civil_date.h"

namespace {

double ReferenceDay() { return DaysFromCivil(kDemoYear, kDemoMonth, kDemoDay); }

// Days between the reference business day and the one being written for.
double shift = 0;

}  // namespace

double DemoBusinessDay() { return ReferenceDay() + shift; }

DemoDayScope::DemoDayScope(double businessDay) : previousShift_(shift) { shift = businessDay - ReferenceDay(); }

DemoDayScope::~DemoDayScope() { shift = previousShift_; }

double DateDays(int y, int m, int d) { return DaysFromCivil(y, m, d) + shift; }

double AddMonths(int y, int m, int d, int count) { return DaysFromCivil(AddMonthsClamped({y, m, d}, count)) + shift; }
