#include "methods/eligibility_checks.h"

#include "methods/rescission_store.h"
#include "protocol/eligibility.h"
#include "net/refusal.h"

const char* const kBudgetLockedMessage =
    "A situação do orçamento não permite alterações: apenas consulta. Operação bloqueada.";
const char* const kAlreadyInRescissionMessage = "O contratante já está em processo de distrato. Operação bloqueada.";
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
  return rescission_store::ClientSequenceCount(db, branch, budget, client) > 1;
}

void RefuseIfBudgetLocked(Database& db, const std::string& branch, const std::string& budget, const std::string& seq) {
  const std::optional<std::string> situation = rescission_store::SequenceSituation(db, branch, budget, seq);
  if (situation && eligibility::BudgetLocked(*situation)) throw Refusal(kBudgetLockedMessage);
}

void RefuseUnlessPartialRescissionAllowed(Database& db, const std::string& branch, const std::string& budget,
                                          const std::string& seq, const std::string& client,
                                          const std::string& address) {
  // One read for every rule: a writer asks it while other writers of the
  // budget queue behind it.
  const std::optional<rescission_store::PartialRescissionFacts> facts =
      rescission_store::ReadPartialRescissionFacts(db, branch, budget, seq, client, address);
  if (!facts) return;  // the caller names the missing party in its own words
  if (eligibility::BudgetLocked(facts->budgetSituation)) throw Refusal(kBudgetLockedMessage);
  if (eligibility::OnlyTotalRescission(facts->fixedCost)) throw Refusal(kOnlyTotalRescissionMessage);
  if (!facts->partyFound) return;
  // One already in a rescission keeps the caller's own refusal, which says so.
  if (eligibility::PartyInRescission(facts->situation, facts->process)) return;
  if (!facts->substitute.empty()) throw Refusal(kSubstituteRecordedMessage);
  if (!eligibility::PartyOpenForPartialRescission(facts->situation, facts->process, facts->substitute))
    throw Refusal(kNotGeneratedMessage);
  if (eligibility::QuotasBlockPartialRescission(facts->quotaHolder, facts->quotasTransferred,
                                                facts->clientSequences > 1))
    throw Refusal(kQuotasNotTransferredMessage);
}
