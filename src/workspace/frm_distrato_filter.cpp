// The filter (branch and budget), the budget's company and complementary
// data, and the settlement bank account of grbBaixa.

#include "contracts/workspace_methods.h"
#include "lib/consiste.h"
#include "lib/mens_erro.h"
#include "lib/showavi.h"
#include "ui/application.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/field_tables.h"
#include "workspace/frm_distrato.h"

using workspace::FilterCheck;

namespace {

std::string Text(const TClientDataSet& data, const char* field) { return data.FieldByName(field).AsString(); }

// Runs a check and, whatever fails in it, puts the focus back on its field
// before the failure goes on.
template <class Body>
void Refocusing(TWinControl& control, Body body, bool enableFirst = false) {
  try {
    body();
  } catch (...) {
    if (enableFirst && !control.Enabled()) control.SetEnabled(true);
    control.SetFocus();
    throw;
  }
}

}  // namespace

TWinControl& TfrmDistrato::FilterControl(workspace::FilterControl which) {
  switch (which) {
    case workspace::FilterControl::medCdFilial: return medCdFilial;
    case workspace::FilterControl::edtOrcamento: return edtOrcamento;
    case workspace::FilterControl::medCdReduCont: return medCdReduCont;
  }
  return medCdFilial;
}

void TfrmDistrato::Refuse(const FilterCheck& check) {
  TWinControl& control = FilterControl(check.focus);
  if (check.enableBeforeFocus && !control.Enabled()) control.SetEnabled(true);
  control.SetFocus();
  MensErro(msgPadrao.Msg(check.messageKey), true);
}

void TfrmDistrato::WireFilterHandlers() {
  panFiltro.OnEnter = [this](TComponent* s) { panFiltroEnter(s); };
  panFiltro.OnExit = [this](TComponent* s) { panFiltroExit(s); };
  medCdFilial.OnChange = [this](TComponent* s) { medCdFilialChange(s); };
  medCdFilial.OnExit = [this](TComponent* s) { medCdFilialExit(s); };
  btnPesquisa.OnBeforePesq = [this](TComponent*, bool&) { LoadBranchList(); };
  btnPesquisa.OnAfterPesq = [this](TComponent* s) { btnPesquisaAfterPesq(s); };
  btnOrcamento.OnBeforePesq = [this](TComponent* s, bool& proceed) { btnOrcamentoBeforePesq(s, proceed); };
  btnOrcamento.OnAfterPesq = [this](TComponent* s) { btnOrcamentoAfterPesq(s); };
  edtOrcamento.OnChange = [this](TComponent* s) { edtOrcamentoChange(s); };
  edtOrcamento.OnExit = [this](TComponent* s) { edtOrcamentoExit(s); };
  medCdReduCont.OnChange = [this](TComponent* s) { medCdReduContChange(s); };
  medCdReduCont.OnExit = [this](TComponent* s) { medCdReduContExit(s); };
  btpCCorr.OnBeforePesq = [this](TComponent* s, bool& proceed) { btpCCorrBeforePesq(s, proceed); };
  btpCCorr.OnAfterPesq = [this](TComponent* s) { btpCCorrAfterPesq(s); };
}

void TfrmDistrato::medCdFilialChange(TComponent* /*sender*/) {
  // A new branch invalidates the budget.
  edtNmFilial.Clear();
  edtOrcamento.Clear();
}

void TfrmDistrato::medCdFilialExit(TComponent* /*sender*/) { Vd_Filial(true); }

void TfrmDistrato::Vd_Filial(bool reportEmpty) {
  Refocusing(medCdFilial, [&] {
    const FilterCheck typed = workspace::CheckBranchTyped(medCdFilial.Text(), reportEmpty);
    if (typed.outcome == FilterCheck::Outcome::Skip) return;
    if (typed.outcome == FilterCheck::Outcome::Refuse) Refuse(typed);
    medCdFilial.SetText(Ajusta(medCdFilial.Text(), workspace::kBranchWidth));
    qryPesqFilial.Close();
    qryPesqFilial.ParamByName(std::string(workspace::kQryPesqFilialParam)).SetAsString(medCdFilial.Text());
    qryPesqFilial.Open();
    const FilterCheck found = workspace::CheckBranchFound(!qryPesqFilial.IsEmpty());
    if (found.outcome == FilterCheck::Outcome::Refuse) Refuse(found);
    medCdFilial.SetText(qryPesqFilial.FieldByName("CDFILIAL").AsString());
    edtNmFilial.SetText(qryPesqFilial.FieldByName("NMFILIAL").AsString());
  });
}

// The branch search lists qryFilial, read once from the host's database the
// first time the list is asked for.
void TfrmDistrato::LoadBranchList() {
  if (cdsFilial.Active()) return;
  if (!qryFilial.Active()) qryFilial.Open();
  cdsFilial.SetData(qryFilial.Data());
}

void TfrmDistrato::btnPesquisaAfterPesq(TComponent* /*sender*/) {
  medCdFilial.SetText(Text(cdsFilial, "CDFILIAL"));
  edtNmFilial.SetText(Text(cdsFilial, "NMFILIAL"));
}

