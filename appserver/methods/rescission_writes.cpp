#include "methods/rescission_store.h"

#include "storage/database.h"

namespace rescission_store {

void WriteChildBudget(Database& db, const BudgetKey& b, const std::string& parentSeq, const std::string& child,
                      const std::string& client, int guests, int quotas) {
  Statement budget = db.prepare(
      "INSERT INTO ORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRSEQORCAEVEPAI, IDSITUORCEVE,"
      "   IDUTILCUSTOFIXOORCA, IDORCAAPROVADO, CDCLIENTE, CDVENDEDOR, CDEMPRESA, DTORCAMENTO, DTEVENTO,"
      "   QTCONVIDADOS, QTCOTAS)"
      " SELECT CDFILIAL, NRORCAEVENTO, ?4, NRSEQORCAEVE, '3', IDUTILCUSTOFIXOORCA, IDORCAAPROVADO,"
      "        CASE WHEN ?5 = '' THEN CDCLIENTE ELSE ?5 END, CDVENDEDOR, CDEMPRESA, ?8, DTEVENTO, ?6, ?7"
      "   FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3");
  // The child budget is dated on the branch's business day, like every other rule.
  budget.bindAll(b.branch, b.budget, parentSeq, child, client, guests, quotas, ProcessingDate(db, b.branch).days)
      .run();
}

RescissionRecorder::RescissionRecorder(Database& db, const BudgetKey& b, const char* kind)
    : b_(b),
      cancel_(db.prepare(
          std::string("UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'S', IDSITUCONTOREV = 'CANCELADO', IDTPDISTRATOREALI = '") +
          kind +
          "' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4"
          "   AND NRENDCLIORCEVE = ?5 AND IDCONTPROCESDIST = 'N'")),
      receivables_(db.prepare(
          "UPDATE CONTARECEBER SET IDSTATREC = 'C', IDSTATRECDISTRATO = IDSTATREC WHERE CDFILIAL = ?1"
          "   AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
          "   AND IDSTATREC IN ('A', 'P')")),
      member_(db,
              "INSERT INTO CONTRATANTE (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE,"
              "   NMCONTCLIORE, VRRECECONTOREV, IDSITUCONTOREV, IDCONTPROCESDIST, IDORIGEMINCLUSAO,"
              "   IDTPDISTRATOREALI, QTCONVCONTRAT, QTCOTACONTRAT)",
              std::string("(?, ?, ?, ?, ?, ?, ?, 'LANCADO', 'S', 'DISTRATO', '") + kind + "', ?, ?)"),
      item_(db, "INSERT INTO ITEMORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRITEM, CDARVPROD, QTITEM, VRUNITITEM)",
            "(?, ?, ?, ?, ?, 1, ?)"),
      record_(db,
              "INSERT INTO DISTRATOPARCIAL (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE,"
              "   NRSEQORCAEVEFILHO, VRPAGO, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, CDOPERADOR,"
              "   IDSITUCONTOREVANT)",
              "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)") {}

void RescissionRecorder::cancel(const Party& p) { cancel_.bindAll(b_.branch, b_.budget, p.seq, p.client, p.address).run(); }

void RescissionRecorder::cancelReceivables(const Party& p) {
  receivables_.bindAll(b_.branch, b_.budget, p.seq, p.client, p.address).run();
}

void RescissionRecorder::addToChild(const std::string& child, const Party& p, Cents negotiated) {
  member_.add(b_.branch, b_.budget, child, p.client, p.address, p.contact, negotiated, p.guests, p.quotas);
}

void RescissionRecorder::addFine(const std::string& child, int item, const std::string& product, Cents fine) {
  item_.add(b_.branch, b_.budget, child, item, product, fine);
}

void RescissionRecorder::record(const Party& p, const std::string& child, const RescissionValues& v, Cents negotiated,
                                const std::string& operatorCode) {
  record_.add(b_.branch, b_.budget, p.seq, p.client, p.address, child, v.paid, v.calculated, negotiated, v.percent,
              v.fine, v.account, operatorCode, p.situation);
}

void RescissionRecorder::finish() {
  member_.flush();
  item_.flush();
  record_.flush();
}

std::string OfContractsWhere(const char* condition) {
  return std::string(
             " AND (NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE) IN ("
             "   SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE FROM CONTRATANTE"
             "    WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND ") +
         condition + ")";
}

std::int64_t CancelFreeParties(Database& db, const BudgetKey& b, const char* kind) {
  // The receivables first, while their contracts are still free.
  Statement receivables = db.prepare(
      "UPDATE CONTARECEBER SET IDSTATREC = 'C', IDSTATRECDISTRATO = IDSTATREC"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND IDSTATREC IN ('A', 'P')" +
      OfContractsWhere(kFreeContract));
  receivables.bindAll(b.branch, b.budget).run();
  Statement contracts = db.prepare(
      std::string("UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'S', IDSITUCONTOREV = 'CANCELADO', IDTPDISTRATOREALI = '") +
      kind + "' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND " + kFreeContract);
  contracts.bindAll(b.branch, b.budget).run();
  return db.changes();
}

}  // namespace rescission_store
