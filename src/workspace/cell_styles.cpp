#include "workspace/cell_styles.h"

namespace workspace {

namespace {

// A selected cell takes the highlight colours whatever its rule gave.
CellStyle WithCellState(CellStyle style, CellState cell) {
  if (cell.selected) {
    style.background = kHighlight;
    style.font = kHighlightText;
  }
  style.focusRect = cell.focused;
  return style;
}

bool GeneratedByRescission(const std::string& origin) { return origin == "T" || origin == "I"; }

// The three rules receivables and payables share.
AccountKind BoletoOrRescissionKind(const AccountRowCodes& row, AccountKind otherwise) {
  const bool emitted = row.boletoState == "E";
  const bool rescission = GeneratedByRescission(row.IDORIGNFORCA);
  if (emitted && rescission) return AccountKind::BoletoEmitidoGeradaDistrato;
  if (rescission) return AccountKind::GeradaDistrato;
  if (emitted) return AccountKind::BoletoEmitido;
  return otherwise;
}

}  // namespace

CellStyle PartyCellStyle(const PartyRowCodes& row, std::string_view fieldName, CellState cell) {
  CellStyle style;
  if (row.IDCONTPROCESDIST == "S") {
    style.font = kRed;
  } else if (row.IDCONTPROCESDIST == "C") {
    style.font = kOlive;
  }
  if ((!row.CDCLICONTSUBORE.empty() && row.IDCONTPROCESDIST == "C") ||
      row.IDTRANSFCOTAREALI == "S") {
    style.font = kGray;
  }
  style.bold = row.IDCONTRESPCOTAORCA == "S";
  if (fieldName == "VRRECECONTOREV") {
    style.rightAligned = true;
    style.offsetX = 3;
    style.offsetY = 3;
  }
  return WithCellState(style, cell);
}

AccountKind ReceivableKind(const AccountRowCodes& row) {
  const AccountKind kind = BoletoOrRescissionKind(row, AccountKind::GeradaFechamento);
  if (kind != AccountKind::GeradaFechamento) return kind;
  if (row.boletoState == "A" && row.IDORIGNFORCA == "F" && row.BAIXAREALREALI == "S") {
    return AccountKind::BaixaRealExcluida;
  }
  if (row.boletoState == "A" && row.IDORIGNFORCA == "G") return AccountKind::GeradaTransfCotas;
  return AccountKind::GeradaFechamento;
}

AccountKind PayableKind(const AccountRowCodes& row) {
  return BoletoOrRescissionKind(row, AccountKind::GeradaFechamento);
}

Rgb AccountKindColour(AccountKind kind, Rgb gridFont) {
  switch (kind) {
    case AccountKind::BoletoEmitidoGeradaDistrato: return kBlue;
    case AccountKind::GeradaDistrato: return kPurple;
    case AccountKind::BoletoEmitido: return kGreen;
    case AccountKind::BaixaRealExcluida: return kTeal;
    case AccountKind::GeradaTransfCotas: return kFuchsia;
    case AccountKind::GeradaFechamento: break;
  }
  return gridFont;
}

CellStyle ReceivableCellStyle(const AccountRowCodes& row, CellState cell, Rgb gridFont) {
  CellStyle style;
  style.font = AccountKindColour(ReceivableKind(row), gridFont);
  return WithCellState(style, cell);
}

CellStyle PayableCellStyle(const AccountRowCodes& row, CellState cell, Rgb gridFont) {
  CellStyle style;
  style.font = AccountKindColour(PayableKind(row), gridFont);
  return WithCellState(style, cell);
}

}  // namespace workspace
