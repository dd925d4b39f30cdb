#include "methods/party_query_store.h"

#include "methods/packet_builder.h"
#include "methods/packet_shapes.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace party_query_store {

namespace {

bool exists(Statement& st) { return st.step(); }

bool branchHasParameter(Database& db, const std::string& branch, const char* sqlCondition) {
  Statement st = db.prepare(std::string("SELECT 1 FROM PARAMDISTRATO WHERE CDFILIAL = ?1 AND ") + sqlCondition);
  st.bind(1, branch);
  return exists(st);
}

}  // namespace

bool HasSubstituteParty(Database& db, const BudgetKey& b, const std::optional<std::string>& seq,
                        const std::string& client) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND (CAST(?3 AS TEXT) IS NULL OR NRSEQORCAEVE = ?3) AND (CAST(?4 AS TEXT) IS NULL OR CDCLIENTE = ?4)"
      "   AND IDORIGEMINCLUSAO = 'SUBSTITUICAO' LIMIT 1");
  st.bindAll(b.branch, b.budget);
  st.bindOpt(3, seq);
  st.bindOpt(4, client.empty() ? std::nullopt : std::optional<std::string>(client));
  return exists(st);
}

bool BranchReversesSettlements(Database& db, const std::string& branch) {
  return branchHasParameter(db, branch, "COALESCE(CDTPBAIXADISTRATO, '') <> ''");
}

bool BranchAdjustsRescissions(Database& db, const std::string& branch) {
  return branchHasParameter(db, branch, "COALESCE(CDTPAJUDISTRATO, '') <> ''");
}

bool BranchSubstitutes(Database& db, const std::string& branch) {
  return branchHasParameter(db, branch,
                            "COALESCE(CDTPBXSUBSTCONTORE, '') <> '' AND COALESCE(CDTPAJUSUBCONTORE, '') <> ''"
                            " AND COALESCE(CDPRODSUBSTITUICAO, '') <> ''");
}

bool OtherClientRegistered(Database& db, const std::string& registration, const std::string& client) {
  Statement st = db.prepare("SELECT 1 FROM CLIENTE WHERE NRINSJURCLIE = ?1 AND CDCLIENTE <> ?2");
  st.bindAll(registration, client);
  return exists(st);
}

bool HasOpenReceivable(Database& db, const BudgetKey& b, const std::optional<std::string>& seq,
                       const std::string& client) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND (CAST(?3 AS TEXT) IS NULL OR NRSEQORCAEVE = ?3) AND CDCLIENTE = ?4 AND IDSTATREC = 'A' LIMIT 1");
  st.bindAll(b.branch, b.budget);
  st.bindOpt(3, seq);
  st.bind(4, client);
  return exists(st);
}

DataPacket PartyList(Database& db, const BudgetKey& b) {
  // The budget's sequences are read once, not looked up again for every party.
  Statement st = db.prepare(
      "WITH o AS MATERIALIZED (SELECT NRSEQORCAEVE, IDSITUORCEVE FROM ORCAEVENTO"
      "                         WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2)"
      " SELECT p.IDORIGEMINCLUSAO, p.IDCONTPROCESDIST, p.NRSEQORCAEVE, p.CDCLIENTE, c.NRINSJURCLIE,"
      "       c.IDTPIJURCLIE, c.NMFANTCLIE, AMOUNT(p.VRRECECONTOREV), p.IDSITUCONTOREV, p.NMCONTCLIORE,"
      "       p.NRENDCLIORCEVE, c.NMRAZSOCCLIE, s.NMFANTCLIE, s.IDTPIJURCLIE, s.NRINSJURCLIE,"
      "       p.CDCLICONTSUBORE, p.IDTPDISTRATOREALI, p.IDCHECK, p.IDCONTRESPCOTAORCA, o.IDSITUORCEVE,"
      "       p.IDTRANSFCOTAREALI"
      "  FROM CONTRATANTE p"
      "  JOIN o ON o.NRSEQORCAEVE = p.NRSEQORCAEVE"
      "  JOIN CLIENTE c ON c.CDCLIENTE = p.CDCLIENTE"
      "  LEFT JOIN CLIENTE s ON s.CDCLIENTE = p.CDCLICONTSUBORE"
      " WHERE p.CDFILIAL = ?1 AND p.NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  // Ordered by sequence, trade name, client and address.
  return QueryPacketOrdered(st, PartyShape(), {2, 6, 3, 10});
}

}  // namespace party_query_store
