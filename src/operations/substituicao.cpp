#include "operations/substituicao.h"

#include <string>
#include <vector>

#include "contracts/substitution_methods.h"
#include "dialogs/cli_dxr10906.h"
#include "lib/consiste.h"
#include "lib/child_enabled.h"
#include "lib/corvane.h"
#include "lib/grid_text.h"
#include "lib/mens_erro.h"
#include "lib/pesquisa.h"
#include "lib/showavi.h"
#include "operations/operation_guard.h"
#include "operations/substitution_rules.h"
#include "ui/application.h"
#include "ui/ui_service.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace operations {

namespace {

const char* const kSubstituteField = "NRINSJURCLIESUB";

std::string Party(const TfrmDistrato& f, const char* field) { return f.cdsContratante.FieldByName(field).AsString(); }
void SetParty(TfrmDistrato& f, const char* field, const std::string& value) {
  f.cdsContratante.FieldByName(field).SetAsString(value);
}

SubstitutionParty ModeOf(const TfrmDistrato& f) {
  return {Party(f, "IDCONTRESPCOTAORCA"), Party(f, "IDTRANSFCOTAREALI"), !f.cdsNewContrRepete.IsEmpty(),
          Party(f, "CDCLICONTSUBORE")};
}

// The substitute column, or nothing when the grid lacks it.
TColumn* SubstituteColumn(TfrmDistrato& f) {
  const int col = IndiceCol(f.dbgPadrao, kSubstituteField);
  return col >= 0 ? &f.dbgPadrao.Columns(col) : nullptr;
}

void SetSubstituteEditable(TfrmDistrato& f, bool editable) {
  if (TColumn* c = SubstituteColumn(f)) c->SetReadOnly(!editable);
}

void FocusSubstituteColumn(TfrmDistrato& f) {
  f.dbgPadrao.SetSelectedField(&f.cdsContratante.FieldByName(kSubstituteField));
  f.dbgPadrao.SetFocus();
}

void EnsureEditing(TfrmDistrato& f) {
  if (f.cdsContratante.State() != dsEdit && f.cdsContratante.State() != dsInsert) f.cdsContratante.Edit();
}

void ClearBankAccountEdits(TfrmDistrato& f) {
  f.medCdReduCont.SetText("");
  f.edtCdBanco.SetText("");
  f.edtAgencia.SetText("");
  f.edtContCorr.SetText("");
}

std::vector<Receivable> OpenAccounts(TfrmDistrato& f) {
  std::vector<Receivable> rows;
  f.cdsContas.First();
  while (!f.cdsContas.Eof()) {
    rows.push_back({f.cdsContas.FieldByName("IDSTATREC").AsString(), f.cdsContas.FieldByName("VRATUAREC").AsFloat()});
    f.cdsContas.Next();
  }
  return rows;
}

// The quota holder's quotas, guests and open value, as the dialog confirmed
// them; a dialog left without a value is told and ends nothing.
void TransferQuotas(TfrmDistrato& f) {
  const double open = OpenReceivablesSum(OpenAccounts(f));
  // Nothing runs while the user answers: no animation over the dialog.
  DeactiveShowAvi();
  const Variant result = CriaTrocaTitularidade(f, Party(f, "NMFANTCLIE"), Party(f, "NMFANTSUB"), open);
  if (!(result[0].asDouble() > 0)) {
    MensErro(f.msgPadrao.Msg("TROCA_TITU_N_REALI"), false);
    return;
  }
  ActiveShowAvi(Application().MainForm(), 1);
  contracts::TransfCotas(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                         .orcamento = f.edtOrcamento.Text(),
                                         .CDCLIENTE = Party(f, "CDCLIENTE"),
                                         .CDCLICONTSUBORE = Party(f, "CDCLICONTSUBORE"),
                                         .operador = Operador(),
                                         .IDUTILCUSTOFIXOORCA =
                                             f.cdsDadosComp.FieldByName("IDUTILCUSTOFIXOORCA").AsString(),
                                         .vrTransferido = RoundDec(result[0].asDouble(), 2),
                                         .qtConvidados = result[1],
                                         .qtCotas = result[2],
                                         .NRSEQORCAEVE = Party(f, "NRSEQORCAEVE"),
                                         .NRENDCLIORCEVE = Party(f, "NRENDCLIORCEVE"),
                                         .contaCorrente = f.medCdReduCont.Text(),
                                         .empresa = stCdEmpresa});
  DeactiveShowAvi();
  MessageDlg(f.msgPadrao.Msg("SUCESSO_COTAS"), mtInformation, mbOK);
}

