#include "dialogs/installment_rules.h"

#include <gtest/gtest.h>

#include "data/exceptions.h"
#include "data/formats.h"

using namespace dialogs;

namespace {
// A function, not a global: the date routines' own constants are set up
// during static initialisation too.
DateTime Day() { return EncodeDate(2026, 3, 10); }
#define D Day()
DateTime Plus(int days) { return DateTime{D.days + days}; }
}  // namespace

TEST(PlanInstallments, RemainderGoesToTheLastInstallment) {
  auto plan = PlanInstallments(100.00, 3, TermDays(""), D);
  ASSERT_EQ(plan.size(), 3u);
  EXPECT_EQ(plan[0].due, Plus(30));
  EXPECT_EQ(plan[1].due, Plus(60));
  EXPECT_EQ(plan[2].due, Plus(90));
  EXPECT_DOUBLE_EQ(plan[0].value, 33.33);
  EXPECT_DOUBLE_EQ(plan[1].value, 33.33);
  EXPECT_DOUBLE_EQ(plan[2].value, 33.34);
}

TEST(PlanInstallments, NegativeRemainder) {
  auto plan = PlanInstallments(200.00, 3, 30, D);
  ASSERT_EQ(plan.size(), 3u);
  EXPECT_DOUBLE_EQ(plan[0].value, 66.67);
  EXPECT_DOUBLE_EQ(plan[1].value, 66.67);
  EXPECT_DOUBLE_EQ(plan[2].value, 66.66);
}

