// The list of contracting parties of a budget, every sequence included.

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/party_query_store.h"
#include "storage/database.h"

namespace {

Variant GetContratante(Database& db, const protocol::GetContratante& args) {
  return party_query_store::PartyList(db, BudgetArgs(args));
}

}  // namespace

void RegisterParties(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetContratante));
}
