// "Confirmar Valores" driven headless as the user does, over a values row
// put into the main screen's cdsValores.

#include "../workspace_form/demo_server.h"
#include "data/formats.h"
#include "data/packet.h"
#include "dialogs/cli_dxr10901.h"
#include "lib/corvane.h"
#include "dialogs/frm_conf_valores.h"

namespace {

using testing_support::ScreenTest;

DateTime Today() { return EncodeDate(2026, 3, 10); }

class ValuesDialog : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    // The dialog's due-date checks read the login's processing date.
    LoginEnvironment login = CurrentLoginEnvironment();
    login.processingDate = Today();
    SetLoginEnvironment(login);
    f_ = &Open();
  }

  // One values row, as ConfirmaValores fills it.
  void Row(double negotiated, double fine = 150.0) {
    TClientDataSet& v = f_->cdsValores;
    if (!v.Active()) v.CreateDataSet();
    v.EmptyDataSet();
    v.Append();
    v.FieldByName("VRORIGRECNOEDIT").SetAsFloat(1234.56);
    v.FieldByName("VRORIGREC").SetAsFloat(negotiated);
    v.FieldByName("VRPERCMULTA").SetAsFloat(10.0);
    v.FieldByName("VRMULTA").SetAsFloat(fine);
    v.FieldByName("GERACTPAGAR").SetAsString("CNTRECEBER");
    v.Post();
  }

  Variant Run(bool editaTela, std::function<void(TfrmConfValores&)> drive) {
    ui.DriveModal([drive](TForm& form) { drive(dynamic_cast<TfrmConfValores&>(form)); });
    const TfrmDistrato& f = *f_;
    return CriaConfValores(*f_, f.cdsValores.FieldByName("VRORIGRECNOEDIT").AsFloat(),
                           f.cdsValores.FieldByName("VRORIGREC").AsFloat(),
                           f.cdsValores.FieldByName("VRPERCMULTA").AsFloat(),
                           f.cdsValores.FieldByName("VRMULTA").AsFloat(), editaTela);
  }

  static void Generate(TfrmConfValores& d, const std::string& count, const std::string& term) {
    d.rbtVariavel.UserClick();
    d.edtQtParcelas.UserSetFocus();
    d.edtQtParcelas.UserType(count);
    d.edtPrazoDias.UserSetFocus();
    d.edtPrazoDias.UserType(term);
    d.sbtParcAutomatico.UserClick();
  }

  std::vector<std::string> Errors() const {
    std::vector<std::string> out;
    for (auto& e : ui.Events())
      if (e.kind == ScriptedUi::EventKind::Message) out.push_back(e.text);
    return out;
  }

  TfrmDistrato* f_ = nullptr;
};

const DataPacket& PacketOf(const Variant& result) { return result[1].asPacket(); }

TEST_F(ValuesDialog, RescissionStepTakesANewNegotiatedValueAndReturnsModeE) {
  Row(1000.0);
  bool sectionEnabled = true, planEnabled = true;
  Variant r = Run(true, [&](TfrmConfValores& d) {
    sectionEnabled = d.grbFormaPgto.Enabled();
    planEnabled = d.dbgFormaPgto.Enabled();
    d.dbgConfValores.UserSetFocus();
    d.dbgConfValores.UserSelectCell(1, 3);  // VRPERCMULTA: no key gets in
    d.dbgConfValores.UserKeyPress(U'5');
    EXPECT_FALSE(d.dbgConfValores.EditorOpen());
    d.dbgConfValores.UserSelectCell(1, 1);  // VRORIGREC
    for (char32_t k : std::u32string(U"-1.500,5,0e"))
      d.dbgConfValores.UserKeyPress(k);
    // Signs, the exponent and a second comma are dropped; a dot is read as
    // a thousands separator at OK.
    EXPECT_EQ(d.dbgConfValores.EditorText(), "1.500,50");
    d.sbtOk.UserClick();
  });
  EXPECT_FALSE(sectionEnabled);
  EXPECT_FALSE(planEnabled);
  ASSERT_TRUE(r.isArray());
  ASSERT_EQ(r.asArray().size(), 4u);
  EXPECT_TRUE(r[0].asBool());
  ASSERT_EQ(PacketOf(r).rowCount(), 1u);
  EXPECT_EQ(PacketOf(r).at(0, "IDTPFORMAPGTO").asText(), "E");
  EXPECT_DOUBLE_EQ(r[2].asDouble(), 1500.5);
  EXPECT_DOUBLE_EQ(r[3].asDouble(), 150.0);
  EXPECT_EQ(Cli_DXR10901::frmConfValores, nullptr);
}

