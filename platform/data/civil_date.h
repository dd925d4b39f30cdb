#pragma once
// The calendar every date of the system is counted on. A date is the number
// of days since day zero, 30/12/1899, held in a double whose fraction is the
// time of day (DateTime, the packets and the database columns alike); the
// calendar is <chrono>'s proleptic Gregorian one. Pure and thread-safe, but
// for TodayDays, which reads the clock.

#include <chrono>

// Day zero of every date: 30/12/1899.
inline constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / std::chrono::December / 30};

// The first and last days a date may fall on (01/01/0001 and 31/12/9999),
// as days since day zero: a value outside them is no date of ours.
inline constexpr double kFirstCalendarDay =
    static_cast<double>((std::chrono::sys_days{std::chrono::year{1} / 1 / 1} - kDayZero).count());
inline constexpr double kLastCalendarDay =
    static_cast<double>((std::chrono::sys_days{std::chrono::year{9999} / 12 / 31} - kDayZero).count());

// A day of the calendar: year, month 1 to 12, day 1 to the month's last.
struct CivilDate {
  int year = 1899;
  int month = 12;
  int day = 30;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

bool IsLeapYear(int year);
// Days of `month` (1 to 12) in `year`: 28 to 31.
int DaysInMonth(int year, int month);
// The day exists: month 1 to 12 and day 1 to the month's last (31/02 does
// not). Any year <chrono> holds.
bool IsRealDay(int year, int month, int day);

// Days since day zero of a day that exists (IsRealDay).
double DaysFromCivil(int year, int month, int day);
double DaysFromCivil(const CivilDate& date);
// The day `days` falls on; its fraction, the time of day, is dropped
// (-0.5 is still 29/12/1899). `days` within the calendar's range.
CivilDate CivilFromDays(double days);

// The same day `months` later (earlier when negative), clamped to the last
// day of a shorter month: 31/01/2027 plus one month is 28/02/2027. Only the
// day's number is read, so {2027, 2, 31} asks for the 31st (or the month's
// last day) from February on.
CivilDate AddMonthsClamped(const CivilDate& date, int months);

// Today in the machine's local time zone, as days since day zero (midnight).
double TodayDays();
