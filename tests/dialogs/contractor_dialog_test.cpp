// "Confirmar Valor Contratante" driven headless against the demo server's
// budget 0001/0000000101, as the total rescission and its consolidation
// open it.

#include "../workspace_form/demo_server.h"
#include "data/formats.h"
#include "data/packet.h"
#include "dialogs/cli_dxr10903.h"
#include "lib/corvane.h"
#include "contracts/contractor_values_methods.h"
#include "dialogs/frm_conf_vr_contrat.h"

namespace {

using testing_support::ScreenTest;

FieldDef S(const char* n, int size) { return {n, FieldType::String, size}; }
FieldDef F(const char* n) { return {n, FieldType::Float, 0}; }

struct Party {
  const char* client;
  double value;
  const char* erro = "";
  const char* reneg = "";
};

class ContractorDialog : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    f_ = &Load("101");
    // Each test starts its own review: the working set is emptied first.
    protocol::InsContratDistrato none{.contratantes = Packet({}), .filial = "0001", .orcamento = "0000000101"};
    contracts::InsContratDistrato(f_->netDistrato, none);
  }
  // The demo branch's processing date, the business day of client and server.
  static DateTime Today() { return DateOf(DataProc(FiliProc())); }

  static DataPacket Packet(std::vector<Party> parties) {
    DataPacket p({F("VRORIGREC"), F("VRPERCMULTA"), F("VRMULTA"), S("GERACTPAGAR", 20), F("VRORIGRECNOEDIT"),
                  S("CDCLIENTE", 21), S("ERRO", 100), S("ERRORENEGFIN", 25)});
    for (const Party& x : parties)
      p.addRow({Variant(x.value), Variant(10.0), Variant(x.value / 10), Variant("CNTRECEBER"), Variant(x.value),
                Variant(x.client), Variant(x.erro), Variant(x.reneg)});
    return p;
  }

  Variant Run(std::vector<Party> parties, bool editaTela, std::function<void(TfrmConfVrContrat&)> drive) {
    ui.DriveModal([drive](TForm& form) { drive(dynamic_cast<TfrmConfVrContrat&>(form)); });
    return CriaConfVrContrat(*f_, Variant(Packet(std::move(parties))), editaTela);
  }

  DataPacket StoredPlan(const std::string& client) {
    return contracts::GetFormaPgto(
               f_->netDistrato,
               {.filial = "0001", .orcamento = "0000000101", .cliente = client, .sequencia = "", .endereco = ""})
        .asPacket();
  }
  DataPacket StoredParties() {
    return contracts::GetContratDistrato(f_->netDistrato, {.filial = "0001", .orcamento = "0000000101"}).asPacket();
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (auto& e : ui.Events())
      if (e.kind == ScriptedUi::EventKind::Message) out.push_back(e.text);
    return out;
  }

  static void Generate(TfrmConfVrContrat& d, const std::string& count, const std::string& term) {
    d.rbtFormaPgto.UserClick();
    d.edtQtParc.UserSetFocus();
    d.edtQtParc.UserType(count);
    d.edtPrazo.UserSetFocus();
    d.edtPrazo.UserType(term);
    d.dbgFormaPgto.UserSetFocus();  // recomputes the commands
    d.sbtParcAuto.UserClick();
  }

  TfrmDistrato* f_ = nullptr;
};

const std::vector<Party> kThree = {{"1001", 1000.0}, {"1002", 2000.0}, {"1003", 3000.0}};

TEST_F(ContractorDialog, RescissionStepLeavingWithYesReturnsTheParties) {
  ui.AnswerMessage(mrYes);
  int rows = 0;
  Variant r = Run(kThree, true, [&](TfrmConfVrContrat& d) {
    rows = d.cdsVrContratantes.RecordCount();
    EXPECT_FALSE(d.panFormaPgto.Enabled());
    d.mnuSair.UserClick();
  });
  EXPECT_EQ(rows, 3);
  ASSERT_EQ(r.asArray().size(), 2u);
  EXPECT_TRUE(r[0].asBool());
  EXPECT_EQ(r[1].asPacket().rowCount(), 3u);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "Deseja gerar os orçamentos filhos?");
  EXPECT_EQ(Cli_DXR10903::frmConfVrContrat, nullptr);
}

