// TfrmConfVrContrat: the controls, datasets, catalogue and handler wiring.

#include "dialogs/frm_conf_vr_contrat.h"

#include "dialogs/installment_rules.h"
#include "dialogs/plan_dataset.h"
#include "lib/consiste.h"
#include "workspace/frm_distrato.h"

namespace {
TLabel& LabelAt(TForm& form, const char* name, TWinControl& parent, const char* caption, int left, int top,
                int width = 60) {
  TLabel& l = form.Add<TLabel>(name, &parent);
  l.SetCaption(caption);
  l.SetBounds(left, top, width, 13);
  return l;
}

const std::vector<std::string>& ContractorMessages() {
  static const std::vector<std::string> lines{
      "GERA_CONTA_TCONTRAT|Deseja gerar as contas para os contratantes envolvidos no distrato?",
      "GERA_ORCA_FILHO|Deseja gerar os orçamentos filhos?",
      "ERRO_DISTRATO|Não foi possível realizar o distrato, pois um ou mais contratantes possui renegociação "
      "financeira ou não há percentual de multa parametrizado para o valor pago por algum dos contratantes.",
      "DT_VENC_N_INF|Data de vencimento deve ser informada.",
      "DATA_MAIOR|Data de vencimento deve ser maior ou igual à data atual.",
      "SOMA_MAIOR|A soma das parcelas é maior que o valor negociado.",
      "QT_PARC_MAIOR_VALOR|Quantidade de parcelas maior que o valor permite. Cada parcela deve ser de pelo menos 0,01.",
      "VR_PARC_ZERO|O valor de cada parcela deve ser maior que zero.",
      "CANC|Deseja cancelar a operação?",
      "Conta_Receber|Conta a Receber",
      "Conta_Pagar|Conta a Pagar",
  };
  return lines;
}
}  // namespace

TfrmConfVrContrat::TfrmConfVrContrat(TfrmDistrato& owner)
    : TfrmPadraoSimples("DXR10903"),
      frmDistrato(owner),
      dbgContratantes(Add<TDBGrid>("dbgContratantes", this)),
      panLegenda(Add<TPanel>("panLegenda", this)),
      shpSemPercentual(Add<TPanel>("shpSemPercentual", &panLegenda)),
      lblSemPercentual(LabelAt(*this, "lblSemPercentual", panLegenda, "Não há percentual de multa parametrizado",
                               24, 4, 240)),
      shpRenegociacao(Add<TPanel>("shpRenegociacao", &panLegenda)),
      lblRenegociacao(LabelAt(*this, "lblRenegociacao", panLegenda,
                              "Contratante possui renegociação financeira. Departamento financeiro deve ser "
                              "comunicado",
                              304, 4, 520)),
      grbFormaPgto(Add<TGroupBox>("grbFormaPgto", this)),
      panFormaPgto(Add<TPanel>("panFormaPgto", &grbFormaPgto)),
      rbtSemFormaPgto(Add<TRadioButton>("rbtSemFormaPgto", &panFormaPgto)),
      rbtFixo(Add<TRadioButton>("rbtFixo", &panFormaPgto)),
      speDiaFixo(Add<TSpinEdit>("speDiaFixo", &panFormaPgto)),
      lblCom(LabelAt(*this, "lblCom", panFormaPgto, "com", 222, 42, 26)),
      speParcela(Add<TSpinEdit>("speParcela", &panFormaPgto)),
      Label5(LabelAt(*this, "Label5", panFormaPgto, "parcela(s)", 302, 42, 62)),
      Label4(LabelAt(*this, "Label4", panFormaPgto, "(", 366, 42, 6)),
      chbProxMes(Add<TCheckBox>("chbProxMes", &panFormaPgto)),
      rbtFormaPgto(Add<TRadioButton>("rbtFormaPgto", &panFormaPgto)),
      grbParcAuto(Add<TGroupBox>("grbParcAuto", &panFormaPgto)),
      lblQtParc(LabelAt(*this, "lblQtParc", grbParcAuto, "Qt.Parcelas", 8, 16)),
      edtQtParc(Add<TEdit>("edtQtParc", &grbParcAuto)),
      lblPrazo(LabelAt(*this, "lblPrazo", grbParcAuto, "Prazo (dias)", 80, 16)),
      edtPrazo(Add<TEdit>("edtPrazo", &grbParcAuto)),
      sbtParcAuto(Add<TButtonFlat>("sbtParcAuto", &grbParcAuto)),
      dbgFormaPgto(Add<TDBGrid>("dbgFormaPgto", &grbFormaPgto)),
      cdsVrContratantes(Own<TClientDataSet>("cdsVrContratantes", "cdsVrContratantes")),
      cdsFormaPgto(Own<TClientDataSet>("cdsFormaPgto", "cdsFormaPgto")),
      cdsAuxFormaPgto(Own<TClientDataSet>("cdsAuxFormaPgto", "cdsAuxFormaPgto")),
      dtsFormaPgto(Own<TDataSource>("dtsFormaPgto", "dtsFormaPgto", &cdsFormaPgto)) {
  SetName("frmConfVrContrat");
  SetCaption("Confirmar Valor Contratante");
  SetBounds(0, 0, 1069, 399 + 34);
  SetBorderStyle(bsDialog);  // fixed border: the layout is made for this size
  SetPosition(poScreenCenter);
  msgPadrao.Messages = ContractorMessages();
  BuildParties();
  BuildPayment();
  BuildPlan();
  Wire();
}

