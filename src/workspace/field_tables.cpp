#include "workspace/field_tables.h"

#include <array>

namespace workspace {

namespace {

using F = FieldType;

constexpr std::string_view kMoney = "#,##0.00";

constexpr FieldDef kQryFilial[] = {
    {.name = "CDFILIAL", .type = F::Text, .size = 8, .label = "Código"},
    {.name = "NMFILIAL", .type = F::Text, .size = 30, .label = "Nome"},
};

constexpr FieldDef kQryPesqFilial[] = {
    {.name = "CDFILIAL", .type = F::Text, .size = 4},
    {.name = "NMFILIAL", .type = F::Text, .size = 30},
};

constexpr FieldDef kCdsPesqOrca[] = {
    {.name = "NRORCAEVENTO", .type = F::Text, .size = 10, .label = "Nr. Orçamento"},
    {.name = "NRSEQORCAEVE", .type = F::FixedText, .size = 2, .label = "Sequencial"},
    {.name = "CDFILIAL", .type = F::Text, .size = 4, .label = "Filial", .visible = false},
};

constexpr FieldDef kCdsVdOrca[] = {
    {.name = "NRORCAEVENTO", .type = F::Text, .size = 10, .label = "Nr. Orçamento"},
    {.name = "NRSEQORCAEVE", .type = F::FixedText, .size = 2, .label = "Sequencial"},
    {.name = "CDFILIAL", .type = F::Text, .size = 4, .label = "Filial"},
};

constexpr FieldDef kCdsContratante[] = {
    {.name = "IDORIGEMINCLUSAO", .type = F::Text, .size = 20, .visible = false},
    {.name = "IDCONTPROCESDIST", .type = F::FixedText, .size = 1, .visible = false},
    {.name = "NRSEQORCAEVE", .type = F::FixedText, .size = 2, .label = "Seq.", .visible = false},
    {.name = "CDCLIENTE", .type = F::Text, .size = 21, .visible = false},
    {.name = "NRINSJURCLIE", .type = F::Text, .size = 20, .label = "Inscrição"},
    {.name = "IDTPIJURCLIE", .type = F::Text, .size = 1, .visible = false},
    {.name = "NMFANTCLIE", .type = F::Text, .size = 50, .label = "Nome"},
    {.name = "VRRECECONTOREV", .type = F::Float, .label = "Vr. Cobrado",
     .displayFormat = kMoney, .editFormat = "0.00"},
    {.name = "IDSITUCONTOREV", .type = F::Text, .size = 10, .label = "Situação", .visible = false},
    {.name = "NMCONTCLIORE", .type = F::Text, .size = 30, .visible = false},
    {.name = "NRENDCLIORCEVE", .type = F::Text, .size = 10, .visible = false},
    {.name = "NMRAZSOCCLIE", .type = F::Text, .size = 50, .visible = false},
    {.name = "NMFANTSUB", .type = F::Text, .size = 50, .label = "Nome do Substituto"},
    {.name = "IDTPIJURCLIESUB", .type = F::Text, .size = 1, .visible = false},
    {.name = "NRINSJURCLIESUB", .type = F::Text, .size = 20, .label = "Insc. Substituto"},
    {.name = "CDCLICONTSUBORE", .type = F::Text, .size = 21, .visible = false},
    {.name = "IDTPDISTRATOREALI", .type = F::Text, .size = 10, .visible = false},
    {.name = "IDCHECK", .type = F::Text, .size = 1, .visible = false},
    {.name = "IDCONTRESPCOTAORCA", .type = F::Text, .size = 1, .visible = false},
    {.name = "IDSITUORCEVE", .type = F::Text, .size = 1, .visible = false},
    {.name = "IDTRANSFCOTAREALI", .type = F::Text, .size = 1, .visible = false},
};

// The due dates get the date mask when the screen is activated.
constexpr FieldDef kCdsContas[] = {
    {.name = "NRSEQHISTRENEGO", .type = F::Text, .size = 10, .visible = false},
    {.name = "BAIXAREALREALI", .type = F::FixedText, .size = 1, .visible = false},
    {.name = "NRBAIXAREC", .type = F::Text, .size = 10, .visible = false},
    {.name = "CDTPBAIXAREC", .type = F::Text, .size = 2, .visible = false},
    {.name = "IDBAIXAREALIZADA", .type = F::Text, .size = 1, .visible = false},
    {.name = "IDORIGNFORCA", .type = F::FixedText, .size = 1, .visible = false},
    {.name = "IDSTATBREC", .type = F::Text, .size = 1, .label = "Sit. Boleto", .visible = false},
    {.name = "NRCNABRECREM", .type = F::Text, .size = 10, .visible = false},
    {.name = "CDNOSNUMREC", .type = F::Text, .size = 20, .visible = false},
    {.name = "DOCUMENTO", .type = F::Text, .size = 26, .label = "Documento"},
    {.name = "DTATUAVENREC", .type = F::DateTime, .label = "Venc. Atual", .visible = false},
    {.name = "DTORIGVENREC", .type = F::DateTime, .label = "Venc. Original", .visible = false},
    {.name = "NMRAZSOCCLIE", .type = F::Text, .size = 50, .label = "Cliente", .visible = false},
    {.name = "NRSEQVENREC", .type = F::Text, .size = 2, .label = "Parc."},
    {.name = "NRPARCELAREC", .type = F::Text, .size = 2, .label = "Conta"},
    {.name = "IDSTATREC", .type = F::Text, .size = 1, .label = "Situação", .visible = false},
    {.name = "VRATUAREC", .type = F::Float, .label = "Valor", .displayFormat = kMoney},
    {.name = "CDCONTCORR", .type = F::Text, .size = 20, .visible = false},
    {.name = "NRLANCTONF", .type = F::Text, .size = 10, .visible = false},
};

constexpr FieldDef kCdsContasPagar[] = {
    {.name = "DTATUAVENPAG", .type = F::DateTime, .label = "Venc.Atual"},
    {.name = "DTORIGVENPAG", .type = F::DateTime, .label = "Venc.Original"},
    {.name = "NMRAZSOCFORN", .type = F::Text, .size = 40, .visible = false},
    {.name = "NRSEQVENPAG", .type = F::Text, .size = 2, .label = "Parc."},
    {.name = "NRPARCELAPAG", .type = F::Text, .size = 2, .label = "Conta"},
    {.name = "DOCUMENTO", .type = F::Text, .size = 26, .label = "Documento"},
    {.name = "IDSTATPAG", .type = F::Text, .size = 1, .label = "Situação"},
    {.name = "VRATUAPAG", .type = F::Float, .label = "Valor", .displayFormat = kMoney},
    {.name = "NRLANCTONF", .type = F::Text, .size = 10, .visible = false},
    {.name = "IDSTATBPAG", .type = F::Text, .size = 1, .visible = false},
    {.name = "NRCNABPAGREM", .type = F::Text, .size = 10, .visible = false},
    {.name = "CDNOSNUMPAG", .type = F::Text, .size = 20, .visible = false},
    {.name = "IDORIGNFORCA", .type = F::FixedText, .size = 1, .visible = false},
    {.name = "IDBAIXAREALIZADA", .type = F::Text, .size = 1, .visible = false},
};

constexpr FieldDef kCdsValores[] = {
    {.name = "GERACTPAGAR", .type = F::Text, .size = 20},
    {.name = "CDFILIALNF", .type = F::Text, .size = 4},
    {.name = "NRLANCTONF", .type = F::Text, .size = 10},
    {.name = "NRSEQVENREC", .type = F::Text, .size = 2},
    {.name = "NRPARCELAREC", .type = F::Text, .size = 2},
    {.name = "CDFILIBOLREC", .type = F::Text, .size = 4},
    {.name = "NRLANBOLREC", .type = F::Text, .size = 10},
    {.name = "IDSTATREC", .type = F::Text, .size = 1},
    {.name = "CDEMPRESA", .type = F::Text, .size = 2},
    {.name = "CDCLASSFINA", .type = F::Text, .size = 6},
    {.name = "CDFIMOVFLREC", .type = F::Text, .size = 4},
    {.name = "DTMOVFLUXO", .type = F::DateTime},
    {.name = "IDMOVFLUXO", .type = F::Text, .size = 1},
    {.name = "VRPERCMULTA", .type = F::Float, .label = "Perc. Multa (%)",
     .displayFormat = "#0.00 %", .editFormat = "#0.00", .readOnly = true},
    {.name = "VRORIGREC", .type = F::Float, .label = "Valor Negociado", .displayFormat = kMoney,
     .editFormat = "0.00"},
    {.name = "NRENDCLIORCEVE", .type = F::Text, .size = 10},
    {.name = "VRORIGRECNOEDIT", .type = F::Float, .label = "Valor Calculado",
     .displayFormat = kMoney, .readOnly = true},
    {.name = "NRSEQHISTRENEGO", .type = F::Text, .size = 10},
    {.name = "VRATUAREC", .type = F::Float},
    {.name = "VRMULTA", .type = F::Float},
};

constexpr FieldDef kCdsDadosComp[] = {
    {.name = "IDUTILCUSTOFIXOORCA", .type = F::Text, .size = 1, .visible = false},
    {.name = "CDFILIAL", .type = F::Text, .size = 4},
    {.name = "NRORCAEVENTO", .type = F::Text, .size = 10},
    {.name = "NRSEQORCAEVE", .type = F::FixedText, .size = 2},
    {.name = "NMFANTCLIE", .type = F::Text, .size = 50},
    {.name = "CDVENDEDOR", .type = F::Text, .size = 4},
};

constexpr FieldDef kCdsEmpresaRelac[] = {
    {.name = "CDEMPRESA", .type = F::Text, .size = 2},
};

constexpr FieldDef kCdsContCorr[] = {
    {.name = "CDREDUCONT", .type = F::Text, .size = 3, .label = "Código"},
    {.name = "CDBANCO", .type = F::Text, .size = 3, .label = "Banco"},
    {.name = "CDAGENCIA", .type = F::Text, .size = 5, .label = "Agência", .editMask = "9999-a;0; "},
    {.name = "CDCONTCORR", .type = F::Text, .size = 20, .label = "Conta Corrente"},
    {.name = "DSCONTCORR", .type = F::Text, .size = 20, .label = "Descrição"},
    {.name = "CDCONTCTBL", .type = F::Text, .size = 20, .visible = false},
    {.name = "CDPICTCONT", .type = F::Text, .size = 20, .visible = false},
    {.name = "CDPICTAGEN", .type = F::Text, .size = 10, .visible = false},
};

constexpr FieldDef kCdsVdContCorr[] = {
    {.name = "CDREDUCONT", .type = F::Text, .size = 3},
    {.name = "CDBANCO", .type = F::Text, .size = 3},
    {.name = "CDAGENCIA", .type = F::Text, .size = 5},
    {.name = "CDCONTCORR", .type = F::Text, .size = 20},
    {.name = "DSCONTCORR", .type = F::Text, .size = 20},
    {.name = "CDCONTCTBL", .type = F::Text, .size = 20},
    {.name = "CDPICTCONT", .type = F::Text, .size = 20},
    {.name = "CDPICTAGEN", .type = F::Text, .size = 10},
};

constexpr FieldDef kCdsContSub[] = {
    {.name = "NRINSJURCLIE", .type = F::Text, .size = 20, .label = "Inscrição"},
    {.name = "NMFANTCLIE", .type = F::Text, .size = 50, .label = "Nome Fantasia"},
    {.name = "NMRAZSOCCLIE", .type = F::Text, .size = 50, .label = "Razão Social"},
    {.name = "CDCLIENTE", .type = F::Text, .size = 21, .visible = false},
    {.name = "IDTPIJURCLIE", .type = F::Text, .size = 1, .visible = false},
};

constexpr FieldDef kCdsVdContratante[] = {
    {.name = "IDTPIJURCLIE", .type = F::Text, .size = 1},
    {.name = "NRINSJURCLIE", .type = F::Text, .size = 20},
    {.name = "CDCLIENTE", .type = F::Text, .size = 21},
    {.name = "NMFANTCLIE", .type = F::Text, .size = 50},
    {.name = "NMRAZSOCCLIE", .type = F::Text, .size = 50},
};

// CDARVPROD's edit mask comes from the library picture when the screen is built.
constexpr FieldDef kCdsErroProd[] = {
    {.name = "CDARVPROD", .type = F::Text, .size = 20, .label = "Código"},
    {.name = "NMPRODUTO", .type = F::Text, .size = 50, .label = "Nome"},
};

constexpr std::array kDatasets{
    DatasetDef{"qryFilial", kQryFilial},
    DatasetDef{"qryPesqFilial", kQryPesqFilial},
    DatasetDef{"cdsPesqOrca", kCdsPesqOrca},
    DatasetDef{"cdsVdOrca", kCdsVdOrca},
    DatasetDef{"cdsDadosComp", kCdsDadosComp},
    DatasetDef{"cdsEmpresaRelac", kCdsEmpresaRelac},
    DatasetDef{"cdsContCorr", kCdsContCorr},
    DatasetDef{"cdsVdContCorr", kCdsVdContCorr},
    DatasetDef{"cdsContratante", kCdsContratante},
    DatasetDef{"cdsContas", kCdsContas},
    DatasetDef{"cdsContasPagar", kCdsContasPagar},
    DatasetDef{"cdsContSub", kCdsContSub},
    DatasetDef{"cdsVdContratante", kCdsVdContratante},
    DatasetDef{"cdsValores", kCdsValores},
    DatasetDef{"cdsErroProd", kCdsErroProd},
};

constexpr ColumnDef kDbgPadraoColumns[] = {
    {.field = "NRSEQORCAEVE"},
    {.field = "NRINSJURCLIE"},
    {.field = "NMFANTCLIE"},
    {.field = "VRRECECONTOREV"},
    {.field = "IDSITUCONTOREV", .width = 100},
    {.field = "NRINSJURCLIESUB", .width = 114, .readOnly = true},
    {.field = "NMFANTSUB", .width = 312, .readOnly = true},
};

constexpr ColumnDef kDbgContasGeradasColumns[] = {
    {.field = "DOCUMENTO", .width = 104},
    {.field = "DTATUAVENREC", .width = 74},
    {.field = "DTORIGVENREC", .width = 88},
    {.field = "NRPARCELAREC", .width = 37},
    {.field = "NRSEQVENREC", .width = 39},
    {.field = "IDSTATREC", .width = 80},
    {.field = "VRATUAREC", .width = 72},
};

constexpr ColumnDef kDbgContaPagarColumns[] = {
    {.field = "DOCUMENTO", .width = 104},
    {.field = "DTATUAVENPAG", .width = 74},
    {.field = "DTORIGVENPAG", .width = 86},
    {.field = "NRPARCELAPAG", .width = 42},
    {.field = "NRSEQVENPAG", .width = 40},
    {.field = "IDSTATPAG", .width = 70},
    {.field = "VRATUAPAG", .width = 77},
};

constexpr std::array kGrids{
    GridDef{.name = "dbgPadrao", .dataSource = "dtsPadrao", .columns = kDbgPadraoColumns,
            .ownOptions = false, .options = GridOptions{}},
    GridDef{.name = "dbgContasGeradas", .dataSource = "dtsContas",
            .columns = kDbgContasGeradasColumns, .options = GridOptions{.editing = false}},
    GridDef{.name = "dbgContaPagar", .dataSource = "dtsContasPagar",
            .columns = kDbgContaPagarColumns, .options = GridOptions{.editing = true}},
};

}  // namespace

std::span<const DatasetDef> MainScreenDatasets() { return kDatasets; }

const DatasetDef* FindDataset(std::string_view name) {
  for (const DatasetDef& d : kDatasets) {
    if (d.name == name) return &d;
  }
  return nullptr;
}

std::span<const GridDef> MainScreenGrids() { return kGrids; }

const GridDef* FindGrid(std::string_view name) {
  for (const GridDef& g : kGrids) {
    if (g.name == name) return &g;
  }
  return nullptr;
}

}  // namespace workspace
