// Which commands the user may run: the screen's state read into the
// decision, the server's two questions, and the answer written back to the
// buttons, their menu entries and the rescission type.

#include "contracts/workspace_methods.h"
#include "workspace/frm_distrato.h"
#include "workspace/statement_command.h"

namespace {

std::string Text(const TClientDataSet& data, const char* field) { return data.FieldByName(field).AsString(); }

}  // namespace

workspace::CommandInputs TfrmDistrato::ReadCommandInputs() const {
  const TDataSetState state = cdsContratante.State();
  return {.listEmpty = !cdsContratante.Active() || cdsContratante.IsEmpty(),
          .listEditing = state == dsEdit || state == dsInsert,
          .IDSITUCONTOREV = Text(cdsContratante, "IDSITUCONTOREV"),
          .IDCONTPROCESDIST = Text(cdsContratante, "IDCONTPROCESDIST"),
          .NRINSJURCLIESUB = Text(cdsContratante, "NRINSJURCLIESUB"),
          .CDCLICONTSUBORE = Text(cdsContratante, "CDCLICONTSUBORE"),
          .IDSITUORCEVE = Text(cdsContratante, "IDSITUORCEVE"),
          .currentReceivableSettled = Text(cdsContas, "IDBAIXAREALIZADA") == "S",
          .IDUTILCUSTOFIXOORCA = Text(cdsDadosComp, "IDUTILCUSTOFIXOORCA")};
}

workspace::CommandState TfrmDistrato::ReadCommandState() const {
  auto menu = [this](const char* name) { return Find<TMenuItem>(name).Enabled(); };
  return {.sbtIncluir = sbtIncluir.Enabled(),
          .sbtAlterar = sbtAlterar.Enabled(),
          .sbtExcluir = sbtExcluir.Enabled(),
          .sbtProcurar = sbtProcurar.Enabled(),
          .sbtVerificar = sbtVerificar.Enabled(),
          .sbtCancContrat = sbtCancContrat.Enabled(),
          .sbtDistrato = sbtDistrato.Enabled(),
          .sbtConsolidaDistrato = sbtConsolidaDistrato.Enabled(),
          .sbtCancelaDistrato = sbtCancelaDistrato.Enabled(),
          .sbtConfirmar = sbtConfirmar.Enabled(),
          .sbtCancelar = sbtCancelar.Enabled(),
          .mnuIncluir = menu("mnuIncluir"),
          .mnuAlterar = menu("mnuAlterar"),
          .mnuExcluir = menu("mnuExcluir"),
          .mnuProcurar = menu("mnuProcurar"),
          .mnuVerificar = menu("mnuVerificar"),
          .mnuCancContrat = mnuCancContrat.Enabled(),
          .mnuDistrato = mnuDistrato.Enabled(),
          .mnuConsolidaDistrato = mnuConsolidaDistrato.Enabled(),
          .mnuCancelaDistrato = mnuCancelaDistrato.Enabled(),
          .mnuConfirmar = menu("mnuConfirmar"),
          .mnuCancelar = menu("mnuCancelar"),
          .rbtParcialEnabled = rbtParcial.Enabled(),
          .tipo = TipoDistrato()};
}

void TfrmDistrato::ApplyCommandState(const workspace::CommandState& s) {
  // Buttons first: each pulls its menu entry along; the entries are then
  // set as decided, which differs only when the budget is locked.
  sbtIncluir.SetEnabled(s.sbtIncluir);
  sbtAlterar.SetEnabled(s.sbtAlterar);
  sbtExcluir.SetEnabled(s.sbtExcluir);
  sbtProcurar.SetEnabled(s.sbtProcurar);
  sbtVerificar.SetEnabled(s.sbtVerificar);
  sbtCancContrat.SetEnabled(s.sbtCancContrat);
  sbtDistrato.SetEnabled(s.sbtDistrato);
  sbtConsolidaDistrato.SetEnabled(s.sbtConsolidaDistrato);
  sbtCancelaDistrato.SetEnabled(s.sbtCancelaDistrato);
  const std::pair<const char*, bool> menus[] = {
      {"mnuIncluir", s.mnuIncluir},     {"mnuAlterar", s.mnuAlterar},     {"mnuExcluir", s.mnuExcluir},
      {"mnuProcurar", s.mnuProcurar},   {"mnuVerificar", s.mnuVerificar}, {"mnuCancContrat", s.mnuCancContrat},
      {"mnuDistrato", s.mnuDistrato},   {"mnuConsolidaDistrato", s.mnuConsolidaDistrato},
      {"mnuCancelaDistrato", s.mnuCancelaDistrato}, {"mnuConfirmar", s.mnuConfirmar},
      {"mnuCancelar", s.mnuCancelar}};
  for (const auto& [name, enabled] : menus) Find<TMenuItem>(name).SetEnabled(enabled);
  rbtParcial.SetEnabled(s.rbtParcialEnabled);
  if (s.tipo == workspace::RescissionType::Total && !rbtTotal.Checked()) CheckTotalQuietly();
}

