// The calendar: day zero, leap years, month ends, month arithmetic and the
// round trip between civil dates and day numbers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "data/civil_date.h"

namespace {

struct DayNumber {
  CivilDate date;
  double days;
};

// Day numbers checked against an independent calendar (Python's datetime).
const DayNumber kDayNumbers[] = {
    {{1899, 12, 30}, 0},        // day zero
    {{1899, 12, 29}, -1},       // before it, negative
    {{1899, 12, 31}, 1},
    {{1900, 1, 1}, 2},
    {{1900, 2, 28}, 60},        // 1900 is no leap year: no 29/02/1900 in between
    {{1900, 3, 1}, 61},
    {{1600, 2, 29}, -109512},   // divisible by 400: a leap year
    {{1970, 1, 1}, 25569},
    {{2000, 2, 29}, 36585},
    {{2024, 2, 29}, 45351},
    {{2026, 12, 8}, 46364},
    {{2027, 1, 5}, 46392},
    {{1, 1, 1}, -693593},       // the calendar's first day
    {{9999, 12, 31}, 2958465},  // and its last
};

TEST(CivilDate, DayNumbersCountFromDayZero) {
  for (const DayNumber& row : kDayNumbers) {
    const std::string day = std::to_string(row.date.day) + "/" + std::to_string(row.date.month) + "/" +
                            std::to_string(row.date.year);
    EXPECT_EQ(DaysFromCivil(row.date), row.days) << day;
    EXPECT_EQ(DaysFromCivil(row.date.year, row.date.month, row.date.day), row.days) << day;
    EXPECT_EQ(CivilFromDays(row.days), row.date) << day;
  }
  EXPECT_EQ(kFirstCalendarDay, -693593);
  EXPECT_EQ(kLastCalendarDay, 2958465);
}

TEST(CivilDate, TheTimeOfDayIsDroppedTowardsTheEarlierDay) {
  const struct {
    double days;
    CivilDate date;
  } rows[] = {
      {46392.75, {2027, 1, 5}},
      {46392.999, {2027, 1, 5}},
      {0.5, {1899, 12, 30}},
      {-0.5, {1899, 12, 29}},
      {-1.25, {1899, 12, 28}},
  };
  for (const auto& row : rows) EXPECT_EQ(CivilFromDays(row.days), row.date) << row.days;
}

TEST(CivilDate, EveryDayRoundTripsAndFollowsTheDayBefore) {
  // Every day from 1599 to 2401: four centuries of leap rules either side
  // of day zero, each day one after the previous with no gap or repeat.
  CivilDate previous = CivilFromDays(DaysFromCivil(1599, 1, 1) - 1);
  for (double days = DaysFromCivil(1599, 1, 1); days <= DaysFromCivil(2401, 12, 31); ++days) {
    const CivilDate date = CivilFromDays(days);
    ASSERT_TRUE(IsRealDay(date.year, date.month, date.day)) << days;
    ASSERT_EQ(DaysFromCivil(date), days);
    const bool nextInMonth = date.year == previous.year && date.month == previous.month && date.day == previous.day + 1;
    const bool firstOfMonth = date.day == 1 && previous.day == DaysInMonth(previous.year, previous.month) &&
                              (date.month == previous.month + 1 || (date.month == 1 && previous.month == 12 &&
                                                                    date.year == previous.year + 1));
    ASSERT_TRUE(nextInMonth || firstOfMonth) << days;
    previous = date;
  }
}

TEST(CivilDate, LeapYearsAndMonthEnds) {
  const struct {
    int year;
    bool leap;
  } years[] = {{1600, true}, {1700, false}, {1899, false}, {1900, false}, {1996, true},
               {2000, true}, {2023, false}, {2024, true},  {2100, false}, {2400, true}};
  for (const auto& row : years) {
    EXPECT_EQ(IsLeapYear(row.year), row.leap) << row.year;
    EXPECT_EQ(DaysInMonth(row.year, 2), row.leap ? 29 : 28) << row.year;
    EXPECT_EQ(IsRealDay(row.year, 2, 29), row.leap) << row.year;
  }
  const int kLastDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(DaysInMonth(2027, month), kLastDays[month - 1]) << month;
    EXPECT_TRUE(IsRealDay(2027, month, kLastDays[month - 1])) << month;
    EXPECT_FALSE(IsRealDay(2027, month, kLastDays[month - 1] + 1)) << month;
  }
}

TEST(CivilDate, DaysThatDoNotExist) {
  const CivilDate rows[] = {{2027, 2, 29}, {2027, 4, 31}, {2027, 0, 10}, {2027, 13, 1},
                            {2027, 1, 0},  {2027, 1, 32}, {2027, -1, 5}, {2027, 5, -1}};
  for (const CivilDate& d : rows) EXPECT_FALSE(IsRealDay(d.year, d.month, d.day)) << d.day << "/" << d.month;
}

TEST(CivilDate, AddingMonthsKeepsTheDayOrTheMonthsLast) {
  const struct {
    CivilDate from;
    int months;
    CivilDate to;
  } rows[] = {
      {{2026, 12, 8}, 1, {2027, 1, 8}},     // across the year
      {{2026, 12, 8}, 0, {2026, 12, 8}},
      {{2027, 1, 31}, 1, {2027, 2, 28}},    // clamped to the month's end
      {{2028, 1, 31}, 1, {2028, 2, 29}},    // a leap February
      {{2027, 1, 31}, 2, {2027, 3, 31}},    // the day kept, not the clamped one
      {{2027, 1, 30}, 3, {2027, 4, 30}},
      {{2027, 3, 31}, -1, {2027, 2, 28}},   // backwards
      {{2027, 1, 15}, -13, {2025, 12, 15}},
      {{2026, 11, 29}, 27, {2029, 2, 28}},
      {{2027, 2, 31}, 1, {2027, 3, 31}},    // a wanted day past its own month's end
      {{2027, 6, 10}, 120, {2037, 6, 10}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(AddMonthsClamped(row.from, row.months), row.to)
        << row.from.day << "/" << row.from.month << "/" << row.from.year << " + " << row.months;
}

// The local day as the C library sees it, read around the call so a day
// that turns meanwhile is seen on both sides.
TEST(CivilDate, TodayIsTheLocalDay) {
  const auto localDay = [] {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  };
  const char* saved = std::getenv("TZ");
  const std::string previous = saved ? saved : "";
  // Fourteen hours ahead and twelve behind UTC: at most instants the two
  // zones are on different days, so a today read in UTC would show.
  for (const char* zone : {"<+14>-14", "<-12>12", "UTC0"}) {
    setenv("TZ", zone, 1);
    tzset();
    const CivilDate before = localDay();
    const double today = TodayDays();
    const CivilDate after = localDay();
    EXPECT_EQ(today, static_cast<double>(static_cast<long>(today))) << zone;  // midnight
    const CivilDate date = CivilFromDays(today);
    EXPECT_TRUE(date == before || date == after) << zone;
  }
  if (saved)
    setenv("TZ", previous.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

}  // namespace
