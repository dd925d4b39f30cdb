#include "methods/eligibility_checks.h"

#include "methods/rescission_store.h"
#include "protocol/eligibility.h"
#include "storage/database.h"
#include "storage/statement.h"

using rescission_store::Refuse;

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
  if (st.step() && eligibility::BudgetLocked(st.text(0))) Refuse(kBudgetLockedMessage);
}

void RefuseUnlessPartialRescissionAllowed(Database& db, const std::string& branch, const std::string& budget,
                                          const std::string& seq, const std::string& client,
                                          const std::string& address) {
  RefuseIfBudgetLocked(db, branch, budget, seq);
  Statement fixedCost = db.prepare(
      "SELECT IDUTILCUSTOFIXOORCA FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3");
  fixedCost.bindAll(branch, budget, seq);
  if (fixedCost.step() && eligibility::OnlyTotalRescission(fixedCost.text(0))) Refuse(kOnlyTotalRescissionMessage);

  Statement party = db.prepare(
      "SELECT IDSITUCONTOREV, IDCONTPROCESDIST, COALESCE(CDCLICONTSUBORE, ''), COALESCE(IDCONTRESPCOTAORCA, ''),"
      "       COALESCE(IDTRANSFCOTAREALI, '') FROM CONTRATANTE"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5");
  party.bindAll(branch, budget, seq, client, address);
  if (!party.step()) return;  // the caller names the missing party in its own words
  // One already in a rescission keeps the caller's own refusal, which says so.
  if (party.text(1) != "N" || party.text(0) == "CANCELADO") return;
  if (!party.text(2).empty()) Refuse(kSubstituteRecordedMessage);
  if (!eligibility::PartyOpenForPartialRescission(party.text(0), party.text(1), party.text(2)))
    Refuse(kNotGeneratedMessage);
  if (eligibility::QuotasBlockPartialRescission(party.text(3), party.text(4),
                                                ClientInSeveralSequences(db, branch, budget, client)))
    Refuse(kQuotasNotTransferredMessage);
}