TEST_F(ContractorDialog, RescissionStepWithAnErrorStillAsks) {
  ui.AnswerMessage(mrOk);
  ui.AnswerMessage(mrYes);
  Variant r = Run({{"1001", 1000.0, "SEM PERCENTUAL"}, {"1002", 500.0}}, true,
                  [](TfrmConfVrContrat& d) { d.mnuSair.UserClick(); });
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0].rfind("Não foi possível realizar o distrato", 0), 0u);
  EXPECT_EQ(Messages()[1], "Deseja gerar os orçamentos filhos?");
  EXPECT_TRUE(r[0].asBool());
  EXPECT_TRUE(r[1].isPacket());
}

TEST_F(ContractorDialog, RescissionStepAnsweredNoReturnsNothing) {
  ui.AnswerMessage(mrNo);
  Variant r = Run(kThree, true, [](TfrmConfVrContrat& d) { d.mnuSair.UserClick(); });
  EXPECT_FALSE(r[0].asBool());
  EXPECT_TRUE(r[1].isNull());
}

TEST_F(ContractorDialog, ConsolidationWithARenegotiationReturnsNothingWithoutAsking) {
  ui.AnswerMessage(mrOk);
  Variant r = Run({{"1001", 1000.0}, {"1002", 500.0, "", "RENEG"}}, false,
                  [](TfrmConfVrContrat& d) { d.mnuSair.UserClick(); });
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("Não foi possível realizar o distrato", 0), 0u);
  EXPECT_FALSE(r[0].asBool());
  EXPECT_TRUE(r[1].isNull());
}

TEST_F(ContractorDialog, ConsolidationWithoutErrorsAsksForTheAccounts) {
  ui.AnswerMessage(mrYes);
  Variant r = Run(kThree, false, [](TfrmConfVrContrat& d) { d.mnuSair.UserClick(); });
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "Deseja gerar as contas para os contratantes envolvidos no distrato?");
  EXPECT_TRUE(r[0].asBool());
}

TEST_F(ContractorDialog, TheDialogHasAFixedBorder) {
  bool fixed = true;
  TRect bounds;
  Run(kThree, true, [&](TfrmConfVrContrat& d) {
    fixed = !d.Sizeable();
    bounds = d.BoundsRect();
    d.UserClose();
  });
  EXPECT_TRUE(fixed);
  EXPECT_EQ(bounds.Width(), 1069);
}

TEST_F(ContractorDialog, CloseBoxReturnsNothing) {
  Variant r = Run(kThree, true, [](TfrmConfVrContrat& d) { d.UserClose(); });
  EXPECT_FALSE(r[0].asBool());
  EXPECT_TRUE(r[1].isNull());
}

TEST_F(ContractorDialog, GeneratedInstallmentsAreConfirmedOnTheServer) {
  Run(kThree, false, [&](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1002")));
    Generate(d, "3", "30");
    EXPECT_EQ(d.cdsFormaPgto.RecordCount(), 3);
    EXPECT_TRUE(d.sbtConfirmar.Enabled());
    EXPECT_EQ(d.edtQtParc.Text(), "");
    d.sbtConfirmar.UserClick();
    EXPECT_FALSE(d.sbtConfirmar.Enabled());
    d.UserClose();
  });
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  DataPacket plan = StoredPlan("1002");
  ASSERT_EQ(plan.rowCount(), 3u);
  EXPECT_DOUBLE_EQ(plan.at(0, "VRPARCELA").asDouble(), 666.67);
  EXPECT_DOUBLE_EQ(plan.at(2, "VRPARCELA").asDouble(), 666.66);
  EXPECT_EQ(plan.at(0, "DTVENCIMENTO").asDate(), DateTime{Today().days + 30});
  DataPacket parties = StoredParties();
  for (std::size_t i = 0; i < parties.rowCount(); ++i)
    if (parties.at(i, "CDCLIENTE").asText() == "1002") {
      EXPECT_EQ(parties.at(i, "IDTPFORMAPGTO").asText(), "V");
    }
}

