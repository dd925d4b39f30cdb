// TfrmConfValores: the controls, datasets and the wiring of their handlers.

#include "dialogs/frm_conf_valores.h"

#include "dialogs/plan_dataset.h"
#include "dialogs/value_cells.h"
#include "lib/consiste.h"
#include "workspace/frm_distrato.h"

namespace {
TLabel& LabelAt(TForm& form, const char* name, TWinControl& parent, const char* caption, int left, int top) {
  TLabel& l = form.Add<TLabel>(name, &parent);
  l.SetCaption(caption);
  l.SetBounds(left, top, 80, 13);
  return l;
}
}  // namespace

TfrmConfValores::TfrmConfValores(TfrmDistrato& owner)
    : frmDistrato(owner),
      dbgConfValores(Add<TDBGrid>("dbgConfValores", this)),
      grbFormaPgto(Add<TGroupBox>("grbFormaPgto", this)),
      rbtSemForma(Add<TRadioButton>("rbtSemForma", &grbFormaPgto)),
      rbtFixo(Add<TRadioButton>("rbtFixo", &grbFormaPgto)),
      rbtVariavel(Add<TRadioButton>("rbtVariavel", &grbFormaPgto)),
      panPgtoFixo(Add<TPanel>("panPgtoFixo", &grbFormaPgto)),
      speDiaFixo(Add<TSpinEdit>("speDiaFixo", &panPgtoFixo)),
      speParcela(Add<TSpinEdit>("speParcela", &panPgtoFixo)),
      lblParcelas(LabelAt(*this, "lblParcelas", panPgtoFixo, "Parcela(s)", 106, 4)),
      lblAbre(LabelAt(*this, "lblAbre", panPgtoFixo, "(", 174, 4)),
      chbProxMes(Add<TCheckBox>("chbProxMes", &panPgtoFixo)),
      grbParcAuto(Add<TGroupBox>("grbParcAuto", &grbFormaPgto)),
      lblValorPgto(LabelAt(*this, "lblValorPgto", grbParcAuto, "Vr. Calculado", 8, 16)),
      nedValorPgto(Add<TNumberEdit>("nedValorPgto", &grbParcAuto)),
      lblQtParcelas(LabelAt(*this, "lblQtParcelas", grbParcAuto, "Qt.Parcelas", 110, 16)),
      edtQtParcelas(Add<TEdit>("edtQtParcelas", &grbParcAuto)),
      lblPrazoDias(LabelAt(*this, "lblPrazoDias", grbParcAuto, "Prazo (dias)", 180, 16)),
      edtPrazoDias(Add<TEdit>("edtPrazoDias", &grbParcAuto)),
      sbtParcAutomatico(Add<TButtonFlat>("sbtParcAutomatico", &grbParcAuto)),
      dbgFormaPgto(Add<TDBGrid>("dbgFormaPgto", this)),
      panBotoes(Add<TPanel>("panBotoes", this)),
      sbtOk(Add<TButtonFlat>("sbtOk", &panBotoes)),
      sbtCancelar(Add<TButtonFlat>("sbtCancelar", &panBotoes)),
      depVdData(Add<TDateEditPlus>("depVdData", &panBotoes)),
      cdsFormaPgto(Own<TClientDataSet>("cdsFormaPgto", "cdsFormaPgto")),
      cdsAuxFormaPgto(Own<TClientDataSet>("cdsAuxFormaPgto", "cdsAuxFormaPgto")),
      dtsFormaPgto(Own<TDataSource>("dtsFormaPgto", "dtsFormaPgto", &cdsFormaPgto)) {
  SetName("frmConfValores");
  SetCaption("Confirmar Valores");
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 540, 380);
  BuildValuesGrid();
  BuildPaymentSection();
  BuildPlan();
  Wire();
}

