// The substitution's decisions: which parties name a substitute, which go
// to the quota transfer, the registration handed to the adjustment and the
// open value offered.

#include <gtest/gtest.h>

#include "operations/substitution_rules.h"

namespace {

using operations::Receivable;
using operations::SubstitutionParty;

TEST(SubstitutionRules, WhoNamesASubstituteAndWhoTransfersQuotas) {
  EXPECT_TRUE(operations::SubstituteToBeNamed({"N", "N", false, ""}));
  EXPECT_TRUE(operations::SubstituteToBeNamed({"N", "N", false, "3003"}));
  EXPECT_TRUE(operations::SubstituteToBeNamed({"S", "S", false, "3003"}));  // quotas already transferred
  EXPECT_TRUE(operations::SubstituteToBeNamed({"S", "N", true, "3003"}));   // another contract in the budget
  EXPECT_FALSE(operations::SubstituteToBeNamed({"S", "N", false, "3003"}));  // quota case with its destination
  EXPECT_TRUE(operations::SubstituteToBeNamed({"S", "N", false, ""}));       // quota case without one names it
  EXPECT_FALSE(operations::SubstituteToBeNamed({"", "N", false, "3003"}));   // neither flag: direct
  EXPECT_FALSE(operations::SubstituteToBeNamed({"X", "S", true, ""}));

  EXPECT_TRUE(operations::IsQuotaCase({"S", "N", false, ""}));
  EXPECT_FALSE(operations::IsQuotaCase({"S", "N", true, ""}));
  EXPECT_FALSE(operations::IsQuotaCase({"S", "S", false, ""}));
  EXPECT_FALSE(operations::IsQuotaCase({"N", "N", false, ""}));
}

TEST(SubstitutionRules, TheRegistrationIsMarkedByItsPersonType) {
  EXPECT_EQ(operations::RegistrationToAdjust("F", "  123.456.789-09 "), "123.456.789-09");
  EXPECT_EQ(operations::RegistrationToAdjust("J", " 12.345.678/0001-95"), " 12.345.678/0001-95");
  EXPECT_EQ(operations::RegistrationToAdjust("", "12345678909"), "C12345678909");
}

TEST(SubstitutionRules, OnlyOpenReceivablesAreOffered) {
  EXPECT_DOUBLE_EQ(operations::OpenReceivablesSum({{"A", 0.1}, {"B", 500}, {"A", 0.2}, {"C", 7}, {"D", 3}, {"P", 9}}),
                   0.3);
  EXPECT_DOUBLE_EQ(operations::OpenReceivablesSum({{"B", 100}}), 0);
  EXPECT_DOUBLE_EQ(operations::OpenReceivablesSum({}), 0);
}

}  // namespace
