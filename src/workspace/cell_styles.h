#pragma once
// How the cells of the three grids of the main screen are drawn: the list of
// contracting parties (dbgPadrao), the receivables (dbgContasGeradas) and the
// payables (dbgContaPagar). Each rule reads the row's codes and the cell's
// state and gives the style; the text itself is the field's display text.

#include <string>
#include <string_view>

#include "workspace/colours.h"

namespace workspace {

struct CellState {
  bool selected = false;
  bool focused = false;
};

struct CellStyle {
  Rgb background = kInfoBk;
  Rgb font = kWindowText;
  bool bold = false;
  bool rightAligned = false;  // x = cell right - text width - offsetX
  int offsetX = 2;            // from the left edge, or from the right when right-aligned
  int offsetY = 2;            // from the top edge
  bool focusRect = false;     // draw the focus rectangle over the cell

  friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

// The codes of a cdsContratante row that its drawing reads.
struct PartyRowCodes {
  std::string IDCONTPROCESDIST;
  std::string CDCLICONTSUBORE;
  std::string IDTRANSFCOTAREALI;
  std::string IDCONTRESPCOTAORCA;
};

// dbgPadrao: red in process, olive consolidated, grey once substituted or its
// quotas transferred, bold for the party holding the budget's quotas. The
// charged value VRRECECONTOREV is right-aligned.
CellStyle PartyCellStyle(const PartyRowCodes& row, std::string_view fieldName, CellState cell);

// The codes of an account row that its drawing reads; for payables the
// boleto state is IDSTATBPAG and BAIXAREALREALI is not read.
struct AccountRowCodes {
  std::string boletoState;  // IDSTATBREC or IDSTATBPAG
  std::string IDORIGNFORCA;
  std::string BAIXAREALREALI;
};

// Which legend of the account grids a row falls under; the first that
// matches wins.
enum class AccountKind {
  BoletoEmitidoGeradaDistrato,  // blue
  GeradaDistrato,               // purple
  BoletoEmitido,                // green
  BaixaRealExcluida,            // teal (receivables only)
  GeradaTransfCotas,            // fuchsia (receivables only)
  GeradaFechamento,             // the grid's font colour
};

AccountKind ReceivableKind(const AccountRowCodes& row);
AccountKind PayableKind(const AccountRowCodes& row);

// The font colour of a kind; GeradaFechamento keeps the grid's own.
Rgb AccountKindColour(AccountKind kind, Rgb gridFont = kWindowText);

CellStyle ReceivableCellStyle(const AccountRowCodes& row, CellState cell,
                              Rgb gridFont = kWindowText);
CellStyle PayableCellStyle(const AccountRowCodes& row, CellState cell,
                           Rgb gridFont = kWindowText);

}  // namespace workspace
