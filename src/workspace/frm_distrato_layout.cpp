// The screen's controls and where they sit: filter panel, command panel with
// the rescission type, settlement data and legends, the list, and the two
// account grids below it.

#include "workspace/display_texts.h"
#include "workspace/frm_distrato.h"
#include "lib/command_bar.h"
#include "workspace/catalogue.h"
#include "workspace/dataset_binding.h"

namespace {

template <class T>
T& Placed(T& control, int left, int top, int width, int height) {
  control.SetBounds(left, top, width, height);
  return control;
}

TLabel& BoldLabel(TLabel& label, const std::string& caption, int left, int top) {
  label.SetCaption(caption);
  label.SetFontBold(true);
  label.SetBounds(left, top, static_cast<int>(caption.size()) * 7, 13);
  return label;
}

}  // namespace

TfrmDistrato::TfrmDistrato()
    : TfrmPadraoGrid("DXR10900"),
      panFiltro(Add<TPanel>("panFiltro", &scbFolhaDados)),
      Label1(Add<TLabel>("Label1", &panFiltro)),
      medCdFilial(Add<TMaskEdit>("medCdFilial", &panFiltro)),
      btnPesquisa(Add<TBtnPesquisa>("btnPesquisa", &panFiltro)),
      edtNmFilial(Add<TEdit>("edtNmFilial", &panFiltro)),
      Label2(Add<TLabel>("Label2", &panFiltro)),
      edtOrcamento(Add<TEdit>("edtOrcamento", &panFiltro)),
      btnOrcamento(Add<TBtnPesquisa>("btnOrcamento", &panFiltro)),
      Label3(Add<TLabel>("Label3", &panFiltro)),
      lblNmCliente(Add<TLabel>("lblNmCliente", &panFiltro)),
      Label4(Add<TLabel>("Label4", &panFiltro)),
      nedVrTotalOrca(Add<TNumberEdit>("nedVrTotalOrca", &panFiltro)),
      panCancelarContrat(Add<TPanel>("panCancelarContrat", &scbFolhaDados)),
      grbTipoDistrato(Add<TGroupBox>("grbTipoDistrato", &panCancelarContrat)),
      rbtParcial(Add<TRadioButton>("rbtParcial", &grbTipoDistrato)),
      rbtTotal(Add<TRadioButton>("rbtTotal", &grbTipoDistrato)),
      sbtCancContrat(Add<TButtonFlat>("sbtCancContrat", &panCancelarContrat)),
      sbtDistrato(Add<TButtonFlat>("sbtDistrato", &panCancelarContrat)),
      grbBaixa(Add<TGroupBox>("grbBaixa", &panCancelarContrat)),
      lblCCorr(Add<TLabel>("lblCCorr", &grbBaixa)),
      medCdReduCont(Add<TMaskEdit>("medCdReduCont", &grbBaixa)),
      btpCCorr(Add<TBtnPesquisa>("btpCCorr", &grbBaixa)),
      edtCdBanco(Add<TEdit>("edtCdBanco", &grbBaixa)),
      edtAgencia(Add<TEdit>("edtAgencia", &grbBaixa)),
      edtContCorr(Add<TEdit>("edtContCorr", &grbBaixa)),
      Panel8(Add<TPanel>("Panel8", &panCancelarContrat)),
      Label12(Add<TLabel>("Label12", &panCancelarContrat)),
      lblProcesso(Add<TLabel>("lblProcesso", &panCancelarContrat)),
      Panel7(Add<TPanel>("Panel7", &panCancelarContrat)),
      Label5(Add<TLabel>("Label5", &panCancelarContrat)),
      GroupBox1(Add<TGroupBox>("GroupBox1", &panCancelarContrat)),
      Splitter1(Add<TSplitter>("Splitter1", &scbFolhaDados)),
      Panel5(Add<TPanel>("Panel5", &scbFolhaDados)),
      Panel6(Add<TPanel>("Panel6", &Panel5)),
      lblContasReceber(Add<TLabel>("lblContasReceber", &Panel6)),
      lblContasPagar(Add<TLabel>("lblContasPagar", &Panel6)),
      dbgContasGeradas(Add<TDBGrid>("dbgContasGeradas", &Panel5)),
      Splitter2(Add<TSplitter>("Splitter2", &Panel5)),
      dbgContaPagar(Add<TDBGrid>("dbgContaPagar", &Panel5)),
      sbtConsolidaDistrato(AddToolButton(*this, panMenu, "sbtConsolidaDistrato", "Confirma Distrato", "consolida")),
      sbtCancelaDistrato(AddToolButton(*this, panMenu, "sbtCancelaDistrato", "Cancelar Distrato", "cancela")),
      mnuLinha4(Add<TMenuItem>("mnuLinha4")),
      mnuCancContrat(Add<TMenuItem>("mnuCancContrat")),
      mnuDistrato(Add<TMenuItem>("mnuDistrato")),
      mnuConsolidaDistrato(Add<TMenuItem>("mnuConsolidaDistrato")),
      mnuCancelaDistrato(Add<TMenuItem>("mnuCancelaDistrato")),
      mnuTermoDistrato(Add<TMenuItem>("mnuTermoDistrato")),
      netDistrato(Own<TNetConnection>("netDistrato")),
      qryFilial(Own<TADOIBQuery>("qryFilial", "qryFilial")),
      qryPesqFilial(Own<TADOIBQuery>("qryPesqFilial", "qryPesqFilial")),
      cdsFilial(Own<TClientDataSet>("cdsFilial", "cdsFilial")),
      cdsPesqOrca(Own<TClientDataSet>("cdsPesqOrca", "cdsPesqOrca")),
      cdsVdOrca(Own<TClientDataSet>("cdsVdOrca", "cdsVdOrca")),
      cdsDadosComp(Own<TClientDataSet>("cdsDadosComp", "cdsDadosComp")),
      cdsEmpresaRelac(Own<TClientDataSet>("cdsEmpresaRelac", "cdsEmpresaRelac")),
      cdsContCorr(Own<TClientDataSet>("cdsContCorr", "cdsContCorr")),
      cdsVdContCorr(Own<TClientDataSet>("cdsVdContCorr", "cdsVdContCorr")),
      cdsContratante(Own<TClientDataSet>("cdsContratante", "cdsContratante")),
      cdsContas(Own<TClientDataSet>("cdsContas", "cdsContas")),
      cdsContasPagar(Own<TClientDataSet>("cdsContasPagar", "cdsContasPagar")),
      cdsContSub(Own<TClientDataSet>("cdsContSub", "cdsContSub")),
      cdsVdContratante(Own<TClientDataSet>("cdsVdContratante", "cdsVdContratante")),
      cdsValores(Own<TClientDataSet>("cdsValores", "cdsValores")),
      cdsNewContrRepete(Own<TClientDataSet>("cdsNewContrRepete", "cdsNewContrRepete")),
      cdsErroProd(Own<TClientDataSet>("cdsErroProd", "cdsErroProd")),
      dtsPesqFilial(Own<TDataSource>("dtsPesqFilial", "dtsPesqFilial", &cdsFilial)),
      dtsPesqOrca(Own<TDataSource>("dtsPesqOrca", "dtsPesqOrca", &cdsPesqOrca)),
      dtsVdOrca(Own<TDataSource>("dtsVdOrca", "dtsVdOrca", &cdsVdOrca)),
      dtsDadosComp(Own<TDataSource>("dtsDadosComp", "dtsDadosComp", &cdsDadosComp)),
      dtsContCorr(Own<TDataSource>("dtsContCorr", "dtsContCorr", &cdsContCorr)),
      dtsContratante(Own<TDataSource>("dtsContratante", "dtsContratante", &cdsContratante)),
      dtsContas(Own<TDataSource>("dtsContas", "dtsContas", &cdsContas)),
      dtsContasPagar(Own<TDataSource>("dtsContasPagar", "dtsContasPagar", &cdsContasPagar)),
      dtsContSub(Own<TDataSource>("dtsContSub", "dtsContSub", &cdsContSub)),
      dtsVdContratante(Own<TDataSource>("dtsVdContratante", "dtsVdContratante", &cdsVdContratante)),
      dtsValores(Own<TDataSource>("dtsValores", "dtsValores", &cdsValores)) {
  SetName("frmDistrato");
  SetCaption("Distrato Comercial");
  SetBounds(155, 45, 1068, 634);
  msgPadrao.Messages = workspace::MainScreenMessages();

  BuildFilterPanel();
  BuildCommandPanel();
  BuildLegends();
  BuildAccountViews();
  BuildToolBarAndMenu();
  DeclareDatasets();
  BindGrids();

  // Top to bottom: filter, commands, list, splitter, accounts. The list came
  // with the base form, so it is placed again after the two panels.
  for (TControl* c : std::initializer_list<TControl*>{&dbgPadrao, &Splitter1, &Panel5}) {
    c->SetParent(nullptr);
    c->SetParent(&scbFolhaDados);
  }
  dbgPadrao.SetAlign(alTop);
  dbgPadrao.SetHeight(148);
  Splitter1.SetAlign(alTop);
  Splitter1.SetHeight(3);
  Panel5.SetAlign(alClient);

  WireFilterHandlers();
  WireListHandlers();
  WireDisplayTexts();
  WireDrawing();

  netDistrato.SetServerName("DXR10900.RDMDISTRATO");
  netDistrato.SetThrowException(false);
  netDistrato.BeforeConnect = [this](TNetConnection& c) { netDistratoBeforeConnect(c); };
  OnActivate = [this](TComponent* s) { FormActivate(s); };

  if (DistratoOperationHooks().Attach) DistratoOperationHooks().Attach(*this);
}