// The decision already ran its nested pass for total rescission, so the
// radio is checked without running rbtTotalClick a third time.
void TfrmDistrato::CheckTotalQuietly() {
  TNotifyEvent click = std::move(rbtTotal.OnClick);
  rbtTotal.OnClick = nullptr;
  try {
    rbtTotal.SetChecked(true);
  } catch (...) {
    rbtTotal.OnClick = std::move(click);
    throw;
  }
  rbtTotal.OnClick = std::move(click);
}

void TfrmDistrato::HabilitaBotoes() {
  // Its own rule, asked of no server: decided first, whatever the questions below answer.
  EnableTermoDistrato();
  const workspace::CommandInputs in = ReadCommandInputs();
  workspace::CommandState state = ReadCommandState();
  const std::string filial = medCdFilial.Text();
  const std::string orcamento = edtOrcamento.Text();
  const std::string seq = Text(cdsContratante, "NRSEQORCAEVE");
  const std::string cliente = Text(cdsContratante, "CDCLIENTE");
  const workspace::CommandQuestions ask{
      .GetExisContOrca =
          [&] {
            return contracts::GetExisContOrca(netDistrato, {.filial = filial,
                                                            .orcamento = orcamento,
                                                            .sequencial = seq,
                                                            .inscricaoSubstituto = Text(cdsContratante, "NRINSJURCLIESUB"),
                                                            .cliente = cliente});
          },
      .NovoContratante =
          [&] {
            return contracts::NovoContratante(
                netDistrato, {.filial = filial, .orcamento = orcamento, .sequencial = seq, .cliente = cliente});
          }};
  try {
    workspace::HabilitaBotoes(in, ask, state);
  } catch (const ENetError&) {
    // What was decided before the failure stands; the rest keeps its state.
    ApplyCommandState(state);
    if (quietNetErrors_) return;
    throw;
  } catch (...) {
    ApplyCommandState(state);
    throw;
  }
  ApplyCommandState(state);
}

// The rescission operations attach to these; until then a command does
// nothing.
void TfrmDistrato::sbtDistratoClick(TComponent* /*sender*/) {
  if (DistratoOperationHooks().Distrato) DistratoOperationHooks().Distrato(*this);
}

void TfrmDistrato::sbtCancContratClick(TComponent* /*sender*/) {
  if (DistratoOperationHooks().CancContrat) DistratoOperationHooks().CancContrat(*this);
}

void TfrmDistrato::sbtConsolidaDistratoClick(TComponent* /*sender*/) {
  if (DistratoOperationHooks().ConsolidaDistrato) DistratoOperationHooks().ConsolidaDistrato(*this);
}

void TfrmDistrato::sbtCancelaDistratoClick(TComponent* /*sender*/) {
  if (DistratoOperationHooks().CancelaDistrato) DistratoOperationHooks().CancelaDistrato(*this);
}

void TfrmDistrato::mnuTermoDistratoClick(TComponent* /*sender*/) {
  if (DistratoOperationHooks().TermoDistrato) DistratoOperationHooks().TermoDistrato(*this);
}

bool TfrmDistrato::PartyUndone() const {
  return undoneParties_.count(workspace::StatementKey(Text(cdsContratante, "NRSEQORCAEVE"),
                                                      Text(cdsContratante, "CDCLIENTE"),
                                                      Text(cdsContratante, "NRENDCLIORCEVE"))) != 0;
}

void TfrmDistrato::EnableTermoDistrato() {
  const TDataSetState state = cdsContratante.State();
  mnuTermoDistrato.SetEnabled(workspace::TermoDistratoAvailable(
      {.listEmpty = !cdsContratante.Active() || cdsContratante.IsEmpty(),
       .listEditing = state == dsEdit || state == dsInsert,
       .IDCONTPROCESDIST = Text(cdsContratante, "IDCONTPROCESDIST"),
       .IDORIGEMINCLUSAO = Text(cdsContratante, "IDORIGEMINCLUSAO"),
       .undone = PartyUndone()}));
}
