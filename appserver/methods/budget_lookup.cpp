// The filter's look-ups: budgets of a branch, one budget's sequences, its
// company and its complementary data.

#include "data/money.h"
#include "methods/budget_store.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "storage/database.h"

namespace {

Variant GetPesqOrca(Database& db, const protocol::GetPesqOrca& args) {
  return budget_store::BranchBudgets(db, KeyCode(args.filial, kBranchWidth));
}

Variant GetVdOrca(Database& db, const protocol::GetVdOrca& args) {
  return budget_store::BudgetSequences(db, BudgetArgs(args));
}

// The company recorded on the budget sequence, provided it is related to the
// branch; without a sequence, the budget's first one.
Variant GetEmpresaRelac(Database& db, const protocol::GetEmpresaRelac& args) {
  return budget_store::RelatedCompany(db, BudgetArgs(args), SequenceArg(args.sequencial));
}

// [complementary data of the sequence, grand total of the budget as text].
// The grand total is what the budget charges its parties now: every party of
// every sequence except the cancelled ones, whose value moved to the child
// budget that carries their rescission.
Variant DadosComp(Database& db, const protocol::DadosComp& args) {
  const BudgetKey b = BudgetArgs(args);
  DataPacket packet = budget_store::SequenceDetail(db, b, SequenceArg(args.sequencial));
  const Cents sum = budget_store::ChargedTotal(db, b);
  return MakeArray({Variant(std::move(packet)), Variant(CentsText(sum))});
}

}  // namespace

void RegisterBudgetLookup(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetPesqOrca));
  d.add(Transactional(s, GetVdOrca));
  d.add(Transactional(s, GetEmpresaRelac));
  d.add(Transactional(s, DadosComp));
}