void TfrmDistrato::btnOrcamentoBeforePesq(TComponent* /*sender*/, bool& /*proceed*/) {
  cdsPesqOrca.SetData(contracts::GetPesqOrca(netDistrato, {.filial = medCdFilial.Text()}));
}

void TfrmDistrato::btnOrcamentoAfterPesq(TComponent* /*sender*/) {
  edtOrcamento.SetText(Text(cdsPesqOrca, "NRORCAEVENTO"));
}

void TfrmDistrato::edtOrcamentoChange(TComponent* /*sender*/) { lblNmCliente.SetCaption(""); }

void TfrmDistrato::edtOrcamentoExit(TComponent* /*sender*/) { Vd_Orcamento(false); }

void TfrmDistrato::Vd_Orcamento(bool reportEmpty) {
  Refocusing(edtOrcamento, [&] {
    const FilterCheck typed = workspace::CheckBudgetTyped(edtOrcamento.Text(), reportEmpty);
    if (typed.outcome == FilterCheck::Outcome::Skip) return;
    if (typed.outcome == FilterCheck::Outcome::Refuse) Refuse(typed);
    edtOrcamento.SetText(Ajusta(edtOrcamento.Text(), workspace::kBudgetWidth));
    cdsVdOrca.SetData(contracts::GetVdOrca(netDistrato, {.filial = medCdFilial.Text(), .orcamento = edtOrcamento.Text()}));
    const FilterCheck found = workspace::CheckBudgetFound(!cdsVdOrca.IsEmpty());
    if (found.outcome == FilterCheck::Outcome::Refuse) Refuse(found);
  });
}

void TfrmDistrato::EmpresaRelacionada() {
  cdsEmpresaRelac.SetData(contracts::GetEmpresaRelac(netDistrato, {.filial = medCdFilial.Text(),
                                                                    .orcamento = edtOrcamento.Text(),
                                                                    .sequencial = Text(cdsContratante, "NRSEQORCAEVE")}));
  stCdEmpresa = Text(cdsEmpresaRelac, "CDEMPRESA").substr(0, 2);
}

void TfrmDistrato::DadosComplementares() {
  try {
    ActiveShowAvi(Application().MainForm(), 1);
    const contracts::DadosCompResult dados =
        contracts::DadosComp(netDistrato, {.filial = medCdFilial.Text(), .orcamento = edtOrcamento.Text(), .sequencial = "seq"});
    cdsDadosComp.SetData(dados.dados);
    nedVrTotalOrca.SetText(dados.total);
    lblNmCliente.SetCaption(Text(cdsDadosComp, "NMFANTCLIE"));
    DeactiveShowAvi();
  } catch (const std::exception&) {
    DeactiveShowAvi();
    // The list still loads without them; what an earlier budget left here
    // must not stand for this one (its fixed-cost flag steers the commands).
    cdsDadosComp.Close();
  }
}

void TfrmDistrato::medCdReduContChange(TComponent* /*sender*/) {
  for (TEdit* e : {&edtCdBanco, &edtAgencia, &edtContCorr}) e->Clear();
}

void TfrmDistrato::medCdReduContExit(TComponent* /*sender*/) { Vd_ContaCorrente(false); }

void TfrmDistrato::Vd_ContaCorrente(bool reportEmpty) {
  Refocusing(
      medCdReduCont,
      [&] {
        const FilterCheck typed =
            workspace::CheckBankAccountTyped(medCdReduCont.Text(), reportEmpty, TipoDistrato(), inCtBaixadas);
        if (typed.outcome == FilterCheck::Outcome::Skip) return;
        if (typed.outcome == FilterCheck::Outcome::Refuse) Refuse(typed);
        medCdReduCont.SetText(Ajusta(medCdReduCont.Text(), workspace::kBankAccountWidth));
        cdsVdContCorr.SetData(contracts::GetContCorr(netDistrato, {.empresa = stCdEmpresa, .codigo = medCdReduCont.Text(), .modo = "VD"}));
        const FilterCheck found = workspace::CheckBankAccountFound(!cdsVdContCorr.IsEmpty());
        if (found.outcome == FilterCheck::Outcome::Refuse) Refuse(found);
        // The code first: its change clears the fields that follow.
        medCdReduCont.SetText(Text(cdsVdContCorr, "CDREDUCONT"));
        edtCdBanco.SetText(Text(cdsVdContCorr, "CDBANCO"));
        edtAgencia.SetText(Text(cdsVdContCorr, "CDAGENCIA"));
        edtContCorr.SetText(Text(cdsVdContCorr, "CDCONTCORR"));
      },
      true);
}

void TfrmDistrato::btpCCorrBeforePesq(TComponent* /*sender*/, bool& /*proceed*/) {
  cdsContCorr.SetData(contracts::GetContCorr(netDistrato, {.empresa = stCdEmpresa, .codigo = medCdReduCont.Text(), .modo = ""}));
}

void TfrmDistrato::btpCCorrAfterPesq(TComponent* /*sender*/) {
  medCdReduCont.SetText(Text(cdsContCorr, "CDREDUCONT"));
  edtCdBanco.SetText(Text(cdsContCorr, "CDBANCO"));
  edtAgencia.SetText(Text(cdsContCorr, "CDAGENCIA"));
  edtContCorr.SetText(Text(cdsContCorr, "CDCONTCORR"));
  medCdReduCont.SetFocus();
}
