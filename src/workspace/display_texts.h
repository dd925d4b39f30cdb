#pragma once
// The texts the list of contracting parties and the account views show for
// the codes the server stores. Each rule gives the catalogue key of its text
// (empty: nothing shown); the *Text functions give the catalogue text.

#include <array>
#include <string>
#include <string_view>

#include "workspace/cell_styles.h"
#include "workspace/colours.h"

namespace workspace {

// The receivable's state as cdsContasIDSTATRECGetText reads it.
struct ReceivableStatusCodes {
  bool datasetEmpty = false;
  std::string IDSTATREC;
  std::string NRSEQHISTRENEGO;
  std::string IDBAIXAREALIZADA;
};

// "A" Aberta, "B" Baixada, "C" Cancelada, "P" Planejada, "D" Caucionado; a
// renegotiated account reads Renegociado; a planned account settled by the
// rescission reads Distrato, whatever came before.
std::string_view ReceivableStatusKey(const ReceivableStatusCodes& row);
std::string ReceivableStatusText(const ReceivableStatusCodes& row);

// IDSITUCONTOREV of the list; an empty code reads as launched.
std::string_view PartySituationKey(bool datasetEmpty, std::string_view IDSITUCONTOREV);
std::string PartySituationText(bool datasetEmpty, std::string_view IDSITUCONTOREV);

// IDSTATPAG of the payables.
std::string_view PayableStatusKey(bool datasetEmpty, std::string_view IDSTATPAG);
std::string PayableStatusText(bool datasetEmpty, std::string_view IDSTATPAG);

// GERACTPAGAR of the rescission values: the kind of account to generate.
std::string_view AccountToGenerateKey(std::string_view GERACTPAGAR);
std::string AccountToGenerateText(std::string_view GERACTPAGAR);

// lblProcesso: the current party's IDTPDISTRATOREALI in lower case.
std::string ProcessCaption(std::string_view IDTPDISTRATOREALI);

// Captions of the list and account views.
inline constexpr std::string_view kTipoDistratoCaption = "Tipo de Distrato";
inline constexpr std::string_view kParcialCaption = "Parcial";
inline constexpr std::string_view kTotalCaption = "Total";
inline constexpr std::string_view kContasReceberHeading = "Contas a Receber";
inline constexpr std::string_view kContasPagarHeading = "Contas a Pagar";

struct Legend {
  std::string_view text;
  Rgb colour;
};

// The list's legend: red square, then olive square.
inline constexpr std::array<Legend, 2> kPartyLegends{{
    {"Contratante em processo de distrato", kRed},
    {"Distrato Consolidado", kOlive},
}};

// The account grids' legend (GroupBox1), top to bottom.
inline constexpr std::array<Legend, 6> kAccountLegends{{
    {"Boleto Emitido", kGreen},
    {"Conta Gerada pelo Distrato", kPurple},
    {"Boleto Emitido/Conta Gerada pelo Distrato", kBlue},
    {"Conta Gerada no Fechamento do Orçamento", kWindowText},
    {"Conta possui Baixa Real Excluída", kTeal},
    {"Conta Gerada pela Transf. de Cotas", kFuchsia},
}};

// The legend text of an account row's kind.
std::string_view AccountLegendText(AccountKind kind);

}  // namespace workspace
