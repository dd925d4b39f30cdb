// The partial rescission of one contracting party: whether it still holds
// the budget's quotas alone (GetContratRepetSeq), what it costs
// (ConfirmaValores) and its recording with the child budget that carries it
// (Distrato). Rules in appserver/README.md, "Rescission".

#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/money.h"
#include "audit/audit_trail.h"
#include "data/packet.h"
#include "methods/eligibility_checks.h"
#include "protocol/eligibility.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_reading.h"
#include "methods/rescission_store.h"
#include "methods/rescission_rules.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace {

using namespace rescission_store;
using packet_reading::MoneyArg;

// The party a call names, with what its receivables hold now; refuses one
// the budget lacks.
Party ReadParty(Database& db, const BudgetKey& b, const std::string& seqArg, const std::string& clientArg,
                const std::string& addressArg, ContractSought sought = ContractSought::kFirst) {
  const std::string client = KeyCode(clientArg, 0);
  const std::string address = KeyCode(addressArg, 0);
  const std::string seq = PartySequence(db, b, seqArg, client, address, sought);
  std::optional<Party> party = seq.empty() ? std::nullopt : LoadParty(db, b, seq, client, address);
  if (!party) throw Refusal("Contratante " + client + " não encontrado no orçamento " + b.budget + ".");
  return *party;
}

void RefuseUnlessFree(const Party& p) {
  if (eligibility::PartyInRescission(p.situation, p.process)) throw Refusal(kAlreadyInRescissionMessage);
}

// Prices the rescission from the party's current accounts; refuses a party
// that paid nothing (there is nothing to apply a fine percentage on) and a
// share that no fine band of the branch covers.
RescissionValues Calculate(Database& db, const BudgetKey& b, const Party& p) {
  if (p.paid <= 0) throw Refusal("N_PARAM_N_APLICA_MULTA");
  const double share = SharePaid(p.charged, p.paid);
  std::optional<double> percent = FinePercentFor(FineBands(db, b.branch), share);
  if (!percent) throw Refusal("N_PARAM_DISTRATO|" + ShareText(share));
  return PriceRescission(p.charged, p.paid, *percent);
}

FieldDef Text(const char* name, int size) { return {name, FieldType::String, size}; }
FieldDef Number(const char* name) { return {name, FieldType::Float, 0}; }

// The values row the screen loads into cdsValores (every field it declares).
DataPacket ValuesPacket(const BudgetKey& b, const Party& party, const std::string& company, const RescissionValues& v, Cents negotiated,
                        Cents openBalance) {
  DataPacket p({Text("GERACTPAGAR", 20), Text("CDFILIALNF", 4), Text("NRLANCTONF", 10), Text("NRSEQVENREC", 2),
                Text("NRPARCELAREC", 2), Text("CDFILIBOLREC", 4), Text("NRLANBOLREC", 10), Text("IDSTATREC", 1),
                Text("CDEMPRESA", 2), Text("CDCLASSFINA", 6), Text("CDFIMOVFLREC", 4),
                {"DTMOVFLUXO", FieldType::DateTime, 0}, Text("IDMOVFLUXO", 1), Number("VRPERCMULTA"),
                Number("VRORIGREC"), Text("NRENDCLIORCEVE", 10), Number("VRORIGRECNOEDIT"),
                Text("NRSEQHISTRENEGO", 10), Number("VRATUAREC"), Number("VRMULTA")});
  p.addRow({Variant(v.account), Variant(b.branch), Variant(""), Variant(""), Variant(""), Variant(""), Variant(""),
            Variant("A"), Variant(KeyCode(company, kCompanyWidth)), Variant(""), Variant(""), Variant(), Variant(""),
            Variant(v.percent), Variant(FromCents(negotiated)), Variant(party.address), Variant(FromCents(v.calculated)),
            Variant(""), Variant(FromCents(openBalance)), Variant(FromCents(v.fine))});
  return p;
}

// True when the client is a party of more than one sequence of the budget.
Variant GetContratRepetSeq(Database& db, const protocol::GetContratRepetSeq& args) {
  return ClientInSeveralSequences(db, KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth),
                                  KeyCode(args.cliente, 0));
}

