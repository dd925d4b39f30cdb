// The filter's look-ups: budgets of a branch, one budget's sequences, its
// company and its complementary data.

#include <cmath>
#include <cstdio>

#include "data/money.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_builder.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

using A = ArgKind;

Variant GetPesqOrca(Database& db, CallArgs& args) {
  Statement st = db.prepare(
      "SELECT NRORCAEVENTO, NRSEQORCAEVE, CDFILIAL FROM ORCAEVENTO"
      " WHERE CDFILIAL = ?1 ORDER BY NRORCAEVENTO, NRSEQORCAEVE");
  st.bind(1, KeyCode(args.text(0), kBranchWidth));
  return QueryPacket(st, BudgetListShape());
}

Variant GetVdOrca(Database& db, CallArgs& args) {
  Statement st = db.prepare(
      "SELECT NRORCAEVENTO, NRSEQORCAEVE, CDFILIAL FROM ORCAEVENTO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 ORDER BY NRSEQORCAEVE");
  st.bindAll(KeyCode(args.text(0), kBranchWidth), KeyCode(args.text(1), kBudgetWidth));
  return QueryPacket(st, BudgetListShape());
}

// The company recorded on the budget sequence, provided it is related to the
// branch; without a sequence, the budget's first one.
Variant GetEmpresaRelac(Database& db, CallArgs& args) {
  Statement st = db.prepare(
      "SELECT o.CDEMPRESA FROM ORCAEVENTO o"
      "  JOIN FILIALEMPRESA fe ON fe.CDFILIAL = o.CDFILIAL AND fe.CDEMPRESA = o.CDEMPRESA"
      " WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND (?3 IS NULL OR o.NRSEQORCAEVE = ?3)"
      " ORDER BY o.NRSEQORCAEVE LIMIT 1");
  st.bindAll(KeyCode(args.text(0), kBranchWidth), KeyCode(args.text(1), kBudgetWidth));
  st.bindOpt(3, SequenceArg(args.text(2)));
  return QueryPacket(st, CompanyShape());
}

// [complementary data of the sequence, grand total of the budget as text].
// The grand total is what the budget charges its parties now: every party of
// every sequence except the cancelled ones, whose value moved to the child
// budget that carries their rescission.
Variant DadosComp(Database& db, CallArgs& args) {
  std::string branch = KeyCode(args.text(0), kBranchWidth);
  std::string budget = KeyCode(args.text(1), kBudgetWidth);
  Statement detail = db.prepare(
      "SELECT o.IDUTILCUSTOFIXOORCA, o.CDFILIAL, o.NRORCAEVENTO, o.NRSEQORCAEVE, c.NMFANTCLIE, o.CDVENDEDOR"
      "  FROM ORCAEVENTO o JOIN CLIENTE c ON c.CDCLIENTE = o.CDCLIENTE"
      " WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND (?3 IS NULL OR o.NRSEQORCAEVE = ?3)"
      " ORDER BY o.NRSEQORCAEVE LIMIT 1");
  detail.bindAll(branch, budget);
  detail.bindOpt(3, SequenceArg(args.text(2)));
  DataPacket packet = QueryPacket(detail, BudgetDetailShape());

  Statement total = db.prepare(
      "SELECT COALESCE(SUM(VRRECECONTOREV), 0) FROM CONTRATANTE"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND IDSITUCONTOREV <> 'CANCELADO'");
  total.bindAll(branch, budget);
  const Cents sum = total.step() ? total.integer(0) : 0;  // cents: the sum is exact
  return MakeArray({Variant(std::move(packet)), Variant(CentsText(sum))});
}

}  // namespace

void RegisterBudgetLookup(Dispatcher& d, Storage& s) {
  d.add({"GetPesqOrca", {A::Text}, Transactional(s, GetPesqOrca)});
  d.add({"GetVdOrca", {A::Text, A::Text}, Transactional(s, GetVdOrca)});
  d.add({"GetEmpresaRelac", {A::Text, A::Text, A::Text}, Transactional(s, GetEmpresaRelac)});
  d.add({"DadosComp", {A::Text, A::Text, A::Text}, Transactional(s, DadosComp)});
}
