// The two questions the screen asks before it enables its commands.

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

bool exists(Statement& st) { return st.step(); }

// A party that came into the budget by a substitution.
bool isSubstituteParty(Database& db, const std::string& branch, const std::string& budget,
                       const std::optional<std::string>& seq, const std::string& client) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND (CAST(?3 AS TEXT) IS NULL OR NRSEQORCAEVE = ?3) AND (CAST(?4 AS TEXT) IS NULL OR CDCLIENTE = ?4)"
      "   AND IDORIGEMINCLUSAO = 'SUBSTITUICAO' LIMIT 1");
  st.bindAll(branch, budget);
  st.bindOpt(3, seq);
  st.bindOpt(4, client.empty() ? std::nullopt : std::optional<std::string>(client));
  return exists(st);
}

bool branchHasParameter(Database& db, const std::string& branch, const char* sqlCondition) {
  Statement st = db.prepare(std::string("SELECT 1 FROM PARAMDISTRATO WHERE CDFILIAL = ?1 AND ") + sqlCondition);
  st.bind(1, branch);
  return exists(st);
}

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
  std::string branch = KeyCode(args.filial, kBranchWidth);
  std::string budget = KeyCode(args.orcamento, kBudgetWidth);
  std::optional<std::string> seq = SequenceArg(args.sequencial);
  std::string substitute = RegistrationDigits(args.inscricaoSubstituto);
  std::string client = KeyCode(args.cliente, 0);

  bool f0 = isSubstituteParty(db, branch, budget, std::nullopt, "");
  bool f1 = branchHasParameter(db, branch, "COALESCE(CDTPBAIXADISTRATO, '') <> ''");
  bool f2 = branchHasParameter(db, branch, "COALESCE(CDTPAJUDISTRATO, '') <> ''");
  bool f3 = branchHasParameter(db, branch,
                               "COALESCE(CDTPBXSUBSTCONTORE, '') <> '' AND COALESCE(CDTPAJUSUBCONTORE, '') <> ''"
                               " AND COALESCE(CDPRODSUBSTITUICAO, '') <> ''");
  if (f3 && !substitute.empty()) {
    Statement st = db.prepare("SELECT 1 FROM CLIENTE WHERE NRINSJURCLIE = ?1 AND CDCLIENTE <> ?2");
    st.bindAll(substitute, client);
    f3 = exists(st);
  }
  Statement open = db.prepare(
      "SELECT 1 FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND (CAST(?3 AS TEXT) IS NULL OR NRSEQORCAEVE = ?3) AND CDCLIENTE = ?4 AND IDSTATREC = 'A' LIMIT 1");
  open.bindAll(branch, budget);
  open.bindOpt(3, seq);
  open.bind(4, client);
  bool f4 = exists(open);
  return MakeArray({f0, f1, f2, f3, f4});
}

// True when the party came into the budget by a substitution: its values were
// transferred to it, so it is not rescinded on its own.
Variant NovoContratante(Database& db, const protocol::NovoContratante& args) {
  std::string client = KeyCode(args.cliente, 0);
  if (client.empty()) return false;
  return isSubstituteParty(db, KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth),
                           SequenceArg(args.sequencial), client);
}

}  // namespace

void RegisterCommandQuestions(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetExisContOrca));
  d.add(Transactional(s, NovoContratante));
}
