// Command availability on the demo budgets: each party's state, the
// rescission type, a locked budget and a fixed-cost budget.

#include "demo_server.h"

namespace {

using testing_support::ScreenTest;

struct Expected {
  const char* party;
  bool distrato, cancContrat, consolida, cancela, procurar;
};

void ExpectMenusMirrorButtons(TfrmDistrato& f, const std::string& where) {
  EXPECT_EQ(f.mnuDistrato.Enabled(), f.sbtDistrato.Enabled()) << where;
  EXPECT_EQ(f.mnuCancContrat.Enabled(), f.sbtCancContrat.Enabled()) << where;
  EXPECT_EQ(f.mnuConsolidaDistrato.Enabled(), f.sbtConsolidaDistrato.Enabled()) << where;
  EXPECT_EQ(f.mnuCancelaDistrato.Enabled(), f.sbtCancelaDistrato.Enabled()) << where;
  EXPECT_EQ(f.Find<TMenuItem>("mnuProcurar").Enabled(), f.sbtProcurar.Enabled()) << where;
  EXPECT_EQ(f.Find<TMenuItem>("mnuVerificar").Enabled(), f.sbtVerificar.Enabled()) << where;
}

TEST_F(ScreenTest, CommandsFollowTheCurrentPartyUnderPartialRescission) {
  TfrmDistrato& f = Load("101");
  ASSERT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  const Expected cases[] = {
      {"Ana Paula Ferreira", true, true, false, false, true},
      {"Bruno Henrique Costa", false, false, false, false, true},
      {"Carla Souza Martins", false, false, true, false, false},
      {"Daniel Oliveira Ramos", false, false, false, true, true},
      {"Eduarda Lima Santos", false, false, false, false, true},
      {"Helena Carvalho Dias", false, false, false, false, true},
      {"Igor Nascimento Pires", false, true, false, false, true},
      {"Natália Ribeiro Campos", false, false, false, false, false},
  };
  for (const Expected& e : cases) {
    GoTo(f, e.party);
    EXPECT_EQ(f.sbtDistrato.Enabled(), e.distrato) << e.party;
    EXPECT_EQ(f.sbtCancContrat.Enabled(), e.cancContrat) << e.party;
    EXPECT_EQ(f.sbtConsolidaDistrato.Enabled(), e.consolida) << e.party;
    EXPECT_EQ(f.sbtCancelaDistrato.Enabled(), e.cancela) << e.party;
    EXPECT_EQ(f.sbtProcurar.Enabled(), e.procurar) << e.party;
    EXPECT_TRUE(f.sbtVerificar.Enabled()) << e.party;
    EXPECT_FALSE(f.sbtIncluir.Enabled());
    EXPECT_FALSE(f.sbtAlterar.Enabled());
    EXPECT_FALSE(f.sbtExcluir.Enabled());
    ExpectMenusMirrorButtons(f, e.party);
  }
  EXPECT_TRUE(ui.Exceptions().empty());
}

TEST_F(ScreenTest, TotalRescissionOffersTheRescissionOnlyOutsideAProcess) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Ana Paula Ferreira");
  f.rbtTotal.SetChecked(true);
  EXPECT_FALSE(f.rbtParcial.Checked());
  EXPECT_TRUE(f.sbtDistrato.Enabled());  // PROC "N"
  EXPECT_FALSE(f.sbtCancContrat.Enabled());
  GoTo(f, "Daniel Oliveira Ramos");
  EXPECT_FALSE(f.sbtDistrato.Enabled());  // PROC "C"
  ExpectMenusMirrorButtons(f, "total");
  f.rbtParcial.SetChecked(true);
  GoTo(f, "Ana Paula Ferreira");
  EXPECT_TRUE(f.sbtCancContrat.Enabled());
}

TEST_F(ScreenTest, ALockedBudgetLeavesOnlyReloadAndSearch) {
  TfrmDistrato& f = Load("102");
  ASSERT_FALSE(f.cdsContratante.IsEmpty());
  EXPECT_TRUE(f.sbtVerificar.Enabled());
  EXPECT_TRUE(f.sbtProcurar.Enabled());
  for (TControl* c : std::initializer_list<TControl*>{&f.sbtDistrato, &f.sbtCancContrat, &f.sbtConsolidaDistrato,
                                                      &f.sbtCancelaDistrato, &f.sbtIncluir})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  ExpectMenusMirrorButtons(f, "locked");
}

TEST_F(ScreenTest, AFixedCostBudgetForcesTotalRescission) {
  TfrmDistrato& f = Load("103");
  ASSERT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_TRUE(f.rbtTotal.Checked());
  EXPECT_FALSE(f.rbtParcial.Checked());
  EXPECT_FALSE(f.rbtParcial.Enabled());
  EXPECT_FALSE(f.sbtCancContrat.Enabled());

  // Another budget gives the choice back.
  f.edtOrcamento.UserSetFocus();
  f.edtOrcamento.SetText("101");
  f.dbgPadrao.UserSetFocus();
  EXPECT_TRUE(f.rbtParcial.Enabled());
}

TEST_F(ScreenTest, WithoutSubstitutionParametersTheSubstitutionIsOff) {
  TfrmDistrato& f = Load("201", "0002");
  ASSERT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  ASSERT_FALSE(f.cdsContratante.IsEmpty());
  for (f.cdsContratante.First(); !f.cdsContratante.Eof(); f.cdsContratante.Next())
    EXPECT_FALSE(f.sbtCancContrat.Enabled()) << f.cdsContratante.FieldByName("NMFANTCLIE").AsString();
}

TEST_F(ScreenTest, OperationCommandsDoNothingUntilTheOperationsAttach) {
  TfrmDistrato& f = Load("101");
  GoTo(f, "Ana Paula Ferreira");
  const int rows = f.cdsContratante.RecordCount();
  ui.Clear();
  for (TMenuItem* m : {&f.mnuDistrato, &f.mnuCancContrat, &f.mnuConsolidaDistrato, &f.mnuCancelaDistrato})
    m->Click();
  EXPECT_TRUE(ui.Events().empty());
  EXPECT_EQ(f.cdsContratante.RecordCount(), rows);

  int ran = 0;
  DistratoOperationHooks().Distrato = [&ran](TfrmDistrato&) { ++ran; };
  f.mnuDistrato.Click();
  f.sbtDistrato.Click();
  DistratoOperationHooks().Distrato = nullptr;
  EXPECT_EQ(ran, 2);
}

}  // namespace
