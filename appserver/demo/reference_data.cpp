// Branches, companies, bank accounts, sellers, products, settlement types,
// operation parameters, fine percentages and operators.

#include "demo/calendar.h"
#include "demo/demo_database.h"
#include "demo/registration.h"
#include "lib/criptografa.h"
#include "session/operator_password.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

void branches(Database& db) {
  // Every branch works on the demo's business day, so its screens are the same in any year.
  Statement st =
      db.prepare("INSERT INTO FILIAL (CDFILIAL, NMFILIAL, CDSERIEPADRAO, DTPROCESSAMENTO) VALUES (?, ?, ?, ?)");
  const double today = DemoBusinessDay();
  st.bindAll("0001", "Porto Alegre - Centro", "1", today).run();
  st.bindAll("0002", "Santa Maria", "1", today).run();
  st.bindAll("0003", "Caxias do Sul", nullptr, today).run();
}

void companies(Database& db) {
  Statement st = db.prepare("INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA, NRINSJUREMPR, NRINSCESTA) VALUES (?, ?, ?, ?)");
  st.bindAll("01", "Gaúcha Eventos e Formaturas Ltda", MakeCnpj("112223330001"), "0960123456").run();
  st.bindAll("02", "Serra Gaúcha Cerimonial Ltda", MakeCnpj("445556660001"), "0290654321").run();
  Statement rel = db.prepare("INSERT INTO FILIALEMPRESA (CDFILIAL, CDEMPRESA) VALUES (?, ?)");
  rel.bindAll("0001", "01").run();
  rel.bindAll("0002", "01").run();
  rel.bindAll("0002", "02").run();
  rel.bindAll("0003", "02").run();
}

void bankAccounts(Database& db) {
  Statement st = db.prepare(
      "INSERT INTO CONTACORRENTE (CDEMPRESA, CDREDUCONT, CDBANCO, CDAGENCIA, CDCONTCORR, DSCONTCORR, CDCONTCTBL,"
      " CDPICTCONT, CDPICTAGEN) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
  st.bindAll("01", "001", "001", "34527", "1203456", "BB Movimento", "1.1.1.02.001", "99999-9", "9999-9").run();
  st.bindAll("01", "002", "104", "04411", "00023456", "Caixa Cobrança", "1.1.1.02.002", "9999999-9", "9999-9").run();
  st.bindAll("01", "003", "341", "07122", "458963", "Itaú Aplicação", "1.1.1.02.003", "99999-9", "9999-9").run();
  st.bindAll("02", "001", "033", "10230", "130045678", "Santander Movimento", "1.1.1.02.001", "99999999-9",
             "9999-9")
      .run();
  st.bindAll("02", "004", "041", "00981", "0612345", "Banrisul Cobrança", "1.1.1.02.004", "999999-9", "9999-9")
      .run();
}

void sellersAndProducts(Database& db) {
  Statement seller = db.prepare("INSERT INTO VENDEDOR (CDVENDEDOR, NMFANVEN, VRPERCCOMIS) VALUES (?, ?, ?)");
  seller.bindAll("0001", "Roberta Menezes", 3.0).run();
  seller.bindAll("0002", "Paulo Vieira", 2.5).run();
  Statement product = db.prepare("INSERT INTO PRODUTO (CDARVPROD, NMPRODUTO, CDGRUPROD) VALUES (?, ?, ?)");
  product.bindAll("0101001", "Pacote de formatura", "FORMAT").run();
  product.bindAll("0101002", "Convite extra de baile", "FORMAT").run();
  product.bindAll("0901001", "Multa por distrato comercial", "MULTA").run();
  product.bindAll("0901002", "Taxa de troca de titularidade", "MULTA").run();
}

void settlementTypes(Database& db) {
  Statement st = db.prepare(
      "INSERT INTO TIPOBAIXA (CDTPBAIXAREC, DSTPBAIXA, IDCOMPENSACAO, IDADIANTAMENTO) VALUES (?, ?, ?, ?)");
  st.bindAll("01", "Dinheiro", "N", "N").run();
  st.bindAll("02", "Boleto bancário", "N", "N").run();
  st.bindAll("05", "Compensação entre contas", "S", "N").run();
  st.bindAll("07", "Adiantamento", "N", "S").run();
  st.bindAll("10", "Baixa por distrato", "N", "N").run();
  st.bindAll("11", "Baixa por troca de titularidade", "N", "N").run();
}

// Branch 0001 has every parameter; 0002 lacks the rescission settlement type,
// the entry series and the substitution parameters; 0003 has none.
void parameters(Database& db) {
  Statement st = db.prepare(
      "INSERT INTO PARAMDISTRATO (CDFILIAL, CDTIPOOPER, CDTPCTREC, CDTIPOOPERPAG, CDTPCTPAG, CDSERIEENTR,"
      " CDTPBAIXADISTRATO, CDTPAJUDISTRATO, CDPRODDISTRATO, CDGRUPRODDISTRATO, CDTPBXSUBSTCONTORE,"
      " CDTPAJUSUBCONTORE, CDPRODSUBSTITUICAO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  st.bindAll("0001", "501", "DIS", "601", "DEV", "E1", "10", "AJD", "0901001", "MULTA", "11", "AJT", "0901002")
      .run();
  st.bindAll("0002", "501", "DIS", "601", "DEV", nullptr, nullptr, "AJD", "0901001", "MULTA", nullptr, nullptr,
             nullptr)
      .run();

  Statement fine = db.prepare(
      "INSERT INTO PERCMULTADISTRATO (CDFILIAL, VRPERCPAGOINI, VRPERCPAGOFIM, VRPERCMULTA) VALUES (?, ?, ?, ?)");
  const double table[][3] = {{0, 10, 10}, {10, 30, 15}, {30, 50, 20}, {50, 70, 25}, {70, 100.01, 30}};
  for (const auto& band : table) fine.bindAll("0001", band[0], band[1], band[2]).run();
  // Santa Maria has no band for parties that paid 70 % or more.
  for (int i = 0; i < 4; ++i) fine.bindAll("0002", table[i][0], table[i][1], table[i][2]).run();
}

void operators(Database& db) {
  Statement st = db.prepare(
      "INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, CDVENDEDOR, CDSENHOPER, IDPAPEL) VALUES (?, ?, ?, ?, ?)");
  st.bindAll(demo::kSupervisor, "Sandra Regina Lopes", nullptr, HashOperatorPassword(demo::kSupervisorPassword),
             "SUPERVISOR")
      .run();
  st.bindAll("GERENTE", "Marcos Antônio Bauer", "0001", HashOperatorPassword("GERENTE1"), "GERENTE").run();
  st.bindAll("OPERADOR", "Luciana Schmitt", "0002", HashOperatorPassword("OPERADOR1"), "OPERADOR").run();
}

}  // namespace

void WriteReferenceData(Database& db) {
  branches(db);
  companies(db);
  bankAccounts(db);
  sellersAndProducts(db);
  settlementTypes(db);
  parameters(db);
  operators(db);
}
