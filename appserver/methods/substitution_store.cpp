#include "methods/substitution_store.h"

#include "storage/database.h"
#include "storage/statement.h"

namespace substitution_store {

namespace {

// The client columns both client look-ups read, in Client's order.
std::vector<Client> ReadClients(Statement& st) {
  std::vector<Client> clients;
  while (st.step()) clients.push_back({st.text(0), st.text(1), st.text(2), st.text(3), st.text(4)});
  return clients;
}

}  // namespace

std::vector<Contract> LiveContracts(Database& db, const BudgetKey& b, const std::string& client) {
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, IDSITUCONTOREV, AMOUNT(VRRECECONTOREV), IDCONTRESPCOTAORCA"
      "  FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3"
      "   AND IDSITUCONTOREV <> 'CANCELADO'"
      " ORDER BY NRSEQORCAEVE, NRENDCLIORCEVE");
  st.bindAll(b.branch, b.budget, client);
  std::vector<Contract> contracts;
  while (st.step()) contracts.push_back({st.text(0), st.text(1), st.text(2), st.text(3), st.real(4), st.text(5)});
  return contracts;
}

std::vector<Client> ClientsOutsideBudget(Database& db, const BudgetKey& b, const std::string& client) {
  Statement st = db.prepare(
      "SELECT c.NRINSJURCLIE, c.NMFANTCLIE, c.NMRAZSOCCLIE, c.CDCLIENTE, c.IDTPIJURCLIE FROM CLIENTE c"
      " WHERE c.CDCLIENTE <> ?3 AND NOT EXISTS (SELECT 1 FROM CONTRATANTE p WHERE p.CDFILIAL = ?1"
      "       AND p.NRORCAEVENTO = ?2 AND p.CDCLIENTE = c.CDCLIENTE)"
      " ORDER BY c.NMFANTCLIE, c.CDCLIENTE");
  st.bindAll(b.branch, b.budget, client);
  return ReadClients(st);
}

std::vector<Client> ClientsByRegistration(Database& db, const std::string& digits, const std::string& personType) {
  Statement st = db.prepare(
      "SELECT NRINSJURCLIE, NMFANTCLIE, NMRAZSOCCLIE, CDCLIENTE, IDTPIJURCLIE FROM CLIENTE"
      " WHERE NRINSJURCLIE = ?1 AND (?2 NOT IN ('F', 'J') OR IDTPIJURCLIE = ?2)");
  st.bindAll(digits, personType);
  return ReadClients(st);
}

std::optional<std::string> ClientTradeName(Database& db, const std::string& code) {
  Statement st = db.prepare("SELECT NMFANTCLIE FROM CLIENTE WHERE CDCLIENTE = ?1");
  st.bind(1, code);
  if (!st.step()) return std::nullopt;
  return st.text(0);
}

std::optional<Parameters> SubstitutionParameters(Database& db, const std::string& branch) {
  Statement st = db.prepare(
      "SELECT COALESCE(CDTPBXSUBSTCONTORE, ''), COALESCE(CDTPAJUSUBCONTORE, ''), COALESCE(CDPRODSUBSTITUICAO, '')"
      "  FROM PARAMDISTRATO WHERE CDFILIAL = ?1");
  st.bind(1, branch);
  if (!st.step()) return std::nullopt;
  return Parameters{st.text(0), st.text(1), st.text(2)};
}

OpenReceivables OpenReceivablesOf(Database& db, const BudgetKey& b, const Party& p, const std::string& company) {
  Statement st = db.prepare(
      "SELECT COALESCE(SUM(VRATUAREC), 0), COALESCE(MIN(DTATUAVENREC), 0) FROM CONTARECEBER"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
      "   AND IDSTATREC = 'A' AND CDEMPRESA = ?6");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address, company);
  st.step();
  return {st.integer(0), st.real(1)};
}

bool CancelForSubstitute(Database& db, const BudgetKey& b, const Party& p, const std::string& substitute) {
  Statement st = db.prepare(
      "UPDATE CONTRATANTE SET IDSITUCONTOREV = 'CANCELADO', CDCLICONTSUBORE = ?6, QTCONVCONTRAT = 0,"
      "       QTCOTACONTRAT = 0"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4"
      "   AND NRENDCLIORCEVE = ?5 AND IDSITUCONTOREV = 'CNTGERADA' AND IDCONTPROCESDIST = 'N'");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address, substitute).run();
  return db.changes() == 1;
}

void InsertSubstituteParty(Database& db, const BudgetKey& b, const Party& replaced, const std::string& code,
                           const std::string& tradeName, const TakenOver& taken) {
  Statement st = db.prepare(
      "INSERT INTO CONTRATANTE (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NMCONTCLIORE,"
      "   VRRECECONTOREV, IDSITUCONTOREV, IDCONTPROCESDIST, IDORIGEMINCLUSAO, IDCONTRESPCOTAORCA,"
      "   IDTRANSFCOTAREALI, QTCONVCONTRAT, QTCOTACONTRAT)"
      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, 'CNTGERADA', 'N', 'SUBSTITUICAO', ?8, ?9, ?10, ?11)");
  st.bindAll(b.branch, b.budget, replaced.seq, code, replaced.address, tradeName, taken.charged, taken.quotaHolder,
             taken.quotasTransferred, taken.guests, taken.quotas)
      .run();
}

void MoveLiveReceivables(Database& db, const BudgetKey& b, const Party& p, const std::string& substitute) {
  Statement st = db.prepare(
      "UPDATE CONTARECEBER SET CDCLIENTE = ?6 WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDSTATREC IN ('A', 'P')");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address, substitute).run();
}

bool HandOverQuotas(Database& db, const BudgetKey& b, const Party& p, const std::string& receiver, Cents value,
                    std::int64_t guests, std::int64_t quotas) {
  Statement st = db.prepare(
      "UPDATE CONTRATANTE SET IDTRANSFCOTAREALI = 'S', CDCLICONTSUBORE = ?6, VRRECECONTOREV = VRRECECONTOREV - ?7,"
      "       QTCONVCONTRAT = QTCONVCONTRAT - ?8, QTCOTACONTRAT = QTCOTACONTRAT - ?9"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
      "   AND IDSITUCONTOREV = 'CNTGERADA' AND IDCONTPROCESDIST = 'N' AND IDTRANSFCOTAREALI = 'N'");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address, receiver, value, guests, quotas).run();
  return db.changes() == 1;
}

void CancelOpenReceivables(Database& db, const BudgetKey& b, const Party& p, const std::string& company) {
  Statement st = db.prepare(
      "UPDATE CONTARECEBER SET IDSTATREC = 'C' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDSTATREC = 'A' AND CDEMPRESA = ?6");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address, company).run();
}

// One installment: parcel and series "01", documented as "NF <launch> 01/01".
void InsertTransferReceivable(Database& db, const BudgetKey& b, const TransferReceivable& r) {
  Statement st = db.prepare(
      "INSERT INTO CONTARECEBER (CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, CDEMPRESA, NRORCAEVENTO,"
      "   NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENREC, DTATUAVENREC, VRORIGREC, VRATUAREC,"
      "   IDSTATREC, IDORIGNFORCA, CDCONTCORR)"
      " VALUES (?1, ?2, '01', '01', ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?9, ?10, ?10, 'A', 'G', ?11)");
  st.bindAll(b.branch, r.launch, r.company, b.budget, r.seq, r.client, r.address, "NF " + r.launch + " 01/01", r.due,
             r.value);
  st.bindOpt(11, r.bankAccount);
  st.run();
}

}  // namespace substitution_store
