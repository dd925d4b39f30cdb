// Bank accounts of a company, and the receivables and payables of a party.

#include <stdexcept>

#include "methods/account_store.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "storage/database.h"
#include "net/refusal.h"

namespace {

// Mode "VD" checks one account code; mode "" lists the company's accounts
// whose code starts with what was typed (all of them when nothing was), plus
// the account the typed digits name once zero-filled.
Variant GetContCorr(Database& db, const protocol::GetContCorr& args) {
  std::string company = KeyCode(args.empresa, kCompanyWidth);
  std::string typed = KeyCode(args.codigo, 0);
  std::string code = KeyCode(typed, kBankAccountWidth);
  std::string mode = KeyCode(args.modo, 0);
  if (mode == "VD") return account_store::BankAccount(db, company, code);
  if (!mode.empty()) throw Refusal("GetContCorr: modo desconhecido: " + mode);
  return account_store::BankAccountsStartingWith(db, company, typed, code);
}

bool inRescission(const std::string& proc) { return proc == "S" || proc == "C"; }

// The first five arguments name the party's accounts; its rescission state,
// inclusion origin and quota-transfer flag choose which of them belong on the
// screen (see README).
Variant GetContas(Database& db, const protocol::GetContas& args) {
  const account_store::PartyAccounts party{
      KeyCode(args.empresa, kCompanyWidth), KeyCode(args.orcamento, kBudgetWidth),
      KeyCode(args.NRSEQORCAEVE, kSequenceWidth), KeyCode(args.CDCLIENTE, 0), KeyCode(args.NRENDCLIORCEVE, 0)};
  const account_store::AccountsShown shown{
      inRescission(KeyCode(args.IDCONTPROCESDIST, 0)),
      KeyCode(args.IDTRANSFCOTAREALI, 0) == "S" || KeyCode(args.IDORIGEMINCLUSAO, 0) == "SUBSTITUICAO"};

  DataPacket receivables = account_store::Receivables(db, party, shown);
  int settled = 0;
  int status = receivables.fieldIndex("IDSTATREC");
  for (const auto& row : receivables.rows)
    if (row[static_cast<std::size_t>(status)].asText() == "B") ++settled;

  DataPacket payables = account_store::Payables(db, party, shown);
  return MakeArray({Variant(std::move(receivables)), Variant(settled), Variant(std::move(payables))});
}

}  // namespace

void RegisterAccounts(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetContCorr));
  d.add(Transactional(s, GetContas));
}
