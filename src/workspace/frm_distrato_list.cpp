// The list of contracting parties and, for the current party, its
// receivables and payables; sorting, keys, the substitute column and the
// rescission type.

#include <utility>

#include "contracts/statement_methods.h"
#include "contracts/workspace_methods.h"
#include "lib/grid_text.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/display_texts.h"
#include "workspace/frm_distrato.h"
#include "workspace/statement_command.h"

namespace {

std::string Text(const TClientDataSet& data, const char* field) { return data.FieldByName(field).AsString(); }

bool Editing(const TClientDataSet& data) { return data.State() == dsEdit || data.State() == dsInsert; }

// A click on a column title orders the grid's dataset by that column.
void SortByTitle(TDBGrid& grid) {
  grid.OnTitleClick = [&grid](TColumn& column) {
    if (TClientDataSet* data = grid.DataSet()) data->SetIndexFieldNames(column.FieldName());
  };
}

// The account views mirror the server: Delete removes nothing there.
void SwallowDelete(TDBGrid& grid) {
  grid.OnKeyDown = [](TComponent*, int& key, TShiftState) {
    if (key == VK_DELETE) key = 0;
  };
}

}  // namespace

void TfrmDistrato::WireListHandlers() {
  cdsContratante.AfterScroll = [this](TClientDataSet& d) { cdsContratanteAfterScroll(d); };
  for (TDBGrid* grid : {&dbgPadrao, &dbgContasGeradas, &dbgContaPagar}) SortByTitle(*grid);
  SwallowDelete(dbgContasGeradas);
  SwallowDelete(dbgContaPagar);
  dbgPadrao.OnColEnter = [this](TComponent* s) { dbgPadraoColEnter(s); };
  dbgPadrao.OnColExit = [this](TComponent* s) { dbgPadraoColExit(s); };
  rbtParcial.OnClick = [this](TComponent* s) { rbtParcialClick(s); };
  rbtTotal.OnClick = [this](TComponent* s) { rbtTotalClick(s); };
}

void TfrmDistrato::sbtVerificarClick(TComponent* /*sender*/) {
  const Variant key = MakeArray({Text(cdsContratante, "NRSEQORCAEVE"), Text(cdsContratante, "CDCLIENTE"),
                                 Text(cdsContratante, "NRENDCLIORCEVE")});
  // Asked before the list loads: its scroll decides the commands at once.
  undoneParties_.clear();
  const Variant undone = contracts::GetDistratosDesfeitos(
      netDistrato, {.filial = medCdFilial.Text(), .orcamento = edtOrcamento.Text()});
  if (undone.isPacket())
    for (std::size_t r = 0; r < undone.asPacket().rowCount(); ++r) {
      const DataPacket& keys = undone.asPacket();
      undoneParties_.insert(workspace::StatementKey(keys.at(r, "NRSEQORCAEVE").asText(),
                                                    keys.at(r, "CDCLIENTE").asText(),
                                                    keys.at(r, "NRENDCLIORCEVE").asText()));
    }
  cdsContratante.SetData(contracts::GetContratante(netDistrato, {.filial = medCdFilial.Text(), .orcamento = edtOrcamento.Text()}));
  cdsContratante.Locate("NRSEQORCAEVE;CDCLIENTE;NRENDCLIORCEVE", key, loCaseInsensitive);
}

void TfrmDistrato::cdsContratanteAfterScroll(TClientDataSet& /*dataSet*/) {
  if (rbtTotal.Checked()) DadosComplementares();
  contracts::ContasResult contas = contracts::GetContas(
      netDistrato, {.empresa = stCdEmpresa,
                    .orcamento = edtOrcamento.Text(),
                    .NRSEQORCAEVE = Text(cdsContratante, "NRSEQORCAEVE"),
                    .CDCLIENTE = Text(cdsContratante, "CDCLIENTE"),
                    .NRENDCLIORCEVE = Text(cdsContratante, "NRENDCLIORCEVE"),
                    .IDCONTPROCESDIST = Text(cdsContratante, "IDCONTPROCESDIST"),
                    .IDORIGEMINCLUSAO = Text(cdsContratante, "IDORIGEMINCLUSAO"),
                    .IDTRANSFCOTAREALI = Text(cdsContratante, "IDTRANSFCOTAREALI"),
                    .IDTPDISTRATOREALI = Text(cdsContratante, "IDTPDISTRATOREALI")});
  cdsContas.SetData(std::move(contas.receber));
  inCtBaixadas = contas.baixadas;
  cdsContasPagar.SetData(std::move(contas.pagar));
  lblProcesso.SetCaption(workspace::ProcessCaption(Text(cdsContratante, "IDTPDISTRATOREALI")));
  dbgPadrao.ExcludeOptions(dgEditing);
  HabilitaBotoes();
  // Moving to another party abandons the substitute being typed.
  if (boCancela) sbtCancelar.Click();
}

void TfrmDistrato::dbgPadraoColEnter(TComponent* /*sender*/) {
  if (cdsContratante.State() != dsEdit) return;
  const int col = IndiceCol(dbgPadrao, "NRINSJURCLIESUB");
  if (col >= 0) dbgPadrao.Columns(col).SetButtonStyle(cbsEllipsis);
}

void TfrmDistrato::dbgPadraoColExit(TComponent* /*sender*/) {
  if (!Editing(cdsContratante)) return;
  const TColumn* leaving = dbgPadrao.SelectedColumn();
  if (leaving && leaving->Index() == IndiceCol(dbgPadrao, "NRINSJURCLIESUB")) Vd_NrInscricao(true);
}

void TfrmDistrato::Vd_NrInscricao(bool reportEmpty) {
  // The substitution supplies the check of the typed substitute.
  if (DistratoOperationHooks().Vd_NrInscricao) DistratoOperationHooks().Vd_NrInscricao(*this, reportEmpty);
}

void TfrmDistrato::rbtParcialClick(TComponent* /*sender*/) { HabilitaBotoes(); }

void TfrmDistrato::rbtTotalClick(TComponent* /*sender*/) { HabilitaBotoes(); }

workspace::RescissionType TfrmDistrato::TipoDistrato() const {
  return rbtTotal.Checked() ? workspace::RescissionType::Total : workspace::RescissionType::Parcial;
}
