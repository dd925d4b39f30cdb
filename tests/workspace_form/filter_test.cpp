// The filter: branch and budget checks, the searches, and what leaving the
// panel loads.

#include "demo_server.h"
#include "workspace/cli_dxr10900.h"

namespace {

using testing_support::ScreenTest;

TEST_F(ScreenTest, AnUnknownBranchIsRefusedAndKeepsTheFocus) {
  TfrmDistrato& f = Open();
  f.medCdFilial.SetFocus();
  f.medCdFilial.SetText("9999");
  f.edtOrcamento.UserSetFocus();
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Filial não cadastrada."});
  EXPECT_TRUE(f.medCdFilial.Focused());
  EXPECT_EQ(f.edtNmFilial.Text(), "");
}

TEST_F(ScreenTest, ABranchTypedInLowerCaseIsUpperCasedByTheMask) {
  TfrmDistrato& f = Open();
  f.medCdFilial.SetFocus();
  f.medCdFilial.UserSetText("");
  f.medCdFilial.UserType("ab");
  EXPECT_EQ(f.medCdFilial.Text(), "AB");
  f.edtOrcamento.UserSetFocus();
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Filial não cadastrada."});
}

TEST_F(ScreenTest, AShortBranchIsWidenedAndNamed) {
  TfrmDistrato& f = Open();
  f.medCdFilial.SetFocus();
  f.medCdFilial.UserSetText("2");
  f.edtOrcamento.UserSetFocus();
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(f.medCdFilial.Text(), "0002");
  EXPECT_EQ(f.edtNmFilial.Text(), "Santa Maria");
}

TEST_F(ScreenTest, ChangingTheBranchClearsItsNameAndTheBudget) {
  TfrmDistrato& f = Open();
  f.edtOrcamento.SetText("0000000101");
  f.medCdFilial.SetText("0002");
  EXPECT_EQ(f.edtNmFilial.Text(), "");
  EXPECT_EQ(f.edtOrcamento.Text(), "");
}

TEST_F(ScreenTest, AnUnknownBudgetIsRefusedWhenLeavingItsField) {
  TfrmDistrato& f = Open();
  f.edtOrcamento.SetFocus();
  f.edtOrcamento.UserSetText("999");
  f.medCdFilial.UserSetFocus();
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Orçamento não cadastrado."});
  EXPECT_TRUE(f.edtOrcamento.Focused());
  EXPECT_EQ(f.edtOrcamento.Text(), "0000000999");
}

TEST_F(ScreenTest, LeavingTheBudgetFieldEmptyIsSilentButLeavingThePanelIsNot) {
  TfrmDistrato& f = Open();
  f.edtOrcamento.SetFocus();
  f.medCdFilial.UserSetFocus();
  EXPECT_TRUE(ui.Messages().empty());
  f.edtOrcamento.UserSetFocus();
  f.dbgPadrao.UserSetFocus();
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Orçamento deve ser informado."});
  EXPECT_TRUE(f.edtOrcamento.Focused());
  EXPECT_FALSE(f.cdsContratante.Active());
}

TEST_F(ScreenTest, TheBudgetSearchListsOnlyTheBranchInTheFilter) {
  TfrmDistrato& f = Open();
  f.medCdFilial.SetText("0002");
  ui.AnswerPickRow(1);
  f.btnOrcamento.Click();
  ASSERT_FALSE(f.cdsPesqOrca.IsEmpty());
  f.cdsPesqOrca.First();
  while (!f.cdsPesqOrca.Eof()) {
    EXPECT_EQ(f.cdsPesqOrca.FieldByName("CDFILIAL").AsString(), "0002");
    f.cdsPesqOrca.Next();
  }
  EXPECT_EQ(f.edtOrcamento.Text(), "0000000201");
  const auto picks = ui.EventsOf(ScriptedUi::EventKind::PickList);
  ASSERT_EQ(picks.size(), 1u);
  EXPECT_EQ(picks[0].text, "Orçamento");
}

TEST_F(ScreenTest, TheBranchSearchReadsTheHostsBranchTable) {
  TfrmDistrato& f = Open();
  ui.AnswerPick([](TClientDataSet& d) { return d.Locate("CDFILIAL", Variant("0003"), 0); });
  f.btnPesquisa.Click();
  EXPECT_EQ(f.medCdFilial.Text(), "0003");
  EXPECT_EQ(f.edtNmFilial.Text(), "Caxias do Sul");
  EXPECT_EQ(f.cdsFilial.RecordCount(), 3);
}

TEST_F(ScreenTest, LeavingTheFilterLoadsCompanyTotalClientAndList) {
  TfrmDistrato& f = Load("101");
  EXPECT_TRUE(ui.Messages().empty());
  ASSERT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(stCdEmpresa, "01");
  EXPECT_EQ(f.edtOrcamento.Text(), "0000000101");
  EXPECT_EQ(f.lblNmCliente.Caption(), "Formatura Medicina UFRGS 2026");
  EXPECT_GT(f.nedVrTotalOrca.GetNumber(), 0.0);
  EXPECT_TRUE(f.grbBaixa.Enabled());
  EXPECT_FALSE(f.cdsContratante.IsEmpty());
  EXPECT_TRUE(f.cdsContas.Active());
  EXPECT_FALSE(ui.ProgressVisible());
}

TEST_F(ScreenTest, EnteringTheFilterClosesTheWorkspace) {
  TfrmDistrato& f = Load("101");
  f.medCdReduCont.SetText("001");
  f.edtOrcamento.UserSetFocus();
  EXPECT_FALSE(f.cdsContratante.Active());
  EXPECT_FALSE(f.cdsContas.Active());
  EXPECT_FALSE(f.cdsContasPagar.Active());
  EXPECT_FALSE(f.grbBaixa.Enabled());
  EXPECT_EQ(f.nedVrTotalOrca.Text(), "");
  EXPECT_EQ(f.medCdReduCont.Text(), "");
  EXPECT_FALSE(f.sbtVerificar.Enabled());
}

TEST_F(ScreenTest, TheBankAccountIsValidatedForTheBudgetsCompany) {
  TfrmDistrato& f = Load("101");
  f.medCdReduCont.SetFocus();
  f.medCdReduCont.UserSetText("2");
  f.dbgPadrao.UserSetFocus();
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(f.medCdReduCont.Text(), "002");
  EXPECT_NE(f.edtCdBanco.Text(), "");
  EXPECT_NE(f.edtContCorr.Text(), "");

  f.medCdReduCont.SetFocus();
  f.medCdReduCont.UserSetText("9");
  f.dbgPadrao.UserSetFocus();
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Conta corrente não cadastrada."});
  EXPECT_TRUE(f.medCdReduCont.Focused());
  EXPECT_EQ(f.edtCdBanco.Text(), "");
}

TEST_F(ScreenTest, AnEmptyBankAccountIsRequiredOnlyWhenTheRescissionNeedsOne) {
  TfrmDistrato& f = Load("101");
  inCtBaixadas = 0;
  f.rbtParcial.SetChecked(true);
  EXPECT_NO_THROW(f.Vd_ContaCorrente(true));
  inCtBaixadas = 1;
  f.grbBaixa.SetEnabled(true);
  f.medCdReduCont.SetEnabled(false);
  EXPECT_THROW(f.Vd_ContaCorrente(true), EAbort);
  ASSERT_FALSE(ui.Messages().empty());
  EXPECT_EQ(ui.Messages().back(), "Conta corrente deve ser informada.");
  EXPECT_TRUE(f.medCdReduCont.Enabled());
  EXPECT_TRUE(f.medCdReduCont.Focused());
}

}  // namespace