void TfrmConfVrContrat::BuildParties() {
  TClientDataSet& d = cdsVrContratantes;
  d.AddField("VRORIGREC", FieldType::Float).SetDisplayLabel("Vr.Negociado").SetDisplayFormat("#,##0.00;")
      .SetEditFormat("0.00");
  d.AddField("VRPERCMULTA", FieldType::Float).SetDisplayLabel("% de Multa").SetDisplayWidth(10)
      .SetDisplayFormat("##0.00%").SetEditFormat("0.00").SetReadOnly(true);
  d.AddField("VRMULTA", FieldType::Float).SetDisplayFormat("#,##0.00 ").SetEditFormat("0.00").SetReadOnly(true);
  d.AddField("GERACTPAGAR", FieldType::String, 20).SetDisplayLabel("Tipo de Conta").SetReadOnly(true);
  d.AddField("VRORIGRECNOEDIT", FieldType::Float).SetDisplayLabel("Vr.Original").SetDisplayFormat("#,##0.00")
      .SetEditFormat("0.00").SetReadOnly(true);
  d.AddField("IDTPIJURCLIE", FieldType::String, 1).SetReadOnly(true);
  d.AddField("CDCLIENTE", FieldType::String, 21).SetReadOnly(true);
  d.AddField("NRINSJURCLIE", FieldType::String, 20).SetDisplayLabel("Inscrição").SetReadOnly(true);
  d.AddField("ERRO", FieldType::String, 100).SetReadOnly(true);
  d.AddField("CDCLICONTSUBORE", FieldType::String, 21).SetReadOnly(true);
  d.AddField("NRINSJURCLISUB", FieldType::String, 20).SetDisplayLabel("Inscr. Substituto").SetReadOnly(true);
  d.AddField("IDTPIJURCLIESUB", FieldType::String, 1).SetReadOnly(true);
  d.AddField("NMFANTCLIESUB", FieldType::String, 50).SetDisplayLabel("Nome Fant. Substituto").SetReadOnly(true);
  d.AddField("NRDIAPGTOFIXO", FieldType::Float);
  d.AddField("NRPARCELAS", FieldType::Float);
  d.AddField("IDMESINIPGTO", FieldType::FixedString, 1);
  d.AddField("IDTPFORMAPGTO", FieldType::FixedString, 1);
  d.AddField("ERRORENEGFIN", FieldType::FixedString, 25).SetVisible(false);
  d.AddField("NMFANTCLIE", FieldType::String, 50).SetDisplayLabel("Nome Fantasia").SetReadOnly(true);
  // The party's contract, hidden: a client may hold two in one budget, and
  // the server tells them apart by these.
  d.AddField("NRSEQORCAEVE", FieldType::FixedString, 2).SetVisible(false).SetReadOnly(true);
  d.AddField("NRENDCLIORCEVE", FieldType::String, 10).SetVisible(false).SetReadOnly(true);
  dtsPadrao.SetDataSet(&d);

  dbgContratantes.SetAlign(alTop);
  dbgContratantes.SetHeight(180);
  dbgContratantes.SetColor(clInfoBk);
  dbgContratantes.SetOptions(dgEditing | dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs |
                             dgAlwaysShowSelection | dgConfirmDelete | dgCancelOnExit);
  dbgContratantes.SetDataSource(&dtsPadrao);
  for (const char* f : {"NRINSJURCLIE", "NMFANTCLIE", "VRORIGRECNOEDIT", "VRORIGREC", "VRMULTA", "VRPERCMULTA",
                        "GERACTPAGAR"})
    dbgContratantes.AddColumn(f);
  dbgContratantes.Columns(4).SetTitleCaption("Vr.Multa");

  panLegenda.SetAlign(alTop);
  panLegenda.SetHeight(22);
  shpSemPercentual.SetBounds(4, 4, 14, 14);
  shpSemPercentual.SetColor(clTeal);
  shpRenegociacao.SetBounds(284, 4, 14, 14);
  shpRenegociacao.SetColor(clOlive);
}

