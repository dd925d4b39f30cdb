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

Variant GetPesqOrca(Database& db, const protocol::GetPesqOrca& args) {
  Statement st = db.prepare(
      "SELECT NRORCAEVENTO, NRSEQORCAEVE, CDFILIAL FROM ORCAEVENTO"
      " WHERE CDFILIAL = ?1 ORDER BY NRORCAEVENTO, NRSEQORCAEVE");
  st.bind(1, KeyCode(args.filial, kBranchWidth));
  return QueryPacket(st, BudgetListShape());
}

Variant GetVdOrca(Database& db, const protocol::GetVdOrca& args) {
  Statement st = db.prepare(
      "SELECT NRORCAEVENTO, NRSEQORCAEVE, CDFILIAL FROM ORCAEVENTO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 ORDER BY NRSEQORCAEVE");
  st.bindAll(KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth));
  return QueryPacket(st, BudgetListShape());
}

// The company recorded on the budget sequence, provided it is related to the
// branch; without a sequence, the budget's first one.
Variant GetEmpresaRelac(Database& db, const protocol::GetEmpresaRelac& args) {
  Statement st = db.prepare(
      "SELECT o.CDEMPRESA FROM ORCAEVENTO o"
      "  JOIN FILIALEMPRESA fe ON fe.CDFILIAL = o.CDFILIAL AND fe.CDEMPRESA = o.CDEMPRESA"
      " WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND (CAST(?3 AS TEXT) IS NULL OR o.NRSEQORCAEVE = ?3)"
      " ORDER BY o.NRSEQORCAEVE LIMIT 1");
  st.bindAll(KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth));
  st.bindOpt(3, SequenceArg(args.sequencial));
  return QueryPacket(st, CompanyShape());
}

// [complementary data of the sequence, grand total of the budget as text].
// The grand total is what the budget charges its parties now: every party of
// every sequence except the cancelled ones, whose value moved to the child
// budget that carries their rescission.
Variant DadosComp(Database& db, const protocol::DadosComp& args) {
  std::string branch = KeyCode(args.filial, kBranchWidth);
  std::string budget = KeyCode(args.orcamento, kBudgetWidth);
  Statement detail = db.prepare(
      "SELECT o.IDUTILCUSTOFIXOORCA, o.CDFILIAL, o.NRORCAEVENTO, o.NRSEQORCAEVE, c.NMFANTCLIE, o.CDVENDEDOR"
      "  FROM ORCAEVENTO o JOIN CLIENTE c ON c.CDCLIENTE = o.CDCLIENTE"
      " WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND (CAST(?3 AS TEXT) IS NULL OR o.NRSEQORCAEVE = ?3)"
      " ORDER BY o.NRSEQORCAEVE LIMIT 1");
  detail.bindAll(branch, budget);
  detail.bindOpt(3, SequenceArg(args.sequencial));
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
  d.add(Transactional(s, GetPesqOrca));
  d.add(Transactional(s, GetVdOrca));
  d.add(Transactional(s, GetEmpresaRelac));
  d.add(Transactional(s, DadosComp));
}
