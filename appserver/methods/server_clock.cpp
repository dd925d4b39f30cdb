#include "methods/server_clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

double TodayDays() {
  using namespace std::chrono;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const sys_days today{year{local.tm_year + 1900} / month{static_cast<unsigned>(local.tm_mon + 1)} /
                       day{static_cast<unsigned>(local.tm_mday)}};
  const sys_days epoch{year{1899} / December / day{30}};
  return static_cast<double>((today - epoch).count());
}

std::string UtcTimestampText() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}