TEST_F(ValuesDialog, ThousandsAreReadBackFromTheGrid) {
  Row(1234.56, 1000.0);
  Variant r = Run(true, [](TfrmConfValores& d) { d.sbtOk.UserClick(); });
  EXPECT_DOUBLE_EQ(r[2].asDouble(), 1234.56);
  EXPECT_DOUBLE_EQ(r[3].asDouble(), 1000.0);
}

TEST_F(ValuesDialog, ConsolidationStepWithAFixedDay) {
  Row(900.0);
  bool planEnabled = false;
  Variant r = Run(false, [&](TfrmConfValores& d) {
    planEnabled = d.dbgFormaPgto.Enabled();
    d.dbgConfValores.UserSetFocus();
    d.dbgConfValores.UserSelectCell(1, 1);
    d.dbgConfValores.UserKeyPress(U'7');  // values are read-only here
    EXPECT_FALSE(d.dbgConfValores.EditorOpen());
    d.rbtFixo.UserClick();
    EXPECT_TRUE(d.panPgtoFixo.Enabled());
    d.speDiaFixo.UserSetFocus();
    d.speDiaFixo.UserSetText("15");
    d.speParcela.UserSetFocus();
    d.speParcela.UserSetText("3");
    d.chbProxMes.UserClick();
    d.sbtOk.UserClick();
  });
  EXPECT_TRUE(planEnabled);  // after activation, even with mode "E" checked
  EXPECT_TRUE(r[0].asBool());
  const DataPacket& p = PacketOf(r);
  ASSERT_EQ(p.rowCount(), 1u);
  EXPECT_EQ(p.at(0, "IDTPFORMAPGTO").asText(), "F");
  EXPECT_EQ(p.at(0, "NRDIAPGTOFIXO").asInt(), 15);
  EXPECT_EQ(p.at(0, "NRPARCELAS").asInt(), 3);
  EXPECT_EQ(p.at(0, "IDMESINIPGTO").asText(), "P");
  EXPECT_DOUBLE_EQ(r[2].asDouble(), 900.0);
}

TEST_F(ValuesDialog, GeneratedInstallmentsAreConfirmed) {
  Row(100.0);
  Variant r = Run(false, [](TfrmConfValores& d) {
    Generate(d, "3", "30");
    EXPECT_EQ(d.edtQtParcelas.Text(), "");
    EXPECT_FALSE(d.sbtParcAutomatico.Enabled());
    d.sbtOk.UserClick();
  });
  EXPECT_TRUE(r[0].asBool());
  const DataPacket& p = PacketOf(r);
  ASSERT_EQ(p.rowCount(), 3u);
  EXPECT_EQ(p.at(0, "DTVENCPARCELA").asDate(), DateTime{Today().days + 30});
  EXPECT_EQ(p.at(2, "DTVENCPARCELA").asDate(), DateTime{Today().days + 90});
  EXPECT_DOUBLE_EQ(p.at(0, "VRPARCELA").asDouble(), 33.33);
  EXPECT_DOUBLE_EQ(p.at(2, "VRPARCELA").asDouble(), 33.34);
  EXPECT_EQ(p.at(0, "NRSEQPARC").asInt(), 1);
  EXPECT_EQ(p.at(2, "NRSEQPARC").asInt(), 3);
  EXPECT_EQ(p.at(0, "IDTPFORMAPGTO").asText(), "V");
  EXPECT_EQ(p.at(1, "IDTPFORMAPGTO").asText(), "");
  EXPECT_EQ(p.at(2, "IDTPFORMAPGTO").asText(), "V");  // the row current at OK
}