void TfrmConfVrContrat::BuildPayment() {
  grbFormaPgto.SetAlign(alClient);
  grbFormaPgto.SetCaption("Forma de Pagamento");
  grbFormaPgto.SetFontBold(true);
  panFormaPgto.SetAlign(alLeft);
  panFormaPgto.SetWidth(560);
  rbtSemFormaPgto.SetCaption("Sem Forma de Pagamento");
  rbtSemFormaPgto.SetBounds(8, 16, 180, 17);
  rbtFixo.SetCaption("Pagamento Fixo no Dia");
  rbtFixo.SetBounds(8, 40, 162, 17);
  speDiaFixo.SetBounds(172, 38, 44, 21);
  speParcela.SetBounds(252, 38, 44, 21);
  for (TSpinEdit* spin : {&speDiaFixo, &speParcela}) {
    spin->SetMinValue(1);
    spin->SetMaxLength(2);
  }
  speDiaFixo.SetMaxValue(31);
  speParcela.SetMaxValue(99);
  chbProxMes.SetCaption("1ª Próximo Mês)");
  chbProxMes.SetBounds(374, 40, 130, 17);
  rbtFormaPgto.SetCaption("Forma de Pagamento");
  rbtFormaPgto.SetBounds(8, 64, 180, 17);
  grbParcAuto.SetCaption("Parcelamento Automático");
  grbParcAuto.SetBounds(8, 88, 300, 64);
  edtQtParc.SetBounds(8, 32, 60, 21);
  edtPrazo.SetBounds(80, 32, 60, 21);
  sbtParcAuto.SetCaption("Gerar Parcelas");
  sbtParcAuto.SetHint("Gerar Parcelas");
  sbtParcAuto.SetBounds(160, 30, 100, 24);
}

void TfrmConfVrContrat::BuildPlan() {
  for (TClientDataSet* data : {&cdsFormaPgto, &cdsAuxFormaPgto}) {
    data->AddField("DTVENCIMENTO", FieldType::DateTime);
    data->AddField("CDFILIAL", FieldType::String, 4);
    data->AddField("NRORCAEVENTO", FieldType::String, 10);
    data->AddField("CDCLIENTE", FieldType::String, 21);
    data->AddField("VRPARCELA", FieldType::Float);
    // The contract of the installment, hidden: a client may hold two.
    data->AddField("NRSEQORCAEVE", FieldType::FixedString, 2).SetVisible(false);
    data->AddField("NRENDCLIORCEVE", FieldType::String, 10).SetVisible(false);
  }
  cdsFormaPgto.FieldByName("DTVENCIMENTO").SetDisplayLabel("Vencimento");
  cdsFormaPgto.FieldByName("VRPARCELA").SetDisplayLabel("Valor").SetDisplayFormat("#,##0.00").SetEditFormat("0.00");
  dbgFormaPgto.SetAlign(alClient);
  dbgFormaPgto.SetColor(clInfoBk);
  TFont bold = dbgFormaPgto.TitleFont();
  bold.bold = true;
  dbgFormaPgto.SetTitleFont(bold);
  dbgFormaPgto.SetDataSource(&dtsFormaPgto);
  dbgFormaPgto.AddColumn("DTVENCIMENTO").SetWidth(92);
  dbgFormaPgto.AddColumn("VRPARCELA").SetWidth(84);
}

