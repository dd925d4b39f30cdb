// The screen's datasets with their declared fields, the grids bound to them,
// the display texts of the coded fields and the drawing of the three grids.

#include <iterator>

#include "lib/consiste.h"
#include "lib/corvane.h"
#include "workspace/dataset_binding.h"
#include "workspace/display_texts.h"
#include "workspace/field_tables.h"
#include "workspace/frm_distrato.h"

namespace {

std::string Text(const TClientDataSet& data, const char* field) {
  return data.FieldByName(field).AsString();
}

void Declare(TClientDataSet& data, std::string_view tableName) {
  if (const workspace::DatasetDef* def = workspace::FindDataset(tableName)) workspace::DeclareFields(data, *def);
}

workspace::CellState StateOf(TGridDrawState state) {
  return {.selected = (state & gdSelected) != 0, .focused = (state & gdFocused) != 0};
}

workspace::AccountRowCodes AccountCodes(const TClientDataSet& data, const char* boletoField, bool withBaixaReal) {
  return {.boletoState = Text(data, boletoField),
          .IDORIGNFORCA = Text(data, "IDORIGNFORCA"),
          .BAIXAREALREALI = withBaixaReal ? Text(data, "BAIXAREALREALI") : std::string()};
}

// A registration number laid into the mask of the person type in `typeField`.
void RegistrationText(TField& field, const char* typeField, std::string& text) {
  text = FormatMaskText(PictPess(field.DataSet()->FieldByName(typeField).AsString()), field.AsString());
}

}  // namespace

void TfrmDistrato::DeclareDatasets() {
  qryFilial.SQL.assign(std::begin(workspace::kQryFilialSql), std::end(workspace::kQryFilialSql));
  qryPesqFilial.SQL.assign(std::begin(workspace::kQryPesqFilialSql), std::end(workspace::kQryPesqFilialSql));
  Declare(cdsFilial, "qryFilial");
  for (TClientDataSet* data : {&cdsPesqOrca, &cdsVdOrca, &cdsDadosComp, &cdsEmpresaRelac, &cdsContCorr,
                               &cdsVdContCorr, &cdsContratante, &cdsContas, &cdsContasPagar, &cdsContSub,
                               &cdsVdContratante, &cdsValores, &cdsErroProd})
    Declare(*data, data->Name());
  // cdsNewContrRepete takes whatever fields its packet brings.

  // Datasets the screen carries without filling or reading them.
  for (const char* unused : {"cdsSequencial", "cdsFormaPgto", "cdsSupGerVend", "cdsValidSupGer",
                             "cdsExistRenegoFin", "cdsAuxContratante"})
    Own<TClientDataSet>(unused, unused);

  dtsPadrao.SetDataSet(&cdsContratante);
  dbtNome.SetDataField("NMFANTCLIE");
}

void TfrmDistrato::BindGrids() {
  dbgContasGeradas.SetDataSource(&dtsContas);
  dbgContaPagar.SetDataSource(&dtsContasPagar);
  for (TDBGrid* grid : {&dbgPadrao, &dbgContasGeradas, &dbgContaPagar})
    if (const workspace::GridDef* def = workspace::FindGrid(grid->Name())) workspace::ApplyGrid(*grid, *def);
}

void TfrmDistrato::WireDisplayTexts() {
  cdsContas.FieldByName("IDSTATREC").OnGetText = [this](TField&, std::string& text, bool) {
    text = workspace::ReceivableStatusText({.datasetEmpty = cdsContas.IsEmpty(),
                                            .IDSTATREC = Text(cdsContas, "IDSTATREC"),
                                            .NRSEQHISTRENEGO = Text(cdsContas, "NRSEQHISTRENEGO"),
                                            .IDBAIXAREALIZADA = Text(cdsContas, "IDBAIXAREALIZADA")});
  };
  cdsContratante.FieldByName("IDSITUCONTOREV").OnGetText = [this](TField& f, std::string& text, bool) {
    text = workspace::PartySituationText(cdsContratante.IsEmpty(), f.AsString());
  };
  cdsContasPagar.FieldByName("IDSTATPAG").OnGetText = [this](TField& f, std::string& text, bool) {
    text = workspace::PayableStatusText(cdsContasPagar.IsEmpty(), f.AsString());
  };
  cdsValores.FieldByName("GERACTPAGAR").OnGetText = [](TField& f, std::string& text, bool) {
    text = workspace::AccountToGenerateText(f.AsString());
  };
  cdsContratante.FieldByName("NRINSJURCLIE").OnGetText = [](TField& f, std::string& text, bool) {
    RegistrationText(f, "IDTPIJURCLIE", text);
  };
  cdsContratante.FieldByName("NRINSJURCLIESUB").OnGetText = [](TField& f, std::string& text, bool) {
    RegistrationText(f, "IDTPIJURCLIESUB", text);
  };
  cdsContSub.FieldByName("NRINSJURCLIE").OnGetText = [](TField& f, std::string& text, bool) {
    RegistrationText(f, "IDTPIJURCLIE", text);
  };
}

void TfrmDistrato::WireDrawing() {
  dbgPadrao.OnDrawColumnCell = [this](TDBGrid&, const TRect&, int, TColumn& column, TGridDrawState state,
                                      TCellStyle& style) {
    const workspace::PartyRowCodes row{.IDCONTPROCESDIST = Text(cdsContratante, "IDCONTPROCESDIST"),
                                       .CDCLICONTSUBORE = Text(cdsContratante, "CDCLICONTSUBORE"),
                                       .IDTRANSFCOTAREALI = Text(cdsContratante, "IDTRANSFCOTAREALI"),
                                       .IDCONTRESPCOTAORCA = Text(cdsContratante, "IDCONTRESPCOTAORCA")};
    workspace::ApplyCellStyle(workspace::PartyCellStyle(row, column.FieldName(), StateOf(state)), style);
  };
  dbgContasGeradas.OnDrawColumnCell = [this](TDBGrid&, const TRect&, int, TColumn&, TGridDrawState state,
                                             TCellStyle& style) {
    workspace::ApplyCellStyle(
        workspace::ReceivableCellStyle(AccountCodes(cdsContas, "IDSTATBREC", true), StateOf(state)), style);
  };
  dbgContaPagar.OnDrawColumnCell = [this](TDBGrid&, const TRect&, int, TColumn&, TGridDrawState state,
                                          TCellStyle& style) {
    workspace::ApplyCellStyle(
        workspace::PayableCellStyle(AccountCodes(cdsContasPagar, "IDSTATBPAG", false), StateOf(state)), style);
  };
}