void TfrmDistrato::BuildFilterPanel() {
  panFiltro.SetAlign(alTop);
  panFiltro.SetHeight(61);
  panFiltro.SetBevelOuter(bvNone);

  BoldLabel(Label1, "Filial", 8, 6);
  Placed(medCdFilial, 8, 22, 49, 21);
  medCdFilial.SetEditMask(">aaaa;0; ");
  medCdFilial.SetMaxLength(4);
  medCdFilial.SetColor(clInfoBk);
  medCdFilial.SetTabStop(true);
  medCdFilial.SetTabOrder(0);
  Placed(btnPesquisa, 59, 22, 23, 22);
  btnPesquisa.SetHint("Pesquisar");
  btnPesquisa.SetAssociate(&medCdFilial);
  btnPesquisa.SetTitle("Filial");
  btnPesquisa.SetDataSource(&dtsPesqFilial);
  btnPesquisa.SetEmptyError("Não há filial cadastrada.");
  Placed(edtNmFilial, 84, 22, 230, 21);
  edtNmFilial.SetEnabled(false);
  edtNmFilial.SetColor(clBtnFace);
  edtNmFilial.SetTabStop(false);

  BoldLabel(Label2, "Orçamento", 322, 6);
  Placed(edtOrcamento, 322, 22, 90, 21);
  edtOrcamento.SetCharCase(ecUpperCase);
  edtOrcamento.SetMaxLength(10);
  edtOrcamento.SetColor(clInfoBk);
  edtOrcamento.SetTabStop(true);
  edtOrcamento.SetTabOrder(1);
  Placed(btnOrcamento, 414, 22, 23, 22);
  btnOrcamento.SetHint("Pesquisar");
  btnOrcamento.SetAssociate(&edtOrcamento);
  btnOrcamento.SetTitle("Orçamento");
  btnOrcamento.SetDataSource(&dtsPesqOrca);
  btnOrcamento.SetEmptyError("Não há orçamento cadastrado.");

  BoldLabel(Label3, "Cliente", 446, 6);
  Placed(lblNmCliente, 446, 26, 360, 13);
  BoldLabel(Label4, "Vr.Total Geral", 820, 6);
  Placed(nedVrTotalOrca, 820, 22, 120, 21);
  nedVrTotalOrca.SetReadOnly(true);
  nedVrTotalOrca.SetTabStop(false);
  nedVrTotalOrca.SetDecimals(2);
  nedVrTotalOrca.SetNumberFormat("#,#00.00");
  nedVrTotalOrca.SetThousands(false);
  nedVrTotalOrca.SetCurrency(false);
  nedVrTotalOrca.SetColor(clBtnFace);
}

