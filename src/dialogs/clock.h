#pragma once
// Today's date for the installment rules. One clock for the whole module, so
// a test can pin "today" and every due date and check is exact.

#include <optional>

#include "data/variant.h"

namespace dialogs {

class Clock {
 public:
  // The current date without its time: the pinned day when one is set,
  // else the system's local date.
  static DateTime Today();
  // Pins today (tests); nullopt returns to the system's date.
  static void SetToday(std::optional<DateTime> day);

 private:
  static std::optional<DateTime>& Pinned();
};

}  // namespace dialogs