void Substitute(TfrmDistrato& f) {
  contracts::SubstituirContratante(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                   .orcamento = f.edtOrcamento.Text(),
                                                   .contaCorrente = f.medCdReduCont.Text(),
                                                   .CDCLIENTE = Party(f, "CDCLIENTE"),
                                                   .NRENDCLIORCEVE = Party(f, "NRENDCLIORCEVE"),
                                                   .CDCLICONTSUBORE = Party(f, "CDCLICONTSUBORE"),
                                                   .operador = Operador(),
                                                   .NRSEQORCAEVE = Party(f, "NRSEQORCAEVE"),
                                                   .empresa = stCdEmpresa});
  DeactiveShowAvi();
  MessageDlg(f.msgPadrao.Msg("SUCESSO"), mtInformation, mbOK);
}

}  // namespace

void sbtCancContratClick(TfrmDistrato& f) {
  RunGuarded(f, [&] {
    f.cdsNewContrRepete.SetData(contracts::GetRepetContrat(
        f.netDistrato,
        {.filial = f.medCdFilial.Text(), .orcamento = f.edtOrcamento.Text(), .cliente = Party(f, "CDCLIENTE")}));
    if (SubstituteToBeNamed(ModeOf(f))) {
      if (MessageDlg(f.msgPadrao.Msg("TRANSF_CONTA_CONTRAT"), mtConfirmation, mbYesNo) == mrYes) {
        SetSubstituteEditable(f, true);
        f.dbgPadrao.IncludeOptions(dgEditing);
        f.cdsContratante.Edit();
        boCancela = true;
        const TField* selected = f.dbgPadrao.SelectedField();
        if (!selected || selected->FieldName() != kSubstituteField) FocusSubstituteColumn(f);
        else if (TColumn* c = SubstituteColumn(f)) c->SetButtonStyle(cbsEllipsis);
      } else if (TColumn* c = SubstituteColumn(f)) {
        c->SetButtonStyle(cbsNone);
      }
      return;
    }
    f.Vd_ContaCorrente(true);
    f.cdsContratante.Edit();
    try {
      f.sbtConfirmar.Click();
    } catch (...) {
      // The direct path passes through the edit state only for the
      // confirmation: a refusal must not leave the list pending.
      if (f.cdsContratante.State() == dsEdit) f.cdsContratante.Cancel();
      throw;
    }
  });
}

void Vd_NrInscricao(TfrmDistrato& f, bool required) {
  try {
    EnsureEditing(f);
    // The registration as the cell shows it: typed, or picked in the search.
    const std::string typed = GridText(f.dbgPadrao, kSubstituteField, false);
    // While the person type is unknown the server tells it first.
    if (stIdTpIJurClie.empty()) {
      f.cdsVdContratante.SetData(contracts::GetVdClie(f.netDistrato, {.inscricao = Party(f, kSubstituteField),
                                                                      .tipoPessoa = ""}));
      stIdTpIJurClie = f.cdsVdContratante.FieldByName("IDTPIJURCLIE").AsString().substr(0, 1);
    }
    std::string number;
    if (!typed.empty()) {
      number = RegistrationToAdjust(stIdTpIJurClie, typed);
      stIdTpIJurClie = Ajusta_Inscricao(number).substr(0, 1);
    }
    if (required && typed.empty()) MensErro(f.msgPadrao.Msg("CLIE_INF"), true);
    if (!typed.empty()) {
      SetParty(f, kSubstituteField, number);
      f.cdsVdContratante.SetData(contracts::GetVdClie(f.netDistrato, {.inscricao = Party(f, kSubstituteField),
                                                                      .tipoPessoa = stIdTpIJurClie}));
      if (f.cdsVdContratante.IsEmpty()) MensErro(f.msgPadrao.Msg("CLIE_N_CAD"), true);
      SetSubstituteEditable(f, true);
      SetParty(f, kSubstituteField, f.cdsVdContratante.FieldByName("NRINSJURCLIE").AsString());
      SetParty(f, "IDTPIJURCLIESUB", f.cdsVdContratante.FieldByName("IDTPIJURCLIE").AsString());
      SetParty(f, "NMFANTSUB", f.cdsVdContratante.FieldByName("NMFANTCLIE").AsString());
      // The substitute's identity the server receives: the client found.
      SetParty(f, "CDCLICONTSUBORE", f.cdsVdContratante.FieldByName("CDCLIENTE").AsString());
      SetSubstituteEditable(f, false);
    }
  } catch (...) {
    SetSubstituteEditable(f, true);
    f.dbgPadrao.IncludeOptions(dgEditing);
    FocusSubstituteColumn(f);
    throw;
  }
}