TEST(PlanInstallments, AShareOfHalfACentRoundsUpAsTheServersAccountsDo) {
  // 0,21 / 6 is 0,035; as a double quotient it would read 0.0349999... and
  // round to 0,03, leaving 0,06 on the last.
  auto plan = PlanInstallments(0.21, 6, 30, D);
  ASSERT_EQ(plan.size(), 6u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(plan[i].value, 0.04) << i;
  EXPECT_EQ(plan[5].value, 0.01);
}

TEST(PlanInstallments, EvenSplitWithATerm) {
  auto plan = PlanInstallments(100.00, 4, TermDays("15"), D);
  ASSERT_EQ(plan.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(plan[i].value, 25.00);
    EXPECT_EQ(plan[i].due, Plus(15 * (i + 1)));
  }
}

TEST(PlanInstallments, TermZeroIsDueTodayAndPassesTheCheck) {
  auto plan = PlanInstallments(90.00, 3, TermDays("0"), D);
  ASSERT_EQ(plan.size(), 3u);
  for (auto& row : plan) EXPECT_EQ(row.due, D);
  EXPECT_EQ(CheckDueDate(FormatDate(*plan[0].due), D, "DT_VENC_MAIOR"), std::nullopt);
}

TEST(PlanInstallments, QuantityZeroLeavesTheTotalInOneUndatedRow) {
  auto plan = PlanInstallments(100.00, 0, 30, D);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_FALSE(plan[0].due.has_value());
  EXPECT_DOUBLE_EQ(plan[0].value, 100.00);
  EXPECT_TRUE(PlanInstallments(0.0, 0, 30, D).empty());
}

TEST(PlanInstallments, SumOfTheGeneratedPlanMatchesTheTotalAndNoneIsZero) {
  for (double total : {0.01, 0.98, 5.50, 10.0, 99.99, 1234.57, 999999.99, 1234567.05, 999999999.99}) {
    for (int n : {1, 2, 3, 7, 12, 55, 98, 99}) {
      if (CheckInstallmentCount(total, n)) continue;
      std::vector<double> values;
      for (auto& row : PlanInstallments(total, n, 30, D)) values.push_back(row.value);
      ASSERT_EQ(values.size(), static_cast<std::size_t>(n)) << total << " in " << n;
      EXPECT_EQ(CheckInstallmentValues(values), std::nullopt) << total << " in " << n;
      EXPECT_EQ(CheckPlanTotal(values, total), std::nullopt) << total << " in " << n;
      EXPECT_EQ(CheckSnapshotTotal(values, total), std::nullopt) << total << " in " << n;
    }
  }
}

TEST(PlanInstallments, SmallTotalsSplitManyWaysStayAboveZero) {
  // Rounding the share up (0,06) would leave the last at -0,38: the share
  // goes down to 0,05 and the last takes 0,60.
  auto plan = PlanInstallments(5.50, 99, 30, D);
  ASSERT_EQ(plan.size(), 99u);
  for (std::size_t i = 0; i + 1 < plan.size(); ++i) EXPECT_EQ(plan[i].value, 0.05);
  EXPECT_EQ(plan.back().value, 0.60);
  auto even = PlanInstallments(0.02, 2, 30, D);
  ASSERT_EQ(even.size(), 2u);
  EXPECT_EQ(even[0].value, 0.01);
  EXPECT_EQ(even[1].value, 0.01);
}

TEST(PlanInstallments, MoreInstallmentsThanCentsAreRefusedBeforeGenerating) {
  EXPECT_EQ(CheckInstallmentCount(0.01, 2), "QT_PARC_MAIOR_VALOR");
  EXPECT_EQ(CheckInstallmentCount(0.98, 99), "QT_PARC_MAIOR_VALOR");
  EXPECT_EQ(CheckInstallmentCount(0.99, 99), std::nullopt);
  EXPECT_EQ(CheckInstallmentCount(0.0, 1), "QT_PARC_MAIOR_VALOR");
  EXPECT_EQ(CheckInstallmentCount(-10.0, 1), "QT_PARC_MAIOR_VALOR");
  EXPECT_EQ(CheckInstallmentCount(100.0, 0), std::nullopt);  // QT_PARC_ZERO's case
  EXPECT_TRUE(PlanInstallments(0.01, 2, 30, D).empty());
}

TEST(PlanChecks, AnInstallmentOfZeroOrLessIsRefusedEvenWhenTheSumMatches) {
  EXPECT_EQ(CheckPlanTotal({0.01, 0.00}, 0.01), "VR_PARC_ZERO");
  EXPECT_EQ(CheckPlanTotal({5.88, -0.38}, 5.50), "VR_PARC_ZERO");
  EXPECT_EQ(CheckSnapshotTotal({0.01, 0.00}, 0.01), "VR_PARC_ZERO");
  EXPECT_EQ(CheckSnapshotTotal({0.004, 0.006}, 0.01), "VR_PARC_ZERO");  // 0,00 to the cent
  EXPECT_EQ(CheckPlanTotal({1234567.005, 1.0}, 1234568.01), std::nullopt);
}

TEST(TermAndQuantity, TextsConvertAsIntegersOrRaise) {
  EXPECT_EQ(TermDays(""), 30);
  EXPECT_EQ(TermDays("7"), 7);
  EXPECT_EQ(StrToInt("12"), 12);
  EXPECT_THROW(StrToInt("1a"), Exception);
  EXPECT_THROW(StrToInt(""), Exception);
  EXPECT_EQ(CheckQuantity("0"), "QT_PARC_ZERO");
  EXPECT_EQ(CheckQuantity("00"), "QT_PARC_ZERO");
  EXPECT_EQ(CheckQuantity(""), std::nullopt);
  EXPECT_EQ(CheckQuantity("3"), std::nullopt);
  EXPECT_TRUE(CanGenerate("3", "30"));
  EXPECT_FALSE(CanGenerate("3", ""));
  EXPECT_FALSE(CanGenerate("", "30"));
}

TEST(KeyFilters, DigitsAndBackspaceOnly) {
  EXPECT_EQ(DigitsOnly(U'5'), U'5');
  EXPECT_EQ(DigitsOnly(8), char32_t(8));
  for (char32_t k : {U'a', U'-', U'+', U',', U' ', U'E'}) EXPECT_EQ(DigitsOnly(k), char32_t(0));
  for (char32_t k : {U'+', U'-', U'E', U'e'}) EXPECT_EQ(DropSignsAndExponent(k), char32_t(0));
  EXPECT_EQ(DropSignsAndExponent(U'1'), U'1');
}

TEST(KeyFilters, CommaCannotStartAValueNorRepeat) {
  EXPECT_EQ(FilterValueKey(true, "", "", U','), char32_t(0));
  EXPECT_EQ(FilterValueKey(true, "12", "12", U','), U',');
  EXPECT_EQ(FilterValueKey(true, "12,5", "12,5", U','), char32_t(0));
  // Another column selected: the comma is the date column's business.
  EXPECT_EQ(FilterValueKey(false, "", "", U','), U',');
}

TEST(KeyFilters, ValuesAboveTheLimitCannotBeTyped) {
  EXPECT_EQ(FilterValueKey(true, "99999999", "99999999", U'9'), U'9');   // 999999999 itself
  EXPECT_EQ(FilterValueKey(true, "999999999", "999999999", U'0'), char32_t(0));
  EXPECT_EQ(FilterValueKey(true, "100000000", "100000000", U'0'), char32_t(0));
  EXPECT_EQ(FilterValueKey(true, "99999999,9", "99999999,9", U'9'), U'9');
  EXPECT_EQ(FilterValueKey(true, "999999999,9", "999999999,9", U'9'), char32_t(0));
  // The limit is read from the value column even when another is selected.
  EXPECT_EQ(FilterValueKey(false, "", "999999999", U'1'), char32_t(0));
}

TEST(DueDates, EmptyPastAndInvalid) {
  EXPECT_EQ(CheckDueDate("", D, "DT_VENC_MAIOR"), "DT_VENC_N_INF");
  EXPECT_EQ(CheckDueDate("  /  /    ", D, "DATA_MAIOR"), "DT_VENC_N_INF");
  EXPECT_EQ(CheckDueDate("09/03/2026", D, "DT_VENC_MAIOR"), "DT_VENC_MAIOR");
  EXPECT_EQ(CheckDueDate("09/03/2026", D, "DATA_MAIOR"), "DATA_MAIOR");
  EXPECT_EQ(CheckDueDate("10/03/2026", D, "DATA_MAIOR"), std::nullopt);
  EXPECT_THROW(CheckDueDate("31/02/2026", D, "DATA_MAIOR"), Exception);
  EXPECT_TRUE(DueDateTextEmpty("  /  /    "));
  EXPECT_TRUE(DueDateTextEmpty(""));
  EXPECT_FALSE(DueDateTextEmpty("01/04/2026"));
}

TEST(Totals, ValuesDialogRoundsAsItSums) {
  EXPECT_EQ(CheckPlanTotal({}, 100.0), "PARC_N_INF");
  EXPECT_EQ(CheckPlanTotal({33.33, 33.33, 33.34}, 100.0), std::nullopt);
  EXPECT_EQ(CheckPlanTotal({33.33, 33.33, 33.33}, 100.0), "SOMA_PARC_DIF");
  EXPECT_EQ(CheckPlanTotal({50.0, 50.0}, 99.99), "SOMA_PARC_DIF");
}

TEST(Totals, ContractorDialogFlagsAnyDifference) {
  EXPECT_EQ(CheckSnapshotTotal({60.0, 40.0}, 100.0), std::nullopt);
  EXPECT_EQ(CheckSnapshotTotal({60.0, 30.0}, 100.0), "SOMA_MAIOR");  // smaller counts too
  EXPECT_EQ(CheckSnapshotTotal({60.0, 50.0}, 100.0), "SOMA_MAIOR");
  EXPECT_EQ(CheckSnapshotTotal({}, 0.0), std::nullopt);
}

TEST(KeyFilters, NumberColumnsDropLetters) {
  for (char32_t k : {U'a', U'Z', U'ç', U' ', U'/'}) EXPECT_EQ(NumericKey(k), char32_t(0));
  for (char32_t k : {U'0', U'9', U',', U'.', char32_t(8), char32_t(13)}) EXPECT_EQ(NumericKey(k), k);
}
