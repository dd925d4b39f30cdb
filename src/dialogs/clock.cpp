#include "dialogs/clock.h"

#include <ctime>

#include "data/formats.h"

namespace dialogs {

std::optional<DateTime>& Clock::Pinned() {
  static std::optional<DateTime> pinned;
  return pinned;
}

DateTime Clock::Today() {
  if (Pinned()) return DateOf(*Pinned());
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void Clock::SetToday(std::optional<DateTime> day) { Pinned() = day; }

}  // namespace dialogs
