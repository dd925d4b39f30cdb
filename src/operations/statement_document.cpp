#include "operations/statement_document.h"

#include "data/formats.h"
#include "lib/consiste.h"
#include "workspace/display_texts.h"

namespace operations {

namespace {

using Kind = DocumentBlock::Kind;
constexpr const char* kNotRecorded = "não registrado";

std::string Text(const DataPacket& p, std::size_t row, const char* field) { return p.at(row, field).asText(); }

// Money and dates as the screens write them: "1.234,56", "08/12/2026".
std::string Money(const Variant& v) { return v.isNull() ? kNotRecorded : FormatFloat("#,##0.00", v.asDouble()); }
std::string Day(const Variant& v) { return v.isNull() ? "" : FormatDate(v.asDate()); }
std::string Percent(const Variant& v) { return v.isNull() ? kNotRecorded : FormatFloat("#,##0.00", v.asDouble()) + " %"; }

// A registration number laid into the mask of its person type, as the list shows it.
std::string Registration(const std::string& type, const std::string& digits) {
  return FormatMaskText(PictPess(type), digits);
}
std::string RegistrationLabel(const std::string& type) { return type == "J" ? "CNPJ" : "CPF"; }

std::string AccountStatus(const std::string& kind, const std::string& status) {
  if (kind == "PAGAR") return workspace::PayableStatusText(false, status);
  return workspace::ReceivableStatusText({.datasetEmpty = false, .IDSTATREC = status, .NRSEQHISTRENEGO = "", .IDBAIXAREALIZADA = ""});
}

void Intro(Document& d, const DataPacket& t) {
  const std::string type = Text(t, 0, "IDTPDISTRATOREALI") == "TOTAL" ? "total" : "parcial";
  d.add(Kind::Title, "Termo de Distrato Comercial");
  d.add(Kind::Paragraph,
        "Pelo presente termo, " + Text(t, 0, "NMEMPRESA") + ", CNPJ " +
            Registration("J", Text(t, 0, "NRINSJUREMPR")) + ", e " + Text(t, 0, "NMRAZSOCCLIE") + ", " +
            RegistrationLabel(Text(t, 0, "IDTPIJURCLIE")) + " " +
            Registration(Text(t, 0, "IDTPIJURCLIE"), Text(t, 0, "NRINSJURCLIE")) +
            ", contratante do orçamento de evento " + Text(t, 0, "NRORCAEVENTO") + " (sequência " +
            Text(t, 0, "NRSEQORCAEVE") + "), registram o distrato " + type +
            " do contrato, nos valores e condições abaixo.");
}

void Contract(Document& d, const DataPacket& t) {
  d.add(Kind::Heading, "Contrato");
  auto& f = d.add(Kind::Fields).fields;
  f = {{"Orçamento", Text(t, 0, "NRORCAEVENTO") + " / " + Text(t, 0, "NRSEQORCAEVE")},
       {"Evento", Text(t, 0, "NMCLIEORCA")},
       {"Data do evento", Day(t.at(0, "DTEVENTO"))},
       {"Filial", Text(t, 0, "CDFILIAL") + " - " + Text(t, 0, "NMFILIAL")},
       {"Contratante", Text(t, 0, "NMRAZSOCCLIE")},
       {RegistrationLabel(Text(t, 0, "IDTPIJURCLIE")),
        Registration(Text(t, 0, "IDTPIJURCLIE"), Text(t, 0, "NRINSJURCLIE"))},
       {"Cliente / endereço", Text(t, 0, "CDCLIENTE") + " / " + Text(t, 0, "NRENDCLIORCEVE")},
       {"Distrato", std::string(Text(t, 0, "IDTPDISTRATOREALI") == "TOTAL" ? "Total" : "Parcial") + " - " +
                        RescissionStateText(Text(t, 0, "IDESTADODISTRATO"))}};
  if (!Text(t, 0, "NRSEQORCAEVEFILHO").empty())
    f.push_back({"Orçamento filho", "sequência " + Text(t, 0, "NRSEQORCAEVEFILHO")});
  if (!Text(t, 0, "CDCLICONTSUBORE").empty())
    f.push_back({Text(t, 0, "IDTRANSFCOTAREALI") == "S" ? "Recebedor das cotas" : "Substituto",
                 Text(t, 0, "NMFANTSUB") + " (" + RegistrationLabel(Text(t, 0, "IDTPIJURCLIESUB")) + " " +
                     Registration(Text(t, 0, "IDTPIJURCLIESUB"), Text(t, 0, "NRINSJURCLIESUB")) + ")"});
}

void Values(Document& d, const DataPacket& t) {
  d.add(Kind::Heading, "Valores do distrato");
  DocumentTable& table = d.add(Kind::Table).table;
  table.columns = {{"Descrição", 3}, {"Valor (R$)", 1, DocumentAlign::Right}};
  const std::string account = Text(t, 0, "GERACTPAGAR");
  table.rows = {{"Valor do contrato", Money(t.at(0, "VRRECECONTOREV"))},
                {"Valor pago pelo contratante", Money(t.at(0, "VRPAGO"))},
                {"Percentual da multa", Percent(t.at(0, "VRPERCMULTA"))},
                {"Valor da multa", Money(t.at(0, "VRMULTA"))},
                {"Valor calculado", Money(t.at(0, "VRORIGRECNOEDIT"))},
                {"Valor negociado", Money(t.at(0, "VRORIGREC"))},
                {"Conta a gerar", account.empty() ? kNotRecorded : workspace::AccountToGenerateText(account)}};
  if (Text(t, 0, "IDESTADODISTRATO") == "D")
    d.add(Kind::Paragraph,
          "Este distrato foi desfeito: o contratante voltou ao orçamento e as contas geradas foram removidas. "
          "Os valores acima são os registrados no histórico.");
}

void Cancelled(Document& d, const DataPacket& c) {
  d.add(Kind::Heading, "Parcelas canceladas pelo distrato");
  DocumentTable& table = d.add(Kind::Table).table;
  table.columns = {{"Lançamento", 1.3}, {"Parcela", 0.7}, {"Documento", 1.8}, {"Vencimento", 1.2},
                   {"Valor (R$)", 1.2, DocumentAlign::Right}};
  table.emptyText = "Nenhuma parcela cancelada.";
  for (std::size_t r = 0; r < c.rowCount(); ++r)
    table.rows.push_back({Text(c, r, "NRLANCTONF"), Text(c, r, "NRPARCELAREC"), Text(c, r, "DOCUMENTO"),
                          Day(c.at(r, "DTATUAVENREC")), Money(c.at(r, "VRATUAREC"))});
}

void Generated(Document& d, const DataPacket& g) {
  d.add(Kind::Heading, "Contas geradas pela consolidação");
  DocumentTable& table = d.add(Kind::Table).table;
  table.columns = {{"Conta", 0.9},      {"Documento", 1.6}, {"Parcela", 0.7}, {"Vencimento", 1.1},
                   {"Valor (R$)", 1.1, DocumentAlign::Right}, {"Situação", 1}, {"Conta corrente", 1.9}};
  table.emptyText = "Nenhuma conta gerada.";
  for (std::size_t r = 0; r < g.rowCount(); ++r) {
    const std::string kind = Text(g, r, "TIPOCONTA");
    std::string bank;
    if (!Text(g, r, "CDCONTCORR").empty())
      bank = "Banco " + Text(g, r, "CDBANCO") + " ag. " + Text(g, r, "CDAGENCIA") + " c/c " + Text(g, r, "CDCONTCORR");
    table.rows.push_back({kind == "PAGAR" ? "A pagar" : "A receber", Text(g, r, "DOCUMENTO"), Text(g, r, "NRPARCELA"),
                          Day(g.at(r, "DTVENCIMENTO")), Money(g.at(r, "VRPARCELA")),
                          AccountStatus(kind, Text(g, r, "IDSTATCONTA")), bank});
  }
}

std::string Who(const std::string& name, const std::string& code) {
  if (code.empty()) return "";
  return name.empty() ? code : name + " (" + code + ")";
}

void History(Document& d, const DataPacket& h) {
  d.add(Kind::Heading, "Histórico");
  DocumentTable& table = d.add(Kind::Table).table;
  table.columns = {{"Data/hora", 1.2}, {"Operação", 1.5}, {"Operador", 1.5}, {"Aprovado por", 1.3}, {"Valores", 2.6}};
  table.emptyText = "Nenhum registro no histórico.";
  for (std::size_t r = 0; r < h.rowCount(); ++r)
    table.rows.push_back({Text(h, r, "DTHRLOCAL"), HistoryActionText(Text(h, r, "NMMETODO")),
                          Who(Text(h, r, "NMOPERADOR"), Text(h, r, "CDOPERADOR")),
                          Who(Text(h, r, "NMOPERAPROV"), Text(h, r, "CDOPERAPROV")), Text(h, r, "DSVALORES")});
}

void Closing(Document& d, const DataPacket& t) {
  d.add(Kind::Paragraph, Text(t, 0, "NMFILIAL") + ", " + Day(t.at(0, "DTPROCESSAMENTO")) + ".");
  d.add(Kind::Signatures).signers = {{Text(t, 0, "NMRAZSOCCLIE"), "Contratante"},
                                     {Text(t, 0, "NMEMPRESA"), "Contratada"}};
}

}  // namespace

const char* RescissionStateText(const std::string& IDESTADODISTRATO) {
  if (IDESTADODISTRATO == "C") return "consolidado";
  if (IDESTADODISTRATO == "D") return "desfeito";
  return "em processo";
}

const char* HistoryActionText(const std::string& NMMETODO) {
  if (NMMETODO == "Distrato") return "Distrato parcial";
  if (NMMETODO == "DistratoTotal") return "Distrato total";
  if (NMMETODO == "ConsolidaDistrato") return "Consolidação do distrato";
  if (NMMETODO == "ConsolidaDistratoTotal") return "Consolidação do distrato total";
  if (NMMETODO == "DesfazerDistrato") return "Distrato desfeito";
  return "Alteração";
}

Document StatementDocument(const std::vector<contracts::TermoDistrato>& parties) {
  Document d;
  d.title = kStatementTitle;
  for (const contracts::TermoDistrato& p : parties) {
    if (p.termo.rowCount() == 0) continue;
    if (d.header.empty())
      d.header = Text(p.termo, 0, "NMEMPRESA") + " - Filial " + Text(p.termo, 0, "CDFILIAL") + " " +
                 Text(p.termo, 0, "NMFILIAL");
    if (!d.blocks.empty()) d.add(Kind::PageBreak);  // each party on its own pages
    Intro(d, p.termo);
    Contract(d, p.termo);
    Values(d, p.termo);
    Cancelled(d, p.canceladas);
    Generated(d, p.geradas);
    History(d, p.historico);
    Closing(d, p.termo);
  }
  return d;
}

}  // namespace operations