TEST_F(ContractorDialog, APastDueDateIsRefusedAndNothingIsStored) {
  bool pending = false;
  Run(kThree, false, [&](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1001")));
    Generate(d, "1", "30");
    d.dbgFormaPgto.UserSelectCell(1, 0);
    d.dbgFormaPgto.UserSetCellText(FormatDate(DateTime{Today().days - 1}));
    d.sbtConfirmar.UserClick();
    pending = d.cdsFormaPgto.State() != dsBrowse;
    d.UserClose();
  });
  EXPECT_TRUE(pending);
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages()[0], "Data de vencimento deve ser maior ou igual à data atual.");
  EXPECT_TRUE(StoredPlan("1001").rows.empty());
}

TEST_F(ContractorDialog, MoreInstallmentsThanTheValueAllowsAreRefusedBeforeGenerating) {
  int rows = -1;
  Run({{"1001", 0.05}, {"1002", 2000.0}}, false, [&](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1001")));
    Generate(d, "6", "30");  // 0,05 in 6: one would be 0,00 or less
    rows = d.cdsFormaPgto.RecordCount();
    d.UserClose();
  });
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages()[0], "Quantidade de parcelas maior que o valor permite. Cada parcela deve ser de pelo menos 0,01.");
  EXPECT_LE(rows, 1);  // at most the row the mode radio opened; nothing generated
  EXPECT_TRUE(StoredPlan("1001").rows.empty());
}

TEST_F(ContractorDialog, AQuantityOfZeroStopsConfirmAtTheDueDate) {
  Run(kThree, false, [&](TfrmConfVrContrat& d) {
    Generate(d, "0", "30");
    EXPECT_EQ(d.cdsFormaPgto.RecordCount(), 1);
    d.sbtConfirmar.UserClick();
    d.UserClose();
  });
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages()[0], "Data de vencimento deve ser informada.");
}

TEST_F(ContractorDialog, AFixedDayPartyIsShownWithItsDayCountAndMonth) {
  // Stored first, through the dialog itself.
  Run(kThree, false, [](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1003")));
    d.rbtFixo.UserClick();
    d.speDiaFixo.UserSetFocus();
    d.speDiaFixo.UserSetText("20");
    d.speParcela.UserSetFocus();
    d.speParcela.UserSetText("4");
    d.chbProxMes.UserClick();
    d.sbtConfirmar.UserClick();
    d.UserClose();
  });
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  int day = 0, count = 0;
  bool next = false, fixed = false;
  Run(kThree, false, [&](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1003")));
    day = d.speDiaFixo.Value();
    count = d.speParcela.Value();
    next = d.chbProxMes.Checked();
    fixed = d.rbtFixo.Checked();
    d.UserClose();
  });
  EXPECT_EQ(day, 20);
  EXPECT_EQ(count, 4);
  EXPECT_TRUE(next);
  EXPECT_TRUE(fixed);
}

TEST_F(ContractorDialog, ModeRadioInsertsAnInstallmentKeyedToTheParty) {
  std::string keyedTo, branch;
  Run(kThree, false, [&](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1002")));
    d.rbtFormaPgto.UserClick();
    keyedTo = d.cdsFormaPgto.FieldByName("CDCLIENTE").AsString();
    branch = d.cdsFormaPgto.FieldByName("CDFILIAL").AsString();
    d.UserClose();
  });
  EXPECT_EQ(keyedTo, "1002");
  EXPECT_EQ(branch, "0001");
}