void TfrmConfVrContrat::Wire() {
  OnActivate = [this](TComponent* s) { FormActivate(s); };
  cdsVrContratantes.AfterScroll = [this](TClientDataSet& d) { cdsVrContratantesAfterScroll(d); };
  cdsVrContratantes.BeforePost = [this](TClientDataSet& d) { cdsVrContratantesBeforePost(d); };
  rbtSemFormaPgto.OnClick = [this](TComponent* s) { rbtSemFormaPgtoClick(s); };
  rbtFixo.OnClick = [this](TComponent* s) { rbtFixoClick(s); };
  rbtFormaPgto.OnClick = [this](TComponent* s) { rbtFormaPgtoClick(s); };
  speDiaFixo.OnChange = [this](TComponent* s) { speDiaFixoChange(s); };
  speParcela.OnChange = [this](TComponent* s) { speDiaFixoChange(s); };
  chbProxMes.OnClick = [this](TComponent* s) { chbProxMesClick(s); };
  dtsFormaPgto.OnStateChange = [this](TDataSource& s) { dtsFormaPgtoStateChange(s); };
  // A party being edited must be confirmable at once, not only after the
  // focus moves on.
  dtsPadrao.OnStateChange = [this](TDataSource&) { HabilitaBotoes(); };
  cdsFormaPgto.OnNewRecord = [this](TClientDataSet& d) { cdsFormaPgtoNewRecord(d); };
  dbgContratantes.OnEnter = [this](TComponent*) { HabilitaBotoes(); };
  dbgContratantes.OnColEnter = [this](TComponent*) { HabilitaBotoes(); };
  dbgFormaPgto.OnEnter = [this](TComponent*) { HabilitaBotoes(); };
  dbgContratantes.OnKeyPress = [this](TComponent* s, char32_t& k) { dbgContratantesKeyPress(s, k); };
  dbgContratantes.OnKeyDown = [this](TComponent* s, int& k, TShiftState sh) { dbgContratantesKeyDown(s, k, sh); };
  dbgContratantes.OnTitleClick = [this](TColumn& c) { dbgContratantesTitleClick(c); };
  dbgContratantes.OnDrawColumnCell = [this](TDBGrid&, const TRect&, int, TColumn& column, TGridDrawState state,
                                            TCellStyle& style) { dbgContratantesDrawColumnCell(column, state, style); };
  dbgFormaPgto.OnKeyPress = [this](TComponent* s, char32_t& k) { dbgFormaPgtoKeyPress(s, k); };
  edtQtParc.OnKeyPress = [](TComponent*, char32_t& k) { k = dialogs::DigitsOnly(k); };
  edtPrazo.OnKeyPress = [](TComponent*, char32_t& k) { k = dialogs::DigitsOnly(k); };
  cdsFormaPgto.BeforeEdit = [this](TClientDataSet&) { dialogs::TakeSnapshot(cdsFormaPgto, cdsAuxFormaPgto); };
  cdsFormaPgto.BeforeInsert = [this](TClientDataSet&) { dialogs::TakeSnapshot(cdsFormaPgto, cdsAuxFormaPgto); };
  cdsFormaPgto.FieldByName("DTVENCIMENTO").OnSetText = [](TField& f, const std::string& t) {
    dialogs::SetDueDateText(f, t);  // cdsFormaPgtoDTVENCIMENTOSetText
  };
  cdsVrContratantes.FieldByName("GERACTPAGAR").OnGetText = [this](TField& f, std::string& text, bool) {
    const std::string code = f.AsString();
    text = code == "CNTRECEBER" ? msgPadrao.Msg("Conta_Receber")
           : code == "CNTPAGAR" ? msgPadrao.Msg("Conta_Pagar")
                                : std::string();
  };
  auto registration = [this](const char* typeField) {
    return [this, typeField](TField& f, std::string& text, bool) {
      text = FormatMaskText(PictPess(cdsVrContratantes.FieldByName(typeField).AsString()), f.AsString());
    };
  };
  cdsVrContratantes.FieldByName("NRINSJURCLIE").OnGetText = registration("IDTPIJURCLIE");
  cdsVrContratantes.FieldByName("NRINSJURCLISUB").OnGetText = registration("IDTPIJURCLIESUB");
  sbtParcAuto.OnClick = [this](TComponent*) { InsereParcelas(); };
}
