// The two questions the screen asks before it enables its commands.

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/party_query_store.h"
#include "storage/database.h"

namespace {

// Flags, in order:
//  0 the budget has a party that came in by a substitution (NovoContratante
//    then tells whether the current party is one);
//  1 the branch has the settlement type that reverses settlements on a
//    rescission (without it a party with a settlement cannot be consolidated);
//  2 the branch has the adjustment type of a rescission (same effect);
//  3 the branch has the substitution parameters (settlement type, adjustment
//    type, product) and the substitute typed, if any, is a registered client
//    other than the party;
//  4 the party has an open receivable in the budget, so a rescission has
//    something to act on.
Variant GetExisContOrca(Database& db, const protocol::GetExisContOrca& args) {
  const BudgetKey b = BudgetArgs(args);
  std::optional<std::string> seq = SequenceArg(args.sequencial);
  std::string substitute = RegistrationDigits(args.inscricaoSubstituto);
  std::string client = KeyCode(args.cliente, 0);

  bool f0 = party_query_store::HasSubstituteParty(db, b, std::nullopt, "");
  bool f1 = party_query_store::BranchReversesSettlements(db, b.branch);
  bool f2 = party_query_store::BranchAdjustsRescissions(db, b.branch);
  bool f3 = party_query_store::BranchSubstitutes(db, b.branch);
  if (f3 && !substitute.empty()) f3 = party_query_store::OtherClientRegistered(db, substitute, client);
  bool f4 = party_query_store::HasOpenReceivable(db, b, seq, client);
  return MakeArray({f0, f1, f2, f3, f4});
}

// True when the party came into the budget by a substitution: its values were
// transferred to it, so it is not rescinded on its own.
Variant NovoContratante(Database& db, const protocol::NovoContratante& args) {
  std::string client = KeyCode(args.cliente, 0);
  if (client.empty()) return false;
  return party_query_store::HasSubstituteParty(db, BudgetArgs(args), SequenceArg(args.sequencial), client);
}

}  // namespace

void RegisterCommandQuestions(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetExisContOrca));
  d.add(Transactional(s, NovoContratante));
}