void TfrmDistrato::BuildCommandPanel() {
  panCancelarContrat.SetAlign(alTop);
  panCancelarContrat.SetHeight(155);
  panCancelarContrat.SetBevelOuter(bvNone);

  Placed(grbTipoDistrato, 8, 4, 160, 62);
  grbTipoDistrato.SetCaption(std::string(workspace::kTipoDistratoCaption));
  grbTipoDistrato.SetFontBold(true);
  Placed(rbtParcial, 12, 18, 113, 17);
  rbtParcial.SetCaption(std::string(workspace::kParcialCaption));
  rbtParcial.SetChecked(true);  // before its handler is wired: the design-time choice
  Placed(rbtTotal, 12, 38, 113, 17);
  rbtTotal.SetCaption(std::string(workspace::kTotalCaption));

  for (TButtonFlat* big : {&sbtCancContrat, &sbtDistrato}) big->SetFontBold(true);
  // Left: the type and the list's legends; middle: the commands with the
  // settlement data under them; right: the accounts' legends.
  Placed(sbtCancContrat, 290, 8, 181, 42);
  sbtCancContrat.SetCaption("Troca de Titularidade");
  sbtCancContrat.SetHint("Cancelar Contratante");
  sbtCancContrat.SetShowHint(true);
  Placed(sbtDistrato, 476, 8, 181, 42);
  sbtDistrato.SetCaption("Distrato Comercial");
  sbtDistrato.SetHint("Distrato Comercial");
  sbtDistrato.SetShowHint(true);

  Placed(grbBaixa, 290, 58, 367, 62);
  grbBaixa.SetCaption("Dados Baixa");
  grbBaixa.SetEnabled(false);  // enabled once the filter has loaded a budget
  BoldLabel(lblCCorr, "Conta Corrente", 8, 16);
  Placed(medCdReduCont, 8, 32, 40, 21);
  medCdReduCont.SetEditMask("999;0; ");
  medCdReduCont.SetMaxLength(3);
  medCdReduCont.SetColor(clInfoBk);
  medCdReduCont.SetTabStop(false);
  Placed(btpCCorr, 50, 32, 23, 22);
  btpCCorr.SetHint("Pesquisar");
  btpCCorr.SetAssociate(&medCdReduCont);
  btpCCorr.SetTitle("Conta Corrente");
  btpCCorr.SetDataSource(&dtsContCorr);
  btpCCorr.SetEmptyError("Não há conta corrente cadastrada para a empresa informada.");
  Placed(edtCdBanco, 76, 32, 40, 21);
  Placed(edtAgencia, 118, 32, 60, 21);
  Placed(edtContCorr, 180, 32, 176, 21);
  for (TEdit* e : {&edtCdBanco, &edtAgencia, &edtContCorr}) {
    e->SetEnabled(false);
    e->SetTabStop(false);
  }
}

