// The statement document laid out from the server's packets: one party after
// another on pages of their own, the screens' formats, what an undone
// rescission lacks, and who receives a party's place or quotas.

#include <gtest/gtest.h>

#include "operations/statement_document.h"

namespace {

using Kind = DocumentBlock::Kind;

DataPacket Packet(std::vector<std::pair<const char*, FieldType>> fields, std::vector<DataPacket::Row> rows) {
  std::vector<FieldDef> defs;
  for (const auto& [name, type] : fields) defs.push_back({name, type, type == FieldType::String ? 200 : 0});
  DataPacket p(defs);
  for (auto& r : rows) p.addRow(std::move(r));
  return p;
}

// One party's statement as the server answers it.
contracts::TermoDistrato Party(const char* name, const char* state, Variant paid, const char* substitute = "",
                               const char* transferred = "N") {
  using F = FieldType;
  contracts::TermoDistrato t;
  t.termo = Packet({{"NMEMPRESA", F::String}, {"NRINSJUREMPR", F::String}, {"CDFILIAL", F::String},
                    {"NMFILIAL", F::String}, {"NRORCAEVENTO", F::String}, {"NRSEQORCAEVE", F::String},
                    {"NMCLIEORCA", F::String}, {"DTEVENTO", F::DateTime}, {"DTPROCESSAMENTO", F::DateTime},
                    {"CDCLIENTE", F::String}, {"NRENDCLIORCEVE", F::String}, {"NMRAZSOCCLIE", F::String},
                    {"NMFANTCLIE", F::String}, {"IDTPIJURCLIE", F::String}, {"NRINSJURCLIE", F::String},
                    {"IDTPDISTRATOREALI", F::String}, {"IDESTADODISTRATO", F::String}, {"VRRECECONTOREV", F::Float},
                    {"VRPAGO", F::Float}, {"VRPERCMULTA", F::Float}, {"VRMULTA", F::Float},
                    {"VRORIGRECNOEDIT", F::Float}, {"VRORIGREC", F::Float}, {"GERACTPAGAR", F::String},
                    {"NRSEQORCAEVEFILHO", F::String}, {"CDCLICONTSUBORE", F::String}, {"NMFANTSUB", F::String},
                    {"IDTPIJURCLIESUB", F::String}, {"NRINSJURCLIESUB", F::String}, {"IDTRANSFCOTAREALI", F::String}},
                   {{"Gaúcha Eventos", "11222333000181", "0001", "Porto Alegre - Centro", "0000000171", "01",
                     "Turma", Variant(DateTime{46458}), Variant(DateTime{46364}), "3301", "1", name, name, "F",
                     "41827364513", "PARCIAL", state, 12000.0, paid, 25.0, 3000.0, 3000.0, 1234567.5, "CNTPAGAR",
                     "02", substitute, "Marcelo Dutra Vieira", "F", "12345678909", transferred}});
  t.canceladas = Packet({{"NRLANCTONF", F::String}, {"NRPARCELAREC", F::String}, {"DOCUMENTO", F::String},
                         {"DTATUAVENREC", F::DateTime}, {"VRATUAREC", F::Float}},
                        {{"0000008301", "01", "NF 8301 01/07", Variant(DateTime{46275}), 1000.0}});
  t.geradas = Packet({{"TIPOCONTA", F::String}, {"DOCUMENTO", F::String}, {"NRPARCELA", F::String},
                      {"IDSTATCONTA", F::String}, {"DTVENCIMENTO", F::DateTime}, {"VRPARCELA", F::Float},
                      {"CDBANCO", F::String}, {"CDAGENCIA", F::String}, {"CDCONTCORR", F::String},
                      {"DSCONTCORR", F::String}},
                     {});
  t.historico = Packet({{"DTHRLOCAL", F::String}, {"NMMETODO", F::String}, {"CDOPERADOR", F::String},
                        {"NMOPERADOR", F::String}, {"CDOPERAPROV", F::String}, {"NMOPERAPROV", F::String},
                        {"DSVALORES", F::String}, {"IDORCAMENTO", F::String}},
                       {{"08/12/2026 11:05", "DesfazerDistrato", "OPERADOR", "Luciana", "SUPERVISOR", "Sandra",
                         "parcial", "N"}});
  return t;
}

TEST(StatementDocument, EachPartyOnItsOwnPagesUnderTheBranch) {
  const Document d = operations::StatementDocument(
      {Party("Rodrigo Bastos Lima", "C", 6000.0), Party("Tatiana Moraes Lenz", "C", 6000.0)});
  EXPECT_EQ(d.title, "Termo de Distrato");
  EXPECT_EQ(d.header, "Gaúcha Eventos - Filial 0001 Porto Alegre - Centro");
  int breaks = 0, signatures = 0;
  for (const DocumentBlock& b : d.blocks) {
    breaks += b.kind == Kind::PageBreak;
    signatures += b.kind == Kind::Signatures;
  }
  EXPECT_EQ(breaks, 1);
  EXPECT_EQ(signatures, 2);
  const std::string text = DocumentText(d);
  EXPECT_LT(text.find("Rodrigo Bastos Lima"), text.find('\f'));
  EXPECT_GT(text.find("Tatiana Moraes Lenz"), text.find('\f'));
}

TEST(StatementDocument, ValuesAndDatesAsTheScreensWriteThem) {
  const std::string text = DocumentText(operations::StatementDocument({Party("Rodrigo Bastos Lima", "C", 6000.0)}));
  for (const char* expected :
       {"Valor do contrato | 12.000,00", "Valor pago pelo contratante | 6.000,00", "Percentual da multa | 25,00 %",
        "Valor negociado | 1.234.567,50", "Conta a gerar | Conta a Pagar", "CPF: 418.273.645-13",
        "CNPJ 11.222.333/0001-81", "Data do evento: 12/03/2027", "0000008301 | 01 | NF 8301 01/07 | 10/09/2026 | 1.000,00",
        "Nenhuma conta gerada.", "Distrato desfeito | Luciana (OPERADOR) | Sandra (SUPERVISOR)",
        "Porto Alegre - Centro, 08/12/2026.", "Rodrigo Bastos Lima (Contratante)", "Gaúcha Eventos (Contratada)",
        "Distrato: Parcial - consolidado", "Orçamento filho: sequência 02"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST(StatementDocument, AnUndoneRescissionSaysSoAndWhatItDoesNotKnow) {
  const std::string text = DocumentText(operations::StatementDocument({Party("Rodrigo", "D", Variant())}));
  EXPECT_NE(text.find("Valor pago pelo contratante | não registrado"), std::string::npos) << text;
  EXPECT_NE(text.find("Parcial - desfeito"), std::string::npos);
  EXPECT_NE(text.find("Este distrato foi desfeito"), std::string::npos);
}

TEST(StatementDocument, TheSubstituteOrTheQuotasReceiverIsNamed) {
  const struct {
    const char *substitute, *transferred, *label;
  } cases[] = {{"3101", "N", "Substituto: Marcelo Dutra Vieira (CPF 123.456.789-09)"},
               {"3101", "S", "Recebedor das cotas: Marcelo Dutra Vieira"},
               {"", "N", ""}};
  for (const auto& c : cases) {
    const std::string text =
        DocumentText(operations::StatementDocument({Party("Rodrigo", "S", 1.0, c.substitute, c.transferred)}));
    if (*c.label) {
      EXPECT_NE(text.find(c.label), std::string::npos) << text;
    } else {
      EXPECT_EQ(text.find("Marcelo"), std::string::npos) << text;
    }
  }
}

}  // namespace
