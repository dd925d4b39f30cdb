#include "workspace/filter_validation.h"

#include <gtest/gtest.h>

#include <vector>

#include "workspace/catalogue.h"

namespace workspace {
namespace {

using Outcome = FilterCheck::Outcome;

TEST(BranchCheck, EmptyBranchIsReportedOnlyWhenAsked) {
  const FilterCheck reported = CheckBranchTyped("", true);
  EXPECT_EQ(reported.outcome, Outcome::Refuse);
  EXPECT_EQ(Msg(reported.messageKey), "Filial deve ser informada.");
  EXPECT_EQ(reported.focus, FilterControl::medCdFilial);
  EXPECT_EQ(CheckBranchTyped("", false).outcome, Outcome::Skip);
  EXPECT_EQ(CheckBranchTyped("    ", true).outcome, Outcome::Refuse);  // the mask's blanks
  EXPECT_EQ(CheckBranchTyped("1", true).outcome, Outcome::Lookup);
  EXPECT_EQ(CheckBranchTyped("1", false).outcome, Outcome::Lookup);
}

TEST(BranchCheck, UnregisteredBranch) {
  const FilterCheck missing = CheckBranchFound(false);
  EXPECT_EQ(missing.outcome, Outcome::Refuse);
  EXPECT_EQ(Msg(missing.messageKey), "Filial não cadastrada.");
  EXPECT_EQ(missing.focus, FilterControl::medCdFilial);
  EXPECT_FALSE(missing.enableBeforeFocus);  // a branch locked by the login stays locked
  EXPECT_EQ(CheckBranchFound(true).outcome, Outcome::Accept);
}

TEST(BudgetCheck, EmptyBudgetIsReportedOnlyWhenAskedButUnregisteredAlways) {
  const FilterCheck reported = CheckBudgetTyped("", true);
  EXPECT_EQ(reported.outcome, Outcome::Refuse);
  EXPECT_EQ(Msg(reported.messageKey), "Orçamento deve ser informado.");
  EXPECT_EQ(reported.focus, FilterControl::edtOrcamento);
  EXPECT_EQ(CheckBudgetTyped("", false).outcome, Outcome::Skip);
  EXPECT_EQ(CheckBudgetTyped("123", false).outcome, Outcome::Lookup);

  const FilterCheck missing = CheckBudgetFound(false);
  EXPECT_EQ(missing.outcome, Outcome::Refuse);
  EXPECT_EQ(Msg(missing.messageKey), "Orçamento não cadastrado.");
  EXPECT_EQ(missing.focus, FilterControl::edtOrcamento);
  EXPECT_EQ(CheckBudgetFound(true).outcome, Outcome::Accept);
}

TEST(BankAccountCheck, EmptyAccountDependsOnTypeAndSettledReceivables) {
  struct Case {
    bool reportEmpty;
    RescissionType tipo;
    int settled;
    Outcome expected;
  };
  using R = RescissionType;
  for (const Case& c : std::vector<Case>{
           {true, R::Parcial, 0, Outcome::Skip},  // partial without settled receivables
           {true, R::Parcial, 1, Outcome::Refuse},
           {true, R::Parcial, 5, Outcome::Refuse},
           {true, R::Parcial, -1, Outcome::Skip},
           {true, R::Total, 0, Outcome::Refuse},
           {true, R::Total, 3, Outcome::Refuse},
           {false, R::Total, 3, Outcome::Skip},
           {false, R::Parcial, 3, Outcome::Skip},
       }) {
    const FilterCheck check = CheckBankAccountTyped("", c.reportEmpty, c.tipo, c.settled);
    EXPECT_EQ(check.outcome, c.expected)
        << c.reportEmpty << " " << static_cast<int>(c.tipo) << " " << c.settled;
    if (check.outcome == Outcome::Refuse) {
      EXPECT_EQ(Msg(check.messageKey), "Conta corrente deve ser informada.");
      EXPECT_EQ(check.focus, FilterControl::medCdReduCont);
      EXPECT_TRUE(check.enableBeforeFocus);
    }
  }
}

TEST(BankAccountCheck, TypedAccountIsLookedUpWhateverTheRule) {
  EXPECT_EQ(CheckBankAccountTyped("1", false, RescissionType::Parcial, 0).outcome, Outcome::Lookup);
  EXPECT_EQ(CheckBankAccountTyped("001", true, RescissionType::Total, 0).outcome, Outcome::Lookup);
}

TEST(BankAccountCheck, UnregisteredAccountReenablesTheField) {
  const FilterCheck missing = CheckBankAccountFound(false);
  EXPECT_EQ(missing.outcome, Outcome::Refuse);
  EXPECT_EQ(Msg(missing.messageKey), "Conta corrente não cadastrada.");
  EXPECT_EQ(missing.focus, FilterControl::medCdReduCont);
  EXPECT_TRUE(missing.enableBeforeFocus);
  EXPECT_EQ(CheckBankAccountFound(true).outcome, Outcome::Accept);
}

TEST(BankAccountCheck, RequiredRule) {
  EXPECT_TRUE(BankAccountRequired(RescissionType::Total, 0));
  EXPECT_TRUE(BankAccountRequired(RescissionType::Parcial, 1));
  EXPECT_FALSE(BankAccountRequired(RescissionType::Parcial, 0));
}

}  // namespace
}  // namespace workspace
