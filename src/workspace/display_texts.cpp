#include "workspace/display_texts.h"

#include "workspace/catalogue.h"

namespace workspace {

namespace {

std::string TextOf(std::string_view key) { return key.empty() ? std::string() : Msg(key); }

}  // namespace

std::string_view ReceivableStatusKey(const ReceivableStatusCodes& row) {
  if (row.datasetEmpty) return {};
  std::string_view key;
  if (row.IDSTATREC == "A") key = "Aberta";
  else if (row.IDSTATREC == "B") key = "Baixada";
  else if (row.IDSTATREC == "C") key = "Cancelada";
  else if (row.IDSTATREC == "P") key = "Planejada";
  else if (row.IDSTATREC == "D") key = "Caucionado";
  if (!row.NRSEQHISTRENEGO.empty()) key = "Renegociado";
  if (row.IDSTATREC == "P" && row.IDBAIXAREALIZADA == "S") key = "Distrato";
  return key;
}

std::string ReceivableStatusText(const ReceivableStatusCodes& row) {
  return TextOf(ReceivableStatusKey(row));
}

std::string_view PartySituationKey(bool datasetEmpty, std::string_view IDSITUCONTOREV) {
  if (datasetEmpty) return {};
  if (IDSITUCONTOREV.empty() || IDSITUCONTOREV == "LANCADO") return "LANCADO";
  if (IDSITUCONTOREV == "CNTGERADA") return "CNTGERADA";
  if (IDSITUCONTOREV == "DEVOLVIDO") return "DEVOLVIDO";
  if (IDSITUCONTOREV == "CANCELADO") return "CANCELADO";
  return {};
}

std::string PartySituationText(bool datasetEmpty, std::string_view IDSITUCONTOREV) {
  return TextOf(PartySituationKey(datasetEmpty, IDSITUCONTOREV));
}

std::string_view PayableStatusKey(bool datasetEmpty, std::string_view IDSTATPAG) {
  if (datasetEmpty) return {};
  if (IDSTATPAG == "B") return "Baixada";
  if (IDSTATPAG == "A") return "Aberta";
  if (IDSTATPAG == "P") return "Planejada";
  return {};
}

std::string PayableStatusText(bool datasetEmpty, std::string_view IDSTATPAG) {
  return TextOf(PayableStatusKey(datasetEmpty, IDSTATPAG));
}

std::string_view AccountToGenerateKey(std::string_view GERACTPAGAR) {
  if (GERACTPAGAR == "CNTRECEBER") return "Conta_Receber";
  if (GERACTPAGAR == "CNTPAGAR") return "Conta_Pagar";
  return {};
}

std::string AccountToGenerateText(std::string_view GERACTPAGAR) {
  return TextOf(AccountToGenerateKey(GERACTPAGAR));
}

std::string ProcessCaption(std::string_view IDTPDISTRATOREALI) {
  std::string caption(IDTPDISTRATOREALI);
  for (char& c : caption) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return caption;
}

std::string_view AccountLegendText(AccountKind kind) {
  switch (kind) {
    case AccountKind::BoletoEmitido: return kAccountLegends[0].text;
    case AccountKind::GeradaDistrato: return kAccountLegends[1].text;
    case AccountKind::BoletoEmitidoGeradaDistrato: return kAccountLegends[2].text;
    case AccountKind::GeradaFechamento: return kAccountLegends[3].text;
    case AccountKind::BaixaRealExcluida: return kAccountLegends[4].text;
    case AccountKind::GeradaTransfCotas: return kAccountLegends[5].text;
  }
  return {};
}

}  // namespace workspace