void dbgPadraoEditButtonClick(TfrmDistrato& f) {
  f.cdsContSub.SetData(contracts::GetContSub(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                             .orcamento = f.edtOrcamento.Text(),
                                                             .sequencial = "seq",
                                                             .cliente = Party(f, "CDCLIENTE")}));
  stIdTpIJurClie.clear();
  const std::string caption = f.msgPadrao.Msg("CONT_SUB") + "|" + f.msgPadrao.Msg("N_CAD_CONTRAT");
  if (!Pesquisar(f.dtsContSub, caption, false, true)) return;
  EnsureEditing(f);
  SetParty(f, kSubstituteField, f.cdsContSub.FieldByName("NRINSJURCLIE").AsString());
  SetParty(f, "CDCLICONTSUBORE", f.cdsContSub.FieldByName("CDCLIENTE").AsString());
  SetParty(f, "NMFANTSUB", f.cdsContSub.FieldByName("NMFANTCLIE").AsString());
  SetParty(f, "IDTPIJURCLIESUB", f.cdsContSub.FieldByName("IDTPIJURCLIE").AsString());
  stIdTpIJurClie = f.cdsContSub.FieldByName("IDTPIJURCLIE").AsString().substr(0, 1);
}

namespace {

// After a refused substitution the panel comes back, but which of its
// commands the user may run with the row still pending is the command
// table's to say: they stay off unless it turns them on.
void RestoreCommandPanel(TfrmDistrato& f) {
  SetChildEnabled(f.panCancelarContrat, true);
  f.sbtCancContrat.SetEnabled(false);
  f.sbtDistrato.SetEnabled(false);
  try {
    f.HabilitaBotoes();
  } catch (...) {
    // The refusal is what the user has to read; the commands stay off.
  }
}

}  // namespace

void TransfContratante(TfrmDistrato& f) {
  RunGuarded(f, [&] {
    try {
      ActiveShowAvi(Application().MainForm(), 1);
      SetChildEnabled(f.panCancelarContrat, false);
      if (IsQuotaCase(ModeOf(f))) TransferQuotas(f);
      else Substitute(f);
    } catch (...) {
      // A refused substitution leaves the entry as it was, never half
      // disabled: the row stays pending.
      RestoreCommandPanel(f);
      throw;
    }
    boCancela = false;
    const Variant key = MakeArray({Variant(Party(f, "CDCLIENTE")), Variant(Party(f, "NRENDCLIORCEVE")),
                                   Variant(Party(f, "NRSEQORCAEVE"))});
    f.sbtVerificar.Click();
    SetChildEnabled(f.panCancelarContrat, true);
    ClearBankAccountEdits(f);
    f.cdsContratante.Locate("CDCLIENTE;NRENDCLIORCEVE;NRSEQORCAEVE", key, loCaseInsensitive);
    DeactiveShowAvi();
  });
}

void sbtConfirmarClick(TfrmDistrato& f) {
  f.TfrmPadraoGrid::sbtConfirmarClick(&f.sbtConfirmar);
  // An open substitute entry is checked as the cell shows it, also when a
  // picked substitute was typed over since.
  if (boCancela || SubstituteToBeNamed(ModeOf(f))) Vd_NrInscricao(f, true);
  f.Vd_ContaCorrente(true);
  TransfContratante(f);
  SetSubstituteEditable(f, false);
  f.dbgPadrao.ExcludeOptions(dgEditing);
  ClearBankAccountEdits(f);
  f.sbtVerificar.Click();
}

void AttachSubstitution(TfrmDistrato& f) {
  f.dbgPadrao.OnEditButtonClick = [&f](TComponent*) { dbgPadraoEditButtonClick(f); };
  f.sbtConfirmar.OnClick = [&f](TComponent*) { sbtConfirmarClick(f); };
}

}  // namespace operations