void TfrmDistrato::BuildLegends() {
  using workspace::kAccountLegends;
  using workspace::kPartyLegends;
  Placed(Panel8, 8, 76, 13, 13);
  Panel8.SetColor(workspace::ToColor(kPartyLegends[0].colour));
  Label12.SetCaption(std::string(kPartyLegends[0].text));
  Placed(Label12, 26, 76, 256, 13);
  // The current party's rescission type, beside the type choice.
  Placed(lblProcesso, 176, 44, 100, 13);
  Placed(Panel7, 8, 96, 13, 13);
  Panel7.SetColor(workspace::ToColor(kPartyLegends[1].colour));
  Label5.SetCaption(std::string(kPartyLegends[1].text));
  Placed(Label5, 26, 96, 256, 13);

  Placed(GroupBox1, 666, 2, 300, 148);
  int top = 16;
  int n = 1;
  for (const workspace::Legend& legend : kAccountLegends) {
    auto& square = Add<TPanel>("panLegenda" + std::to_string(n), &GroupBox1);
    Placed(square, 8, top, 13, 13);
    square.SetColor(legend.colour == workspace::kWindowText ? clWindowText : workspace::ToColor(legend.colour));
    auto& text = Add<TLabel>("lblLegenda" + std::to_string(n), &GroupBox1);
    Placed(text, 26, top, 260, 13);
    text.SetCaption(std::string(legend.text));
    top += 21;
    ++n;
  }
}