// [values row, amount the party has paid, calculated value]. Mode "N" prices
// a party about to be rescinded; mode "S" answers what its rescission was
// recorded with (priced again when nothing was recorded).
Variant ConfirmaValores(Database& db, const protocol::ConfirmaValores& args) {
  const std::string mode = KeyCode(args.modo, 0);
  if (mode != "N" && mode != "S") throw Refusal("ConfirmaValores: modo inválido \"" + args.modo + "\".");
  // Mode "S" reads a recorded rescission: "seq" names the contract in one.
  const BudgetKey b = BudgetArgs(args);
  const Party party = ReadParty(db, b, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE,
                                mode == "S" ? ContractSought::kInPartialRescission : ContractSought::kFirst);
  RescissionValues v;
  Cents negotiated = 0;
  if (mode == "N") {
    RefuseUnlessFree(party);
    v = Calculate(db, b, party);
    negotiated = v.calculated;
  } else if (std::optional<Recorded> recorded = RecordedValues(db, b, party)) {
    v = recorded->values;
    negotiated = recorded->negotiated;
  } else {
    v = Calculate(db, b, party);
    negotiated = v.calculated;
  }
  return MakeArray({Variant(ValuesPacket(b, party, args.empresa, v, negotiated, OpenBalance(db, b, party))),
                    Variant(FromCents(v.paid)), Variant(FromCents(v.calculated))});
}

// Records the rescission: the party cancelled and in process, its open and
// planned receivables cancelled, the child budget with the fine product and
// the negotiated value, and the values confirmed. Answers "" on success.
Variant Distrato(Database& db, const protocol::Distrato& args) {
  const Cents fine = MoneyArg(args.vrMulta, "Distrato", "o valor da multa");
  const Cents negotiated = MoneyArg(args.vrNegociado, "Distrato", "o valor negociado");
  const Cents signedAmount = MoneyArg(args.valorSinalizado, "Distrato", "o valor do distrato");
  if (fine < 0 || negotiated < 0) throw Refusal("N_PARAM_VRNEGATIVO");

  const std::string operador = RequireOperator(db, args.operador);

  const BudgetKey b = BudgetArgs(args);
  const Party party = ReadParty(db, b, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE);
  RefuseUnlessPartialRescissionAllowed(db, b.branch, b.budget, party.seq, party.client, party.address);
  RefuseUnlessFree(party);
  const std::string product = RescissionProduct(db, b.branch);
  if (party.guests <= 0) throw Refusal("N_PARAM_QTCONVCONTRAT_ZERO");
  if (SuppliersPaid(db, b)) throw Refusal("N_PARAM_CONTA_FORN");
  if (party.renegotiated) throw Refusal("N_PARAM_RENEGO_CT_ABERTA");

  // The operator confirmed values priced earlier; another operator may have
  // settled or changed the party's accounts since.
  const RescissionValues now = Calculate(db, b, party);
  const Cents expected = SignedAmount(now.account, now.calculated);
  if (expected != signedAmount)
    throw Refusal("Os valores do contratante foram alterados por outro operador depois do cálculo da multa "
           "(valor atual " + CentsText(expected) + ", confirmado " + CentsText(signedAmount) +
           "). Refaça o distrato.");
  // The screen sends the fine it was shown, or 0 with a negotiated value of 0.
  if (fine != now.fine && !(negotiated == 0 && fine == 0))
    throw Refusal("Distrato: a multa informada (" + CentsText(fine) + ") difere da multa calculada (" +
           CentsText(now.fine) + "). Refaça o distrato.");
  // A negotiation lowers what is refunded or charged, never raises it.
  if (negotiated > now.calculated)
    throw Refusal("Distrato: o valor negociado (" + CentsText(negotiated) + ") não pode ser maior que o valor calculado (" +
           CentsText(now.calculated) + ").");

  // The party is cancelled first: on PostgreSQL the change travels with the
  // next read, so checking it costs no round trip of its own.
  RescissionRecorder rec(db, b, "PARCIAL");
  rec.cancel(party);
  const std::string child = NextSequence(db, b);
  if (db.changes() != 1) throw Refusal(kAlreadyInRescissionMessage);
  WriteChildBudget(db, b, party.seq, child, party.client, party.guests, party.quotas);
  rec.addToChild(child, party, negotiated);
  rec.addFine(child, 1, product, fine);
  rec.cancelReceivables(party);
  RescissionValues confirmed = now;
  confirmed.fine = fine;  // 0 when the whole value was forgiven
  rec.record(party, child, confirmed, negotiated, operador);
  rec.finish();
  WriteAudit(db, {"Distrato", operador, b.branch, b.budget, party.client,
                  "negociado " + MoneyText(negotiated) + "; multa " + MoneyText(fine) + "; " + now.account, "",
                  party.seq, party.address});
  return Variant("");
}

}  // namespace

void RegisterRescission(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetContratRepetSeq));
  d.add(Transactional(s, ConfirmaValores));
  d.add(Transactional(s, Distrato, Access::kWriteBudget));
}
