// The rescission statement: what the party signs, from what the server
// recorded. The queries are in statement_store.

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_builder.h"
#include "methods/rescission_store.h"
#include "methods/statement_store.h"
#include "storage/database.h"
#include "net/refusal.h"

namespace {

using namespace rescission_store;
using statement_store::RescissionState;

FieldDef Text(const char* name, int size) { return {name, FieldType::String, size}; }
FieldDef Number(const char* name) { return {name, FieldType::Float, 0}; }
FieldDef Date(const char* name) { return {name, FieldType::DateTime, 0}; }

Variant Amount(const std::optional<Cents>& cents) { return cents ? Variant(FromCents(*cents)) : Variant(); }
Variant Day(const std::optional<double>& days) { return days ? Variant(DateTime{*days}) : Variant(); }

const char* StateCode(RescissionState s) {
  switch (s) {
    case RescissionState::Started: return "S";
    case RescissionState::Consolidated: return "C";
    case RescissionState::Undone: return "D";
  }
  return "";
}

// The first element: one row with everything but the lists.
DataPacket StatementRow(Database& db, const BudgetKey& b, const Party& p, RescissionState state,
                        const statement_store::Values& v) {
  DataPacket out({Text("NMEMPRESA", 50),        Text("NRINSJUREMPR", 20),    Text("CDFILIAL", 4),
                  Text("NMFILIAL", 50),         Text("NRORCAEVENTO", 10),    Text("NRSEQORCAEVE", 2),
                  Text("NMCLIEORCA", 50),       Date("DTEVENTO"),            Date("DTPROCESSAMENTO"),
                  Text("CDCLIENTE", 21),        Text("NRENDCLIORCEVE", 10),  Text("NMRAZSOCCLIE", 50),
                  Text("NMFANTCLIE", 50),       Text("IDTPIJURCLIE", 1),     Text("NRINSJURCLIE", 20),
                  Text("IDTPDISTRATOREALI", 10), Text("IDESTADODISTRATO", 1), Number("VRRECECONTOREV"),
                  Number("VRPAGO"),             Number("VRPERCMULTA"),       Number("VRMULTA"),
                  Number("VRORIGRECNOEDIT"),    Number("VRORIGREC"),         Text("GERACTPAGAR", 10),
                  Text("NRSEQORCAEVEFILHO", 2), Text("CDCLICONTSUBORE", 21), Text("NMFANTSUB", 50),
                  Text("IDTPIJURCLIESUB", 1),   Text("NRINSJURCLIESUB", 20), Text("IDTRANSFCOTAREALI", 1)});
  const statement_store::Heading h = statement_store::ReadHeading(db, b, p.seq);
  // An undone rescission has no type left on the party: only a partial one
  // leaves its undo in the trail under the party.
  const std::string type = state == RescissionState::Undone ? "PARCIAL" : p.type;
  out.addRow({h.company, h.companyRegistration, b.branch, h.branchName, b.budget, p.seq, h.budgetClient,
              Day(h.eventDay), Day(h.processingDay), p.client, p.address, statement_store::CorporateName(db, p.client),
              p.name, p.personType, p.registration, type, StateCode(state), Variant(FromCents(p.charged)),
              Amount(v.paid), v.percent ? Variant(*v.percent) : Variant(), Amount(v.fine), Amount(v.calculated),
              Amount(v.negotiated), v.account, v.childSeq, p.substitute, p.substituteName, p.substituteType,
              p.substituteRegistration, statement_store::QuotasTransferred(db, b, p.key()) ? "S" : "N"});
  return out;
}

DataPacket CancelledPacket(Database& db, const BudgetKey& b, const PartyKey& k) {
  DataPacket out({Text("NRLANCTONF", 10), Text("NRPARCELAREC", 2), Text("DOCUMENTO", 20), Date("DTATUAVENREC"),
                  Number("VRATUAREC")});
  for (const auto& r : statement_store::CancelledInstallments(db, b, k))
    out.addRow({r.launch, r.installment, r.document, DateTime{r.due}, FromCents(r.value)});
  return out;
}

DataPacket GeneratedPacket(Database& db, const BudgetKey& b, const PartyKey& k) {
  DataPacket out({Text("TIPOCONTA", 7), Text("DOCUMENTO", 20), Text("NRPARCELA", 2), Text("IDSTATCONTA", 1),
                  Date("DTVENCIMENTO"), Number("VRPARCELA"), Text("CDBANCO", 3), Text("CDAGENCIA", 5),
                  Text("CDCONTCORR", 20), Text("DSCONTCORR", 20)});
  for (const auto& r : statement_store::GeneratedAccounts(db, b, k))
    out.addRow({r.kind, r.document, r.installment, r.status, DateTime{r.due}, FromCents(r.value), r.bank, r.agency,
                r.account, r.accountName});
  return out;
}

DataPacket HistoryPacket(Database& db, const BudgetKey& b, const PartyKey& k, bool total) {
  DataPacket out({Text("DTHRLOCAL", 16), Text("NMMETODO", 30), Text("CDOPERADOR", 20), Text("NMOPERADOR", 50),
                  Text("CDOPERAPROV", 20), Text("NMOPERAPROV", 50), Text("DSVALORES", 200), Text("IDORCAMENTO", 1)});
  for (const auto& r : statement_store::History(db, b, k, total))
    out.addRow({statement_store::LocalStampText(r.whenUtc), r.method, r.operatorCode, r.operatorName, r.approverCode,
                r.approverName, r.amounts, r.wholeBudget ? "S" : "N"});
  return out;
}

Variant GetTermoDistrato(Database& db, const protocol::GetTermoDistrato& args) {
  const BudgetKey b{KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth)};
  const Party p = RequireParty(db, b, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE);

  RescissionState state = RescissionState::Started;
  statement_store::Values values;
  if (p.process == "S" || p.process == "C") {
    state = p.process == "C" ? RescissionState::Consolidated : RescissionState::Started;
    const Recorded r = RecordedOrPriced(RecordedForBudget(db, b), p, FineBands(db, b.branch));
    values = {r.values.paid, r.values.calculated, r.negotiated, r.values.fine, r.values.percent, r.values.account,
              r.childSeq};
  } else if (statement_store::WasUndone(db, b, p.key())) {
    state = RescissionState::Undone;
    values = statement_store::UndoneValues(db, b, p.key());
  } else {
    throw Refusal("O contratante " + p.name + " não tem distrato: não há termo de distrato a emitir.");
  }
  const bool total = state != RescissionState::Undone && p.type == "TOTAL";
  return MakeArray({Variant(StatementRow(db, b, p, state, values)), Variant(CancelledPacket(db, b, p.key())),
                    Variant(GeneratedPacket(db, b, p.key())), Variant(HistoryPacket(db, b, p.key(), total))});
}

Variant GetDistratosDesfeitos(Database& db, const protocol::GetDistratosDesfeitos& args) {
  const BudgetKey b{KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth)};
  DataPacket out({{"NRSEQORCAEVE", FieldType::FixedString, 2}, Text("CDCLIENTE", 21), Text("NRENDCLIORCEVE", 10)});
  for (const PartyKey& k : statement_store::UndoneParties(db, b)) out.addRow({k.seq, k.client, k.address});
  return Variant(std::move(out));
}

}  // namespace

void RegisterStatement(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetTermoDistrato));
  d.add(Transactional(s, GetDistratosDesfeitos));
}