TEST_F(ValuesDialog, VariableModeWithoutInstallmentsStaysOpen) {
  Row(100.0);
  bool stillOpen = false;
  Variant r = Run(false, [&](TfrmConfValores& d) {
    d.rbtVariavel.UserClick();
    d.sbtOk.UserClick();
    stillOpen = d.ModalResult() == mrNone;
    d.sbtCancelar.UserClick();
  });
  EXPECT_TRUE(stillOpen);
  ASSERT_FALSE(Errors().empty());
  EXPECT_EQ(Errors()[0], "Pelo menos uma data de vencimento deve ser informada.");
  EXPECT_FALSE(r[0].asBool());
  EXPECT_TRUE(r[1].isNull());
  EXPECT_DOUBLE_EQ(r[2].asDouble(), 0.0);
  EXPECT_DOUBLE_EQ(r[3].asDouble(), 0.0);
}

TEST_F(ValuesDialog, APlanWhoseSumDiffersIsRefusedOnTheValueColumn) {
  Row(100.0);
  bool stillOpen = false;
  std::string focusedField;
  Run(false, [&](TfrmConfValores& d) {
    Generate(d, "2", "30");
    d.dbgFormaPgto.UserSetFocus();
    d.dbgFormaPgto.UserSelectCell(1, 1);
    d.dbgFormaPgto.UserSetCellText("40,00");
    d.sbtOk.UserClick();
    stillOpen = d.ModalResult() == mrNone;
    focusedField = d.dbgFormaPgto.SelectedColumn()->FieldName();
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(focusedField, "VRPARCELA");
  ASSERT_FALSE(Errors().empty());
  EXPECT_EQ(Errors()[0], "A soma das parcelas difere do valor negociado.");
}

TEST_F(ValuesDialog, MoreInstallmentsThanTheTotalAllowsAreRefusedBeforeGenerating) {
  Row(0.01);
  int rows = 99;
  bool stillOpen = false;
  Run(false, [&](TfrmConfValores& d) {
    Generate(d, "2", "30");  // 0,01 in 2 would be 0,01 and 0,00
    rows = d.cdsFormaPgto.RecordCount();
    stillOpen = d.ModalResult() == mrNone;
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(rows, 0);
  ASSERT_FALSE(Errors().empty());
  EXPECT_EQ(Errors()[0], "Quantidade de parcelas maior que o valor permite. Cada parcela deve ser de pelo menos 0,01.");
}

TEST_F(ValuesDialog, SmallTotalsSplitManyWaysAreAllAboveZeroAndConfirm) {
  Row(5.50);
  Variant r = Run(false, [](TfrmConfValores& d) {
    Generate(d, "99", "1");
    d.sbtOk.UserClick();
  });
  ASSERT_TRUE(r[0].asBool()) << (Errors().empty() ? "" : Errors()[0]);
  const DataPacket& p = PacketOf(r);
  ASSERT_EQ(p.rowCount(), 99u);
  double sum = 0;
  for (std::size_t i = 0; i < p.rowCount(); ++i) {
    EXPECT_GT(p.at(i, "VRPARCELA").asDouble(), 0.0) << i;
    sum += p.at(i, "VRPARCELA").asDouble();
  }
  EXPECT_NEAR(sum, 5.50, 1e-9);
}

TEST_F(ValuesDialog, AnInstallmentOfZeroIsRefusedAtOkEvenWhenTheSumMatches) {
  Row(100.0);
  bool stillOpen = false;
  Run(false, [&](TfrmConfValores& d) {
    Generate(d, "2", "30");
    d.dbgFormaPgto.UserSetFocus();
    d.dbgFormaPgto.UserSelectCell(0, 1);
    d.dbgFormaPgto.UserSetCellText("100,00");
    d.dbgFormaPgto.UserSelectCell(1, 1);
    d.dbgFormaPgto.UserSetCellText("0");
    d.sbtOk.UserClick();
    stillOpen = d.ModalResult() == mrNone;
  });
  EXPECT_TRUE(stillOpen);
  ASSERT_FALSE(Errors().empty());
  EXPECT_EQ(Errors().back(), "O valor de cada parcela deve ser maior que zero.");
}

TEST_F(ValuesDialog, QuantityZeroIsRefusedOnLeavingTheEdit) {
  Row(100.0);
  bool focusKept = false;
  Run(false, [&](TfrmConfValores& d) {
    d.rbtVariavel.UserClick();
    d.edtQtParcelas.UserSetFocus();
    d.edtQtParcelas.UserType("0a");
    EXPECT_EQ(d.edtQtParcelas.Text(), "0");
    d.edtPrazoDias.UserSetFocus();
    focusKept = d.edtQtParcelas.Focused();
  });
  EXPECT_TRUE(focusKept);
  ASSERT_FALSE(Errors().empty());
  EXPECT_EQ(Errors()[0], "Quantidade de parcelas deve ser maior que zero.");
}

TEST_F(ValuesDialog, ADueDateAlreadyInThePlanIsRefused) {
  Row(100.0);
  Run(false, [&](TfrmConfValores& d) {
    Generate(d, "2", "30");
    d.dbgFormaPgto.UserSetFocus();
    d.dbgFormaPgto.UserSelectCell(2, 0);
    d.dbgFormaPgto.UserSetCellText(FormatDate(DateTime{Today().days + 30}));
    d.dbgFormaPgto.UserSelectCell(2, 1);  // leaving the due-date column
  });
  ASSERT_FALSE(Errors().empty());
  EXPECT_EQ(Errors()[0], "Vencimento já informado.");
}

TEST_F(ValuesDialog, APastDueDateIsRefusedBeforePosting) {
  Row(100.0);
  Run(false, [&](TfrmConfValores& d) {
    Generate(d, "1", "30");
    d.dbgFormaPgto.UserSetFocus();
    d.dbgFormaPgto.UserSelectCell(1, 0);
    d.dbgFormaPgto.UserSetCellText("09/03/2026");
    d.dbgFormaPgto.UserSelectCell(1, 1);
    d.sbtOk.UserClick();
  });
  ASSERT_FALSE(Errors().empty());
  EXPECT_EQ(Errors()[0], "Data de vencimento da parcela deve ser maior ou igual à data atual.");
}

TEST_F(ValuesDialog, NothingToPayConfirmsWithoutAPlan) {
  Row(0.0);
  bool fixedOff = false;
  Variant r = Run(false, [&](TfrmConfValores& d) {
    fixedOff = !d.rbtFixo.Enabled() && !d.rbtVariavel.Enabled();
    d.sbtOk.UserClick();
  });
  EXPECT_TRUE(fixedOff);
  EXPECT_TRUE(r[0].asBool());
  EXPECT_TRUE(r[1].isNull());
  EXPECT_DOUBLE_EQ(r[2].asDouble(), 0.0);
}

TEST_F(ValuesDialog, CloseBoxAfterAnEarlierOkStillReturnsNothing) {
  Row(500.0);
  Variant ok = Run(true, [](TfrmConfValores& d) { d.sbtOk.UserClick(); });
  ASSERT_TRUE(ok[0].asBool());
  Variant closed = Run(true, [](TfrmConfValores& d) { d.UserClose(); });
  EXPECT_FALSE(closed[0].asBool());
  EXPECT_TRUE(closed[1].isNull());
  EXPECT_DOUBLE_EQ(closed[2].asDouble(), 0.0);
  EXPECT_DOUBLE_EQ(closed[3].asDouble(), 0.0);
}

TEST_F(ValuesDialog, ValuesAreDrawnFormattedAndRightAligned) {
  Row(1234.5);
  Run(true, [](TfrmConfValores& d) {
    TCellStyle neg = d.dbgConfValores.CellStyle(1, 1);
    EXPECT_EQ(neg.text, "1.234,50");
    EXPECT_EQ(neg.alignment, taRightJustify);
    EXPECT_EQ(neg.offset_x, 3);
    EXPECT_EQ(neg.offset_y, 3);
    EXPECT_EQ(d.dbgConfValores.CellStyle(1, 3).text, "10,00");
    TCellStyle kind = d.dbgConfValores.CellStyle(1, 4);
    EXPECT_EQ(kind.alignment, taLeftJustify);
    EXPECT_EQ(kind.offset_x, 2);
  });
}

}  // namespace
