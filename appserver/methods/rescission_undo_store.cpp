#include "methods/rescission_undo_store.h"

#include "storage/database.h"
#include "storage/statement.h"

namespace rescission_store {

bool CommissionGenerated(Database& db, const BudgetKey& b, const std::string& client) {
  Statement st = db.prepare(
      "SELECT 1 FROM COMISSAOVENDEDOR m WHERE m.CDFILIAL = ?1 AND m.NRORCAEVENTO = ?2 AND m.IDCOMISGERADA = 'S'"
      "   AND (?3 = '' OR m.NRSEQORCAEVE IN (SELECT NRSEQORCAEVE FROM CONTRATANTE WHERE CDFILIAL = ?1"
      "                                        AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3)) LIMIT 1");
  st.bindAll(b.branch, b.budget, client);
  return st.step();
}

std::string ChildSequenceByPartyRow(Database& db, const BudgetKey& b, const Party& p) {
  Statement st = db.prepare(
      "SELECT c.NRSEQORCAEVE FROM CONTRATANTE c JOIN ORCAEVENTO o ON o.CDFILIAL = c.CDFILIAL"
      "   AND o.NRORCAEVENTO = c.NRORCAEVENTO AND o.NRSEQORCAEVE = c.NRSEQORCAEVE"
      " WHERE c.CDFILIAL = ?1 AND c.NRORCAEVENTO = ?2 AND o.NRSEQORCAEVEPAI = ?3 AND c.CDCLIENTE = ?4"
      "   AND c.NRENDCLIORCEVE = ?5 AND c.IDORIGEMINCLUSAO = 'DISTRATO' LIMIT 1");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address);
  return st.step() ? st.text(0) : "";
}

bool GeneratedAccountSettled(Database& db, const BudgetKey& b, const Party& p, const std::string& origin) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTARECEBER r WHERE r.CDFILIAL = ?1 AND r.NRORCAEVENTO = ?2 AND r.NRSEQORCAEVE = ?3"
      "   AND r.CDCLIENTE = ?4 AND r.NRENDCLIORCEVE = ?5 AND r.IDORIGNFORCA = ?6"
      "   AND (r.IDSTATREC = 'B' OR EXISTS (SELECT 1 FROM BAIXAREC x WHERE x.CDFILIAL = r.CDFILIAL"
      "        AND x.NRLANCTONF = r.NRLANCTONF AND x.NRPARCELAREC = r.NRPARCELAREC AND x.NRSEQVENREC = r.NRSEQVENREC))"
      " UNION ALL "
      "SELECT 1 FROM CONTAPAGAR WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDORIGNFORCA = ?6 AND IDSTATPAG = 'B' LIMIT 1");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address, origin);
  return st.step();
}

Cents GeneratedAmount(Database& db, const BudgetKey& b, const Party& p, const std::string& origin) {
  Statement st = db.prepare(
      "SELECT (SELECT COALESCE(SUM(VRORIGREC), 0) FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "          AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDORIGNFORCA = ?6)"
      "     + (SELECT COALESCE(SUM(VRORIGPAG), 0) FROM CONTAPAGAR WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "          AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDORIGNFORCA = ?6)");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address, origin);
  st.step();
  return st.integer(0);
}

bool ClosingGeneratedReceivables(Database& db, const BudgetKey& b, const Party& p) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDORIGNFORCA = 'F' LIMIT 1");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address);
  return st.step();
}

bool SequenceHasParties(Database& db, const BudgetKey& b, const std::string& seq) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 LIMIT 1");
  st.bindAll(b.branch, b.budget, seq);
  return st.step();
}

void RemoveGeneratedAccounts(Database& db, const BudgetKey& b, const Party& p, const std::string& origin) {
  for (const char* sql :
       {"DELETE FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
        "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDORIGNFORCA = ?6",
        "DELETE FROM CONTAPAGAR WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
        "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDORIGNFORCA = ?6"}) {
    Statement st = db.prepare(sql);
    st.bindAll(b.branch, b.budget, p.seq, p.client, p.address, origin).run();
  }
}

void RestoreCancelledReceivables(Database& db, const BudgetKey& b, const Party& p) {
  Statement st = db.prepare(
      "UPDATE CONTARECEBER SET IDSTATREC = COALESCE(IDSTATRECDISTRATO, IDSTATREC), IDSTATRECDISTRATO = NULL,"
      "       IDBAIXAREALIZADA = COALESCE(IDBAIXAREALDISTRATO, IDBAIXAREALIZADA), IDBAIXAREALDISTRATO = NULL"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
      "   AND (IDSTATRECDISTRATO IS NOT NULL OR IDBAIXAREALDISTRATO IS NOT NULL)");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address).run();
}

void RemoveFromChildBudget(Database& db, const BudgetKey& b, const std::string& childSeq, const Party& p) {
  Statement st = db.prepare(
      "DELETE FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDORIGEMINCLUSAO = 'DISTRATO'");
  st.bindAll(b.branch, b.budget, childSeq, p.client, p.address).run();
}

void RemoveRecordedValues(Database& db, const BudgetKey& b, const Party& p) {
  Statement st = db.prepare(
      "DELETE FROM DISTRATOPARCIAL WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address).run();
}

bool FreeParty(Database& db, const BudgetKey& b, const Party& p, const std::string& situation) {
  Statement st = db.prepare(
      "UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'N', IDSITUCONTOREV = ?6, IDTPDISTRATOREALI = NULL"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
      "   AND IDCONTPROCESDIST = ?7");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address, situation, p.process).run();
  return db.changes() == 1;
}

void RemoveSequence(Database& db, const BudgetKey& b, const std::string& seq) {
  for (const char* sql : {"DELETE FROM ITEMORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3",
                          "DELETE FROM COMISSAOVENDEDOR WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3",
                          "DELETE FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"}) {
    Statement st = db.prepare(sql);
    st.bindAll(b.branch, b.budget, seq).run();
  }
}

}  // namespace rescission_store
