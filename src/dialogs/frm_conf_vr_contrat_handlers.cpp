// TfrmConfVrContrat: lifecycle, parties and payment form, installments and
// the commands.

#include <utility>

#include "data/exceptions.h"
#include "data/formats.h"
#include "dialogs/cli_dxr10903.h"
#include "lib/corvane.h"
#include "dialogs/contractor_commands.h"
#include "contracts/contractor_values_methods.h"
#include "dialogs/frm_conf_vr_contrat.h"
#include "dialogs/installment_rules.h"
#include "dialogs/plan_dataset.h"
#include "dialogs/value_cells.h"
#include "lib/consiste.h"
#include "lib/grid_text.h"
#include "lib/mens_erro.h"
#include "ui/ui_service.h"
#include "workspace/frm_distrato.h"

using namespace Cli_DXR10903;

namespace {
constexpr const char* kDue = "DTVENCIMENTO";
constexpr const char* kValue = "VRPARCELA";

std::string Trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// Sets a flag for as long as a scope lasts, also when it ends by an exception.
class Suspend {
 public:
  explicit Suspend(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Suspend() { flag_ = was_; }
  Suspend(const Suspend&) = delete;
  Suspend& operator=(const Suspend&) = delete;

 private:
  bool& flag_;
  bool was_;
};
}  // namespace

std::string TfrmConfVrContrat::Branch() const { return frmDistrato.medCdFilial.Text(); }
std::string TfrmConfVrContrat::Budget() const { return frmDistrato.edtOrcamento.Text(); }

void TfrmConfVrContrat::Refuse(const std::string& key) {
  MensErro(msgPadrao.Msg(key), true);
  throw EAbort();  // MensErro with true never returns
}

void TfrmConfVrContrat::StartEditing(TClientDataSet& data) {
  if (!data.Active()) data.CreateDataSet();
  if (!dialogs::Editing(data)) data.Edit();
}

// Loading replaces whatever was pending and makes the first party current,
// whose plan its scroll then shows: after every load (activation, Verify,
// Confirm, Cancel) the dialog starts again from the first party.
void TfrmConfVrContrat::LoadParties(Variant packet) {
  if (dialogs::Editing(cdsFormaPgto)) cdsFormaPgto.Cancel();
  if (dialogs::Editing(cdsVrContratantes)) cdsVrContratantes.Cancel();
  cdsVrContratantes.SetData(std::move(packet));
}

void TfrmConfVrContrat::LoadPlan(Variant packet) {
  if (dialogs::Editing(cdsFormaPgto)) cdsFormaPgto.Cancel();
  cdsFormaPgto.SetData(std::move(packet));
}

// --- lifecycle --------------------------------------------------------------

void TfrmConfVrContrat::FormCreate(TComponent* sender) {
  TfrmPadraoSimples::FormCreate(sender);
  cdsFormaPgto.CreateDataSet();
  cdsAuxFormaPgto.CreateDataSet();
  cdsFormaPgto.FieldByName(kDue).SetEditMask(DateMask());
  // The controls' starting state, not a user's choice: a click here would
  // open an empty party row and fetch a plan for nobody.
  Suspend quiet(suspended_);
  rbtSemFormaPgto.SetChecked(true);
  speDiaFixo.SetValue(1);
  speParcela.SetValue(1);
  EnableFixedDay(false);
}

void TfrmConfVrContrat::FormActivate(TComponent* /*sender*/) {
  // Negotiated values change in the rescission step only; the key filter
  // keeps typing out, this keeps pasting out too.
  cdsVrContratantes.FieldByName("VRORIGREC").SetReadOnly(!boEditaTela);
  protocol::InsContratDistrato review{.contratantes = oleContratante, .filial = Branch(), .orcamento = Budget()};
  LoadParties(contracts::InsContratDistrato(frmDistrato.netDistrato, review));
  oleContratante = review.contratantes;
  HabilitaBotoes();
}

void TfrmConfVrContrat::FormClose(TComponent* sender, TCloseAction& action) {
  TfrmPadraoSimples::FormClose(sender, action);
  if (!boGerar) {
    boGeraConta = false;
    oleContratante = Variant();
  }
  if (dialogs::Editing(cdsVrContratantes)) cdsVrContratantes.Cancel();
  if (cdsVrContratantes.Active()) cdsVrContratantes.EmptyDataSet();
}

// --- parties and their payment form ------------------------------------------

void TfrmConfVrContrat::cdsVrContratantesAfterScroll(TClientDataSet& /*dataSet*/) {
  if (cdsVrContratantes.IsEmpty()) return;
  // The whole contract: a client may hold two in one budget.
  LoadPlan(contracts::GetFormaPgto(frmDistrato.netDistrato,
                                   {.filial = Branch(),
                                    .orcamento = Budget(),
                                    .cliente = cdsVrContratantes.FieldByName("CDCLIENTE").AsString(),
                                    .sequencia = cdsVrContratantes.FieldByName("NRSEQORCAEVE").AsString(),
                                    .endereco = cdsVrContratantes.FieldByName("NRENDCLIORCEVE").AsString()}));
  Suspend quiet(suspended_);
  const std::string mode = Trimmed(cdsVrContratantes.FieldByName("IDTPFORMAPGTO").AsString());
  if (mode == "F") {
    speDiaFixo.SetValue(cdsVrContratantes.FieldByName("NRDIAPGTOFIXO").AsInteger());
    speParcela.SetValue(cdsVrContratantes.FieldByName("NRPARCELAS").AsInteger());
    chbProxMes.SetChecked(Trimmed(cdsVrContratantes.FieldByName("IDMESINIPGTO").AsString()) == "P");
    rbtFixo.SetChecked(true);
  } else {
    speDiaFixo.SetValue(1);
    speParcela.SetValue(1);
    (mode == "E" ? rbtSemFormaPgto : rbtFormaPgto).SetChecked(true);
  }
}

void TfrmConfVrContrat::cdsVrContratantesBeforePost(TClientDataSet& /*dataSet*/) {
  TClientDataSet& d = cdsVrContratantes;
  if (rbtFixo.Checked()) {
    d.FieldByName("NRDIAPGTOFIXO").SetAsFloat(speDiaFixo.Value());
    d.FieldByName("NRPARCELAS").SetAsFloat(speParcela.Value());
    d.FieldByName("IDMESINIPGTO").SetAsString(chbProxMes.Checked() ? "P" : "A");
    d.FieldByName("IDTPFORMAPGTO").SetAsString("F");
  } else {
    d.FieldByName("NRDIAPGTOFIXO").SetAsFloat(1);
    d.FieldByName("NRPARCELAS").SetAsFloat(1);
    d.FieldByName("IDMESINIPGTO").SetAsString("A");
    d.FieldByName("IDTPFORMAPGTO").SetAsString(rbtSemFormaPgto.Checked() ? "E" : "V");
  }
  if (d.FieldByName("VRORIGREC").IsNull()) d.FieldByName("VRORIGREC").SetAsFloat(0);
}

void TfrmConfVrContrat::EnableFixedDay(bool enabled) {
  for (TControl* c : std::initializer_list<TControl*>{&chbProxMes, &speParcela, &speDiaFixo, &Label4, &Label5})
    c->SetEnabled(enabled);
}

void TfrmConfVrContrat::rbtSemFormaPgtoClick(TComponent* /*sender*/) {
  if (suspended_) return;
  EnableFixedDay(false);
  StartEditing(cdsVrContratantes);
}

void TfrmConfVrContrat::rbtFixoClick(TComponent* /*sender*/) {
  if (suspended_) return;
  EnableFixedDay(true);
  StartEditing(cdsVrContratantes);
}

void TfrmConfVrContrat::rbtFormaPgtoClick(TComponent* /*sender*/) {
  if (suspended_) return;
  EnableFixedDay(false);
  StartEditing(cdsVrContratantes);
  StartEditing(cdsFormaPgto);
}

void TfrmConfVrContrat::speDiaFixoChange(TComponent* /*sender*/) {
  if (suspended_) return;
  if (cdsVrContratantes.IsEmpty()) return;
  StartEditing(cdsVrContratantes);
}

void TfrmConfVrContrat::chbProxMesClick(TComponent* /*sender*/) {
  if (cdsVrContratantes.IsEmpty()) return;
  StartEditing(cdsVrContratantes);
  StartEditing(cdsFormaPgto);
}

void TfrmConfVrContrat::dtsFormaPgtoStateChange(TDataSource& /*sender*/) {
  if (cdsVrContratantes.State() == dsBrowse && dialogs::Editing(cdsFormaPgto) && !cdsVrContratantes.IsEmpty())
    StartEditing(cdsVrContratantes);
  HabilitaBotoes();
}

void TfrmConfVrContrat::cdsFormaPgtoNewRecord(TClientDataSet& /*dataSet*/) {
  cdsFormaPgto.FieldByName("CDFILIAL").SetAsString(Branch());
  cdsFormaPgto.FieldByName("NRORCAEVENTO").SetAsString(Budget());
  std::string substitute = cdsVrContratantes.FieldByName("CDCLICONTSUBORE").AsString();
  cdsFormaPgto.FieldByName("CDCLIENTE")
      .SetAsString(!substitute.empty() ? substitute : cdsVrContratantes.FieldByName("CDCLIENTE").AsString());
  // The contract the installment belongs to, whoever it is keyed to.
  for (const char* key : {"NRSEQORCAEVE", "NRENDCLIORCEVE"})
    cdsFormaPgto.FieldByName(key).SetAsString(cdsVrContratantes.FieldByName(key).AsString());
}

void TfrmConfVrContrat::HabilitaBotoes() {
  const TColumn* column = dbgContratantes.SelectedColumn();
  dialogs::ContractorCommandInputs in;
  in.editaTela = boEditaTela;
  in.focusOnParties = dbgContratantes.Focused();
  in.focusOnPlan = dbgFormaPgto.Focused();
  in.valueColumnSelected = column && column->FieldName() == "VRORIGREC";
  in.variableMode = rbtFormaPgto.Checked();
  in.partyEditing = dialogs::Editing(cdsVrContratantes);
  in.partyInEdit = cdsVrContratantes.State() == dsEdit;
  in.planEditing = dialogs::Editing(cdsFormaPgto);
  in.planEmpty = cdsFormaPgto.IsEmpty();
  in.valueToPay = cdsVrContratantes.FieldByName("VRORIGREC").AsFloat() > 0;
  in.quantityTyped = !edtQtParc.Text().empty();
  in.termTyped = !edtPrazo.Text().empty();
  const dialogs::ContractorCommands c = dialogs::ContractorCommandState(in);
  panFormaPgto.SetEnabled(c.paymentEnabled);
  dbgFormaPgto.SetEnabled(c.paymentEnabled);
  if (c.partiesEditing) dbgContratantes.IncludeOptions(dgEditing);
  else dbgContratantes.ExcludeOptions(dgEditing);
  sbtIncluir.SetEnabled(c.incluir);
  sbtAlterar.SetEnabled(c.alterar);
  sbtExcluir.SetEnabled(c.excluir);
  sbtVerificar.SetEnabled(c.verificar);
  sbtProcurar.SetEnabled(c.procurar);
  sbtConfirmar.SetEnabled(c.confirmar);
  sbtCancelar.SetEnabled(c.cancelar);
  sbtParcAuto.SetEnabled(c.parcAuto);
}

// --- keys, display, drawing ---------------------------------------------------

void TfrmConfVrContrat::dbgContratantesKeyPress(TComponent* /*sender*/, char32_t& key) {
  const TColumn* column = dbgContratantes.SelectedColumn();
  if (!column || column->FieldName() != "VRORIGREC" || !boEditaTela) {
    key = 0;
    return;
  }
  key = dialogs::NumericKey(dialogs::DropSignsAndExponent(key));
  if (key) key = dialogs::Vd_Virgula(dbgContratantes, "VRORIGREC", key);
}

void TfrmConfVrContrat::dbgContratantesKeyDown(TComponent* /*sender*/, int& key, TShiftState /*shift*/) {
  if (key == VK_DELETE) key = 0;
}

void TfrmConfVrContrat::dbgContratantesTitleClick(TColumn& column) {
  cdsVrContratantes.SetIndexFieldNames(column.FieldName());
}

void TfrmConfVrContrat::dbgFormaPgtoKeyPress(TComponent* /*sender*/, char32_t& key) {
  key = dialogs::DropSignsAndExponent(key);
  const TColumn* column = dbgFormaPgto.SelectedColumn();
  if (key && column && column->FieldName() == kValue) key = dialogs::NumericKey(key);
  if (key) key = dialogs::Vd_Virgula(dbgFormaPgto, kValue, key);
}

void TfrmConfVrContrat::dbgContratantesDrawColumnCell(TColumn& column, TGridDrawState state, TCellStyle& style) {
  style.background = clInfoBk;
  if (!Trimmed(cdsVrContratantes.FieldByName("ERRO").AsString()).empty()) style.font_color = clTeal;
  if (!Trimmed(cdsVrContratantes.FieldByName("ERRORENEGFIN").AsString()).empty()) style.font_color = clOlive;
  if (state & gdSelected) {
    style.background = clHighlight;
    style.font_color = clHighlightText;
  }
  const std::string& name = column.FieldName();
  const bool amount = name == "VRORIGRECNOEDIT" || name == "VRMULTA" || name == "VRORIGREC";
  dialogs::StyleValueCell(style, column.Field(), amount ? "#,##0.00" : "", state);
}

// --- installments -------------------------------------------------------------

// The generated installments replace the party's plan on screen only: the
// stored plan is replaced when Confirm stores the new one (SetConfirmar does
// it in one transaction), so a Cancel or a close keeps the plan and the mode
// the party had.
void TfrmConfVrContrat::InsereParcelas() {
  // A count the total cannot be split into is refused before anything changes.
  if (auto key = dialogs::CheckInstallmentCount(cdsVrContratantes.FieldByName("VRORIGREC").AsFloat(),
                                                dialogs::StrToInt(edtQtParc.Text()))) {
    edtQtParc.SetFocus();
    Refuse(*key);
  }
  int count = dialogs::StrToInt(edtQtParc.Text());
  dialogs::EnsureOpen(cdsFormaPgto);
  if (dialogs::Editing(cdsFormaPgto)) cdsFormaPgto.Cancel();
  cdsFormaPgto.EmptyDataSet();
  const double total = cdsVrContratantes.FieldByName("VRORIGREC").AsFloat();
  for (const dialogs::Installment& row :
       dialogs::PlanInstallments(total, count, dialogs::TermDays(edtPrazo.Text()), DateOf(DataProc(FiliProc())))) {
    cdsFormaPgto.Append();
    if (row.due) cdsFormaPgto.FieldByName(kDue).SetAsDateTime(*row.due);
    cdsFormaPgto.FieldByName(kValue).SetAsFloat(row.value);
    cdsFormaPgto.Post();
  }
  StartEditing(cdsFormaPgto);
  edtQtParc.Clear();
  edtPrazo.Clear();
  HabilitaBotoes();
}

void TfrmConfVrContrat::Vd_Data() {
  std::string text = GridText(dbgFormaPgto, kDue, false);
  std::optional<std::string> refusal;
  try {
    refusal = dialogs::CheckDueDate(text, DateOf(DataProc(FiliProc())), "DATA_MAIOR");
  } catch (const Exception&) {
    dialogs::FocusField(dbgFormaPgto, kDue);
    throw;
  }
  if (refusal) {
    dialogs::FocusField(dbgFormaPgto, kDue);
    Refuse(*refusal);
  }
}

void TfrmConfVrContrat::Vd_Valor() {
  std::vector<double> values = dialogs::FieldValues(cdsAuxFormaPgto, kValue, true);
  if (auto key = dialogs::CheckSnapshotTotal(values, cdsVrContratantes.FieldByName("VRORIGREC").AsFloat())) {
    dialogs::FocusField(dbgFormaPgto, kValue);
    Refuse(*key);
  }
}

// --- commands -----------------------------------------------------------------

void TfrmConfVrContrat::sbtConfirmarClick(TComponent* /*sender*/) {
  if (dialogs::Editing(cdsVrContratantes)) cdsVrContratantes.Post();
  // A party confirmed without the variable form has no installments: the
  // plan loaded for it goes, rather than being sent with the new form.
  if (Trimmed(cdsVrContratantes.FieldByName("IDTPFORMAPGTO").AsString()) != "V" && cdsFormaPgto.Active()) {
    if (dialogs::Editing(cdsFormaPgto)) cdsFormaPgto.Cancel();
    cdsFormaPgto.EmptyDataSet();
  }
  if (dialogs::Editing(cdsFormaPgto)) {
    // A row the user opened and left untouched (the check box and the mode
    // radio open one) is not an installment: drop it instead of demanding
    // its due date, or a fixed-day choice could never be confirmed.
    if (cdsFormaPgto.State() == dsInsert && !cdsFormaPgto.Modified()) {
      cdsFormaPgto.Cancel();
    } else {
      Vd_Data();
      Vd_Valor();
      cdsFormaPgto.Post();
    }
  }
  LoadParties(contracts::SetConfirmar(frmDistrato.netDistrato, {.contratantes = cdsVrContratantes.Data(),
                                                                 .parcelas = cdsFormaPgto.Data(),
                                                                 .filial = Branch(),
                                                                 .orcamento = Budget()}));
  HabilitaBotoes();
}

void TfrmConfVrContrat::sbtVerificarClick(TComponent* /*sender*/) {
  LoadParties(contracts::GetContratDistrato(frmDistrato.netDistrato, {.filial = Branch(), .orcamento = Budget()}));
  HabilitaBotoes();
}

void TfrmConfVrContrat::sbtExcluirClick(TComponent* /*sender*/) {
  if (dbgFormaPgto.Focused() && !cdsFormaPgto.IsEmpty()) cdsFormaPgto.Delete();
  HabilitaBotoes();
}

void TfrmConfVrContrat::sbtCancelarClick(TComponent* sender) {
  if (dbgContratantes.Focused()) {
    TfrmPadraoSimples::sbtCancelarClick(sender);
  } else if (dbgFormaPgto.Focused()) {
    if (MessageDlg(msgPadrao.Msg("CANC"), mtConfirmation, mbYesNo) == mrYes && dialogs::Editing(cdsFormaPgto))
      cdsFormaPgto.Cancel();
  }
  sbtVerificar.Click();
  HabilitaBotoes();
}

void TfrmConfVrContrat::mnuSairClick(TComponent* sender) {
  bool errors = false;
  if (cdsVrContratantes.Active()) {
    const Variant content = cdsVrContratantes.Data();
    const DataPacket& parties = content.asPacket();
    for (std::size_t r = 0; r < parties.rowCount() && !errors; ++r)
      errors = !Trimmed(parties.at(r, "ERRO").asText()).empty() ||
               !Trimmed(parties.at(r, "ERRORENEGFIN").asText()).empty();
  }
  if (errors) MensErro(msgPadrao.Msg("ERRO_DISTRATO"), false);
  auto generate = [this] {
    boGeraConta = true;
    oleContratante = cdsVrContratantes.Data();
    boGerar = true;
  };
  if (boEditaTela) {
    if (MessageDlg(msgPadrao.Msg("GERA_ORCA_FILHO"), mtInformation, mbYesNo) == mrYes) generate();
  } else if (!errors) {
    if (MessageDlg(msgPadrao.Msg("GERA_CONTA_TCONTRAT"), mtInformation, mbYesNo) == mrYes) {
      generate();
    } else {
      boGeraConta = false;
      oleContratante = Variant();
      boGerar = false;
    }
  } else {
    boGeraConta = false;
    boGerar = false;
  }
  TfrmPadraoSimples::mnuSairClick(sender);
}