void TfrmConfValores::BuildValuesGrid() {
  dbgConfValores.SetAlign(alTop);
  dbgConfValores.SetHeight(60);
  dbgConfValores.SetColor(clInfoBk);
  dbgConfValores.SetOptions(dgDefaultOptions);
  dbgConfValores.SetDataSource(&frmDistrato.dtsValores);
  dbgConfValores.AddColumn("VRORIGRECNOEDIT").SetWidth(104);
  dbgConfValores.AddColumn("VRORIGREC").SetWidth(106);
  dbgConfValores.AddColumn("VRMULTA").SetTitleCaption("Vr.Multa");
  dbgConfValores.AddColumn("VRPERCMULTA").SetWidth(100);
  TColumn& tipo = dbgConfValores.AddColumn("GERACTPAGAR");
  tipo.SetTitleCaption("Tipo de Conta");
  tipo.SetWidth(100);
}

void TfrmConfValores::BuildPaymentSection() {
  grbFormaPgto.SetCaption("Forma de Pagamento");
  grbFormaPgto.SetFontBold(true);
  // The payment section stands at the left; the installment grid takes
  // what is left beside it.
  grbFormaPgto.SetAlign(alLeft);
  grbFormaPgto.SetWidth(330);
  rbtSemForma.SetCaption("Sem Forma de Pagamento");
  rbtSemForma.SetBounds(8, 18, 200, 17);
  rbtFixo.SetCaption("Pagamento Fixo no Dia");
  rbtFixo.SetBounds(8, 38, 200, 17);
  panPgtoFixo.SetBounds(24, 58, 302, 24);
  speDiaFixo.SetBounds(0, 0, 40, 21);
  speDiaFixo.SetMinValue(1);
  speDiaFixo.SetMaxValue(31);
  speDiaFixo.SetMaxLength(2);
  speParcela.SetBounds(60, 0, 40, 21);
  speParcela.SetMinValue(1);
  speParcela.SetMaxValue(99);
  speParcela.SetMaxLength(2);
  chbProxMes.SetCaption("1ª Próximo Mês)");
  chbProxMes.SetBounds(180, 2, 120, 17);
  rbtVariavel.SetCaption("Pela Forma de Pagamento");
  rbtVariavel.SetBounds(8, 88, 200, 17);
  grbParcAuto.SetCaption("Parcelamento Automático");
  grbParcAuto.SetBounds(8, 110, 314, 90);
  nedValorPgto.SetBounds(8, 32, 90, 21);
  nedValorPgto.SetDecimals(2);
  nedValorPgto.SetNumberFormat("#,##0.00");
  nedValorPgto.SetReadOnly(true);
  edtQtParcelas.SetBounds(110, 32, 60, 21);
  edtQtParcelas.SetMaxLength(2);
  edtPrazoDias.SetBounds(180, 32, 60, 21);
  edtPrazoDias.SetMaxLength(2);
  sbtParcAutomatico.SetCaption("Gerar Parcelas");
  sbtParcAutomatico.SetHint("Gerar Parcelas");
  sbtParcAutomatico.SetBounds(8, 60, 100, 22);
  sbtParcAutomatico.SetEnabled(false);
  panPgtoFixo.SetEnabled(false);
  grbParcAuto.SetEnabled(false);
}

void TfrmConfValores::BuildPlan() {
  for (TClientDataSet* data : {&cdsFormaPgto, &cdsAuxFormaPgto}) {
    data->AddField("DTVENCPARCELA", FieldType::DateTime);
    data->AddField("NRPARCELAS", FieldType::Integer);
    data->AddField("NRDIAPGTOFIXO", FieldType::Integer);
    data->AddField("VRPARCELA", FieldType::Float);
    data->AddField("IDMESINIPGTO", FieldType::String, 1);
    data->AddField("IDTPFORMAPGTO", FieldType::String, 1);
    data->AddField("NRSEQPARC", FieldType::Integer);
  }
  cdsFormaPgto.FieldByName("DTVENCPARCELA").SetDisplayLabel("Vencimento");
  cdsFormaPgto.FieldByName("VRPARCELA").SetDisplayLabel("Valor").SetDisplayFormat("#,##0.00");
  cdsFormaPgto.FieldByName("NRSEQPARC").SetDisplayLabel("Parcela");

  dbgFormaPgto.SetAlign(alClient);
  dbgFormaPgto.SetColor(clInfoBk);
  dbgFormaPgto.SetDataSource(&dtsFormaPgto);
  dbgFormaPgto.AddColumn("DTVENCPARCELA").SetWidth(88);
  dbgFormaPgto.AddColumn("VRPARCELA").SetWidth(84);
  dbgFormaPgto.SetEnabled(false);

  panBotoes.SetAlign(alBottom);
  panBotoes.SetHeight(34);
  sbtOk.SetCaption("Ok");
  sbtOk.SetBounds(320, 5, 80, 24);
  sbtCancelar.SetCaption("Cancelar");
  sbtCancelar.SetBounds(405, 5, 80, 24);
  depVdData.SetVisible(false);
}

