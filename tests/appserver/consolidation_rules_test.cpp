// The installments of a generated account: splitting in cents, fixed-day due
// dates across month ends and years, and the checks of a variable plan.

#include <gtest/gtest.h>

#include "data/formats.h"
#include "methods/consolidation_rules.h"

namespace {

DateTime Day(int y, int m, int d) { return EncodeDate(y, m, d); }

TEST(ConsolidationRules, AmountsAreSplitInCentsWithTheRemainderLast) {
  EXPECT_EQ(SplitAmount(10000, 3), (std::vector<Cents>{3333, 3333, 3334}));
  EXPECT_EQ(SplitAmount(20000, 2), (std::vector<Cents>{10000, 10000}));
  EXPECT_EQ(SplitAmount(5, 2), (std::vector<Cents>{3, 2}));
  EXPECT_EQ(SplitAmount(200000, 3), (std::vector<Cents>{66667, 66667, 66666}));
  // Rounding the share up would leave nothing for the last part: it is rounded down.
  EXPECT_EQ(SplitAmount(5, 4), (std::vector<Cents>{1, 1, 1, 2}));
  EXPECT_TRUE(SplitAmount(1000, 0).empty());
}

TEST(ConsolidationRules, FixedDayDatesNeverFallBeforeToday) {
  const DateTime today = Day(2026, 12, 8);
  // "A": this month while the day is ahead, the next once it has passed.
  EXPECT_EQ(FixedDayDueDates(10, 2, false, today), (std::vector<DateTime>{Day(2026, 12, 10), Day(2027, 1, 10)}));
  EXPECT_EQ(FixedDayDueDates(5, 1, false, today), (std::vector<DateTime>{Day(2027, 1, 5)}));
  EXPECT_EQ(FixedDayDueDates(8, 1, false, today), (std::vector<DateTime>{Day(2026, 12, 8)}));
  // "P": from the next month; a day beyond a month's end is its last day.
  EXPECT_EQ(FixedDayDueDates(31, 3, true, today),
            (std::vector<DateTime>{Day(2027, 1, 31), Day(2027, 2, 28), Day(2027, 3, 31)}));
  EXPECT_EQ(FixedDayDueDates(29, 1, true, Day(2028, 1, 30)), (std::vector<DateTime>{Day(2028, 2, 29)}));
}

TEST(ConsolidationRules, EachPaymentFormGivesItsInstallments) {
  const DateTime today = Day(2026, 12, 8);
  PaymentForm single;
  EXPECT_EQ(ScheduleAccount(15050, single, today, "X"), (std::vector<DueInstallment>{{today, 15050}}));
  PaymentForm fixed{.mode = "F", .day = 15, .count = 3, .nextMonth = true, .planned = {}};
  EXPECT_EQ(ScheduleAccount(10000, fixed, today, "X"),
            (std::vector<DueInstallment>{{Day(2027, 1, 15), 3333}, {Day(2027, 2, 15), 3333},
                                         {Day(2027, 3, 15), 3334}}));
  PaymentForm variable{.mode = "V", .planned = {{Day(2027, 1, 1), 6000}, {Day(2027, 2, 1), 4000}}};
  EXPECT_EQ(ScheduleAccount(10000, variable, today, "X").size(), 2u);
  // Nothing is generated for nothing owed, whatever the form.
  EXPECT_TRUE(ScheduleAccount(0, variable, today, "X").empty());
}

TEST(ConsolidationRules, AVariablePlanThatCannotPayTheTotalIsRefusedInWords) {
  const DateTime today = Day(2026, 12, 8);
  auto refusal = [&](PaymentForm form, Cents total) {
    try {
      ScheduleAccount(total, form, today, "Ana");
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string("(no refusal)");
  };
  EXPECT_EQ(refusal({.mode = "V", .planned = {{Day(2027, 1, 1), 6000}}}, 10000),
            "A soma das parcelas do contratante Ana (60,00) difere do valor negociado (100,00).");
  EXPECT_EQ(refusal({.mode = "V", .planned = {{Day(2026, 12, 7), 10000}}}, 10000),
            "Data de vencimento da parcela do contratante Ana anterior à data atual (07/12/2026).");
  EXPECT_EQ(refusal({.mode = "V", .planned = {{Day(2027, 1, 1), 10000}, {Day(2027, 2, 1), 0}}}, 10000),
            "As parcelas do contratante Ana devem ter valor maior que zero.");
  EXPECT_EQ(refusal({.mode = "V", .planned = {}}, 10000), "Pelo menos uma data de vencimento deve ser informada para o contratante Ana.");
  EXPECT_EQ(refusal({.mode = "F", .day = 32, .count = 1, .planned = {}}, 10000),
            "Pagamento fixo inválido para o contratante Ana: dia de 1 a 31 e de 1 a 99 parcelas.");
  EXPECT_EQ(refusal({.mode = "X", .planned = {}}, 10000), "Forma de pagamento inválida para o contratante Ana.");
}

}  // namespace
