#include "methods/eligibility_checks.h"

#include "methods/rescission_store.h"
#include "protocol/eligibility.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"


const char* const kBudgetLockedMessage =
    "A situação do orçamento não permite alterações: apenas consulta. Operação bloqueada.";
const char* const kOnlyTotalRescissionMessage =
    "O orçamento não utiliza custo fixo: somente o distrato total pode ser realizado. Operação bloqueada.";
const char* const kNotGeneratedMessage =
    "Somente o contratante com a situação 'Conta Gerada' pode ser distratado. Operação bloqueada.";
const char* const kSubstituteRecordedMessage =
    "O contratante tem um substituto registrado (troca de titularidade). Operação bloqueada.";
// The screen's own text for the same refusal.
const char* const kQuotasNotTransferredMessage =
    "O distrato parcial não pode ser realizado para o contratante posicionado. Para realizar o distrato é "
    "necessário transferir as cotas para outro contratante (troca de titularidade). Operação bloqueada.";

bool ClientInSeveralSequences(Database& db, const std::string& branch, const std::string& budget,
                              const std::string& client) {
  Statement st = db.prepare(
      "SELECT COUNT(DISTINCT NRSEQORCAEVE) FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND CDCLIENTE = ?3");
  st.bindAll(branch, budget, client);
  st.step();
  return st.integer(0) > 1;
}

void RefuseIfBudgetLocked(Database& db, const std::string& branch, const std::string& budget, const std::string& seq) {
  Statement st = db.prepare(
      "SELECT COALESCE(IDSITUORCEVE, '') FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND NRSEQORCAEVE = ?3");
  st.bindAll(branch, budget, seq);
  if (st.step() && eligibility::BudgetLocked(st.text(0))) throw Refusal(kBudgetLockedMessage);
}

void RefuseUnlessPartialRescissionAllowed(Database& db, const std::string& branch, const std::string& budget,
                                          const std::string& seq, const std::string& client,
                                          const std::string& address) {
  // One read for every rule: a writer asks it while other writers of the
  // budget queue behind it.
  Statement st = db.prepare(
      "SELECT COALESCE(o.IDSITUORCEVE, ''), COALESCE(o.IDUTILCUSTOFIXOORCA, ''), c.CDCLIENTE IS NOT NULL,"
      "       COALESCE(c.IDSITUCONTOREV, ''), COALESCE(c.IDCONTPROCESDIST, ''), COALESCE(c.CDCLICONTSUBORE, ''),"
      "       COALESCE(c.IDCONTRESPCOTAORCA, ''), COALESCE(c.IDTRANSFCOTAREALI, ''),"
      "       (SELECT COUNT(DISTINCT s.NRSEQORCAEVE) FROM CONTRATANTE s"
      "         WHERE s.CDFILIAL = ?1 AND s.NRORCAEVENTO = ?2 AND s.CDCLIENTE = ?4)"
      "  FROM ORCAEVENTO o LEFT JOIN CONTRATANTE c ON c.CDFILIAL = o.CDFILIAL AND c.NRORCAEVENTO = o.NRORCAEVENTO"
      "   AND c.NRSEQORCAEVE = o.NRSEQORCAEVE AND c.CDCLIENTE = ?4 AND c.NRENDCLIORCEVE = ?5"
      " WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND o.NRSEQORCAEVE = ?3");
  st.bindAll(branch, budget, seq, client, address);
  if (!st.step()) return;  // the caller names the missing party in its own words
  if (eligibility::BudgetLocked(st.text(0))) throw Refusal(kBudgetLockedMessage);
  if (eligibility::OnlyTotalRescission(st.text(1))) throw Refusal(kOnlyTotalRescissionMessage);
  if (st.integer(2) == 0) return;
  const std::string situation = st.text(3), process = st.text(4), substitute = st.text(5);
  // One already in a rescission keeps the caller's own refusal, which says so.
  if (process != "N" || situation == "CANCELADO") return;
  if (!substitute.empty()) throw Refusal(kSubstituteRecordedMessage);
  if (!eligibility::PartyOpenForPartialRescission(situation, process, substitute)) throw Refusal(kNotGeneratedMessage);
  if (eligibility::QuotasBlockPartialRescission(st.text(6), st.text(7), st.integer(8) > 1))
    throw Refusal(kQuotasNotTransferredMessage);
}