void TfrmConfValores::Wire() {
  OnCreate = [this](TComponent* s) { FormCreate(s); };
  OnShow = [this](TComponent* s) { FormShow(s); };
  OnActivate = [this](TComponent* s) { FormActivate(s); };
  OnClose = [this](TComponent* s, TCloseAction& a) { FormClose(s, a); };
  rbtSemForma.OnClick = [this](TComponent* s) { rbtSemFormaClick(s); };
  rbtFixo.OnClick = [this](TComponent* s) { rbtFixoClick(s); };
  rbtVariavel.OnClick = [this](TComponent* s) { rbtVariavelClick(s); };
  grbFormaPgto.OnEnter = [this](TComponent* s) { grbFormaPgtoEnter(s); };
  dbgConfValores.OnExit = [this](TComponent* s) { dbgConfValoresExit(s); };
  dbgConfValores.OnKeyPress = [this](TComponent* s, char32_t& k) { dbgConfValoresKeyPress(s, k); };
  dbgConfValores.OnDrawColumnCell = [](TDBGrid&, const TRect&, int, TColumn& column, TGridDrawState state,
                                       TCellStyle& style) {
    const std::string& name = column.FieldName();
    std::string format;
    if (name == "VRORIGRECNOEDIT" || name == "VRORIGREC" || name == "VRMULTA") format = "#,##0.00";
    else if (name == "VRPERCMULTA") format = "#0.00";
    dialogs::StyleValueCell(style, column.Field(), format, state);
  };
  dbgFormaPgto.OnKeyPress = [this](TComponent* s, char32_t& k) { dbgFormaPgtoKeyPress(s, k); };
  dbgFormaPgto.OnColExit = [this](TComponent* s) { dbgFormaPgtoColExit(s); };
  sbtParcAutomatico.OnClick = [this](TComponent* s) { sbtParcAutomaticoClick(s); };
  edtQtParcelas.OnChange = [this](TComponent* s) { edtQtParcelasChange(s); };
  edtPrazoDias.OnChange = [this](TComponent* s) { edtQtParcelasChange(s); };
  edtQtParcelas.OnExit = [this](TComponent* s) { edtQtParcelasExit(s); };
  edtQtParcelas.OnKeyPress = [this](TComponent* s, char32_t& k) { edtQtParcelasKeyPress(s, k); };
  edtPrazoDias.OnKeyPress = [this](TComponent* s, char32_t& k) { edtPrazoDiasKeyPress(s, k); };
  cdsFormaPgto.BeforeEdit = [this](TClientDataSet& d) { cdsFormaPgtoBeforeEditOrInsert(d); };
  cdsFormaPgto.BeforeInsert = [this](TClientDataSet& d) { cdsFormaPgtoBeforeEditOrInsert(d); };
  cdsFormaPgto.BeforePost = [this](TClientDataSet& d) { cdsFormaPgtoBeforePost(d); };
  cdsFormaPgto.FieldByName("DTVENCPARCELA").OnSetText = [this](TField& f, const std::string& t) {
    cdsFormaPgtoDTVENCPARCELASetText(f, t);
  };
  sbtOk.OnClick = [this](TComponent* s) { sbtOkClick(s); };
  sbtCancelar.OnClick = [this](TComponent* s) { sbtCancelarClick(s); };
}
