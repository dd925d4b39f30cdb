#include "methods/budget_store.h"

#include "methods/packet_builder.h"
#include "methods/packet_shapes.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace budget_store {

DataPacket BranchBudgets(Database& db, const std::string& branch) {
  Statement st = db.prepare(
      "SELECT NRORCAEVENTO, NRSEQORCAEVE, CDFILIAL FROM ORCAEVENTO"
      " WHERE CDFILIAL = ?1 ORDER BY NRORCAEVENTO, NRSEQORCAEVE");
  st.bind(1, branch);
  return QueryPacket(st, BudgetListShape());
}

DataPacket BudgetSequences(Database& db, const BudgetKey& b) {
  Statement st = db.prepare(
      "SELECT NRORCAEVENTO, NRSEQORCAEVE, CDFILIAL FROM ORCAEVENTO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 ORDER BY NRSEQORCAEVE");
  st.bindAll(b.branch, b.budget);
  return QueryPacket(st, BudgetListShape());
}

DataPacket RelatedCompany(Database& db, const BudgetKey& b, const std::optional<std::string>& seq) {
  Statement st = db.prepare(
      "SELECT o.CDEMPRESA FROM ORCAEVENTO o"
      "  JOIN FILIALEMPRESA fe ON fe.CDFILIAL = o.CDFILIAL AND fe.CDEMPRESA = o.CDEMPRESA"
      " WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND (CAST(?3 AS TEXT) IS NULL OR o.NRSEQORCAEVE = ?3)"
      " ORDER BY o.NRSEQORCAEVE LIMIT 1");
  st.bindAll(b.branch, b.budget);
  st.bindOpt(3, seq);
  return QueryPacket(st, CompanyShape());
}

DataPacket SequenceDetail(Database& db, const BudgetKey& b, const std::optional<std::string>& seq) {
  Statement st = db.prepare(
      "SELECT o.IDUTILCUSTOFIXOORCA, o.CDFILIAL, o.NRORCAEVENTO, o.NRSEQORCAEVE, c.NMFANTCLIE, o.CDVENDEDOR"
      "  FROM ORCAEVENTO o JOIN CLIENTE c ON c.CDCLIENTE = o.CDCLIENTE"
      " WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND (CAST(?3 AS TEXT) IS NULL OR o.NRSEQORCAEVE = ?3)"
      " ORDER BY o.NRSEQORCAEVE LIMIT 1");
  st.bindAll(b.branch, b.budget);
  st.bindOpt(3, seq);
  return QueryPacket(st, BudgetDetailShape());
}

Cents ChargedTotal(Database& db, const BudgetKey& b) {
  Statement st = db.prepare(
      "SELECT COALESCE(SUM(VRRECECONTOREV), 0) FROM CONTRATANTE"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND IDSITUCONTOREV <> 'CANCELADO'");
  st.bindAll(b.branch, b.budget);
  return st.step() ? st.integer(0) : 0;  // cents: the sum is exact
}

}  // namespace budget_store
