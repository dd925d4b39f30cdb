#pragma once
// The installments of the account a consolidation generates, as plain
// arithmetic over the payment form the operator chose; the handlers read the
// form and the processing date and store what these functions answer.

#include <optional>
#include <string>
#include <vector>

#include "data/money.h"  // SplitAmount, the installments' values
#include "data/variant.h"

// One installment of a generated account: due day and value.
struct DueInstallment {
  DateTime due;
  Cents value = 0;
  friend bool operator==(const DueInstallment&, const DueInstallment&) = default;
};

// The payment form of one account: "E" a single installment due on the
// processing date, "F" `count` monthly installments on a fixed day, "V" the
// installments the operator listed.
struct PaymentForm {
  std::string mode = "E";
  int day = 1;
  int count = 1;
  bool nextMonth = false;               // "F": the first installment falls in the next month
  std::vector<DueInstallment> planned;  // "V"
};

// Due dates of a fixed-day plan: the day of each month from the first month
// on, clamped to the month's last day. The first month is the one after
// `today` when `nextMonth`; otherwise the current one, or the next when its
// day has already passed, so nothing falls due before the processing date.
std::vector<DateTime> FixedDayDueDates(int day, int count, bool nextMonth, DateTime today);

// The installments of an account of `total` paid in `form`, checked: a
// variable plan must sum to the total, with every value above zero and no
// due date before `today`. Throws std::runtime_error with the operator's
// words when the form cannot pay the total. Nothing for a total of zero.
std::vector<DueInstallment> ScheduleAccount(Cents total, const PaymentForm& form, DateTime today,
                                            const std::string& client);