TEST_F(ContractorDialog, CancelOnThePlanAnsweredNoStillReloads) {
  ui.AnswerMessage(mrNo);
  int rows = -1;
  std::string current;
  Run(kThree, false, [&](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1002")));
    Generate(d, "2", "30");
    d.sbtCancelar.UserClick();
    rows = d.cdsFormaPgto.RecordCount();
    current = d.cdsVrContratantes.FieldByName("CDCLIENTE").AsString();
    d.UserClose();
  });
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages()[0], "Deseja cancelar a operação?");
  EXPECT_EQ(current, StoredParties().at(0, "CDCLIENTE").asText());
  EXPECT_EQ(rows, 0);
}

TEST_F(ContractorDialog, NegotiatedValueTypedInTheRescissionStepIsConfirmed) {
  Run(kThree, true, [](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1001")));
    d.dbgContratantes.UserSetFocus();
    d.dbgContratantes.UserSelectCell(d.cdsVrContratantes.RecNo(), 3);
    for (char32_t k : std::u32string(U"75a0,,5-"))
      d.dbgContratantes.UserKeyPress(k);
    EXPECT_EQ(d.dbgContratantes.EditorText(), "750,5");
    d.dbgContratantes.UserKeyDown(VK_RETURN);
    d.sbtConfirmar.UserClick();
    d.UserClose();
  });
  DataPacket parties = StoredParties();
  for (std::size_t i = 0; i < parties.rowCount(); ++i)
    if (parties.at(i, "CDCLIENTE").asText() == "1001") {
      EXPECT_DOUBLE_EQ(parties.at(i, "VRORIGREC").asDouble(), 750.5);
    }
}

TEST_F(ContractorDialog, PartiesAreDrawnWithTheLegendColours) {
  Run({{"1001", 1000.0, "X"}, {"1002", 500.0, "", "Y"}}, true, [](TfrmConfVrContrat& d) {
    int teal = 0, olive = 0;
    for (int row = 1; row <= d.dbgContratantes.RowCount(); ++row) {
      TCellStyle s = d.dbgContratantes.CellStyle(row, 1);
      teal += s.font_color == clTeal;
      olive += s.font_color == clOlive;
    }
    EXPECT_EQ(teal + olive, 2);
    EXPECT_EQ(d.dbgContratantes.Columns(6).Field()->DisplayText().empty(), false);
    d.UserClose();
  });
}

}  // namespace

namespace {

// Loading the confirmed parties makes the first one current, and its plan is
// the one shown: the dialog starts again from the first party.
TEST_F(ContractorDialog, ConfirmReloadsThePartiesWithTheFirstCurrent) {
  std::string current;
  int plan = -1;
  Run(kThree, false, [&](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1002")));
    Generate(d, "2", "30");
    d.sbtConfirmar.UserClick();
    current = d.cdsVrContratantes.FieldByName("CDCLIENTE").AsString();
    plan = d.cdsFormaPgto.RecordCount();
    d.UserClose();
  });
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(current, StoredParties().at(0, "CDCLIENTE").asText());
  EXPECT_NE(current, "1002");
  EXPECT_EQ(plan, 0);
}

// A party with installments moved to a fixed day is confirmed without them:
// the plan it loaded is not sent with the new form.
TEST_F(ContractorDialog, APartyLeavesTheVariableFormWithoutDeletingItsInstallments) {
  Run(kThree, false, [&](TfrmConfVrContrat& d) {
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1002")));
    Generate(d, "2", "30");
    d.sbtConfirmar.UserClick();
    ASSERT_TRUE(d.cdsVrContratantes.Locate("CDCLIENTE", Variant("1002")));
    ASSERT_EQ(d.cdsFormaPgto.RecordCount(), 2);
    d.rbtFixo.UserClick();
    d.sbtConfirmar.UserClick();
    d.UserClose();
  });
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  EXPECT_EQ(StoredPlan("1002").rowCount(), 0u);
  DataPacket parties = StoredParties();
  for (std::size_t i = 0; i < parties.rowCount(); ++i)
    if (parties.at(i, "CDCLIENTE").asText() == "1002") {
      EXPECT_EQ(parties.at(i, "IDTPFORMAPGTO").asText(), "F");
    }
}

}  // namespace