void TfrmDistrato::BuildAccountViews() {
  Panel6.SetAlign(alTop);
  Panel6.SetHeight(18);
  Panel6.SetBevelOuter(bvNone);
  BoldLabel(lblContasReceber, std::string(workspace::kContasReceberHeading), 4, 2);
  BoldLabel(lblContasPagar, std::string(workspace::kContasPagarHeading), 478, 2);
  dbgContasGeradas.SetAlign(alLeft);
  dbgContasGeradas.SetWidth(530);  // room for every column as the demo fills it
  dbgContasGeradas.SetTabStop(true);
  Splitter2.SetAlign(alLeft);
  Splitter2.SetWidth(3);
  dbgContaPagar.SetAlign(alClient);
  dbgContaPagar.SetTabStop(true);
}

void TfrmDistrato::BuildToolBarAndMenu() {
  sbtImprimir.SetEnabled(false);  // nothing on this screen prints

  // The screen's commands go before the base menu's closing separator.
  int at = mnuManutencao.IndexOf(mnuLinha1);
  if (at < 0) at = mnuManutencao.Count();
  struct Entry {
    TMenuItem& item;
    const char* caption;
    TShortCut shortcut;
    TControl* button;
  };
  const Entry entries[] = {
      {mnuLinha4, "-", scNone, nullptr},
      {mnuCancContrat, "Substituir C&ontratante", scCtrl | 'N', &sbtCancContrat},
      {mnuDistrato, "&Distrato", scCtrl | 'D', &sbtDistrato},
      {mnuConsolidaDistrato, "Conso&lida Distrato", scCtrl | 'L', &sbtConsolidaDistrato},
      {mnuCancelaDistrato, "Cancel&a Distrato", scCtrl | 'T', &sbtCancelaDistrato},
      // The rescission statement has no button: printing is a menu matter.
      {mnuTermoDistrato, "Termo de Distrato", scCtrl | 'K', nullptr},
  };
  for (const Entry& e : entries) {
    e.item.SetCaption(e.caption);
    e.item.SetShortCut(e.shortcut);
    mnuManutencao.Insert(at++, e.item);
    if (e.button) PairCommand(*e.button, e.item);
  }

  sbtDistrato.OnClick = [this](TComponent* s) { sbtDistratoClick(s); };
  sbtCancContrat.OnClick = [this](TComponent* s) { sbtCancContratClick(s); };
  sbtConsolidaDistrato.OnClick = [this](TComponent* s) { sbtConsolidaDistratoClick(s); };
  sbtCancelaDistrato.OnClick = [this](TComponent* s) { sbtCancelaDistratoClick(s); };
  mnuTermoDistrato.OnClick = [this](TComponent* s) { mnuTermoDistratoClick(s); };
  mnuTermoDistrato.SetEnabled(false);
}
