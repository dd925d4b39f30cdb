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
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/rescission_store.h"
#include "methods/rescission_rules.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace {

struct ContractRef {
  std::string branch, budget, seq, client, address;
};

struct PartyRow {
  Cents charged = 0;
  std::string situation, process, contact;
  int guests = 0, quotas = 0;
};


// Which of a client's contracts "seq" names.
enum class Looking {
  ForAnyContract,   // the first sequence holding the client
  ForItsRescission, // the contract in a partial rescission, else the first
};

// The sequence the party is in: the one named, or else the first sequence of
// the budget holding the party ("seq" and empty mean "look it up"). Looking
// for its rescission, the contract in a partial rescission comes first: a
// client may hold a live contract in sequence 01 and a rescinded one in 02.
std::optional<std::string> ResolveSequence(Database& db, const std::string& branch, const std::string& budget,
                                           const std::string& seqArg, const std::string& client,
                                           const std::string& address, Looking looking) {
  if (std::optional<std::string> seq = SequenceArg(seqArg)) return KeyCode(*seq, kSequenceWidth);
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3"
      "   AND (?4 = '' OR NRENDCLIORCEVE = ?4)"
      " ORDER BY CASE WHEN ?5 = 1 AND IDCONTPROCESDIST IN ('S', 'C') AND IDORIGEMINCLUSAO <> 'DISTRATO'"
      "                AND COALESCE(IDTPDISTRATOREALI, '') = 'PARCIAL' THEN 0 ELSE 1 END,"
      "          NRSEQORCAEVE LIMIT 1");
  st.bindAll(branch, budget, client, address, looking == Looking::ForItsRescission ? 1 : 0);
  if (!st.step()) return std::nullopt;
  return st.text(0);
}

ContractRef ReadKey(Database& db, const std::string& branch, const std::string& budget, const std::string& seq,
                 const std::string& client, const std::string& address, Looking looking = Looking::ForAnyContract) {
  ContractRef key{KeyCode(branch, kBranchWidth), KeyCode(budget, kBudgetWidth), "", KeyCode(client, 0),
               KeyCode(address, 0)};
  std::optional<std::string> resolved =
      ResolveSequence(db, key.branch, key.budget, seq, key.client, key.address, looking);
  if (!resolved) throw Refusal("Contratante " + key.client + " não encontrado no orçamento " + key.budget + ".");
  key.seq = *resolved;
  return key;
}

PartyRow LoadParty(Database& db, const ContractRef& k) {
  Statement st = db.prepare(
      "SELECT VRRECECONTOREV, IDSITUCONTOREV, IDCONTPROCESDIST, COALESCE(NMCONTCLIORE, ''), QTCONVCONTRAT,"
      "       QTCOTACONTRAT FROM CONTRATANTE"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5");
  st.bindAll(k.branch, k.budget, k.seq, k.client, k.address);
  if (!st.step()) throw Refusal("Contratante " + k.client + " não encontrado no orçamento " + k.budget + ".");
  PartyRow p;
  p.charged = st.integer(0);
  p.situation = st.text(1);
  p.process = st.text(2);
  p.contact = st.text(3);
  p.guests = static_cast<int>(st.integer(4));
  p.quotas = static_cast<int>(st.integer(5));
  return p;
}

void RefuseUnlessFree(const PartyRow& p) {
  if (p.process != "N" || p.situation == "CANCELADO")
    throw Refusal("O contratante já está em processo de distrato. Operação bloqueada.");
}

Cents PaidBy(Database& db, const ContractRef& k) {
  Statement st = db.prepare(
      "SELECT COALESCE(SUM(VRATUAREC), 0) FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDSTATREC = 'B'");
  st.bindAll(k.branch, k.budget, k.seq, k.client, k.address);
  st.step();
  return st.integer(0);
}

Cents OpenBalanceOf(Database& db, const ContractRef& k) {
  Statement st = db.prepare(
      "SELECT COALESCE(SUM(VRATUAREC), 0) FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDSTATREC = 'A'");
  st.bindAll(k.branch, k.budget, k.seq, k.client, k.address);
  st.step();
  return st.integer(0);
}

std::vector<FineBand> FineBands(Database& db, const std::string& branch) {
  Statement st = db.prepare(
      "SELECT VRPERCPAGOINI, VRPERCPAGOFIM, VRPERCMULTA FROM PERCMULTADISTRATO WHERE CDFILIAL = ?1"
      " ORDER BY VRPERCPAGOINI");
  st.bind(1, branch);
  std::vector<FineBand> bands;
  while (st.step()) bands.push_back({st.real(0), st.real(1), st.real(2)});
  return bands;
}

// Prices the rescission from the party's current accounts; refuses a party
// that paid nothing (there is nothing to apply a fine percentage on) and a
// share that no fine band of the branch covers.
RescissionValues Calculate(Database& db, const ContractRef& k, const PartyRow& p) {
  const Cents paid = PaidBy(db, k);
  if (paid <= 0) throw Refusal("N_PARAM_N_APLICA_MULTA");
  const double share = SharePaid(p.charged, paid);
  std::optional<double> percent = FinePercentFor(FineBands(db, k.branch), share);
  if (!percent) throw Refusal("N_PARAM_DISTRATO|" + ShareText(share));
  return PriceRescission(p.charged, paid, *percent);
}

struct RecordedValues {
  RescissionValues values;
  Cents negotiated = 0;
};

// The recorded values of a party already in a partial rescission.
std::optional<RecordedValues> Recorded(Database& db, const ContractRef& k) {
  Statement st = db.prepare(
      "SELECT VRPAGO, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR FROM DISTRATOPARCIAL"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5");
  st.bindAll(k.branch, k.budget, k.seq, k.client, k.address);
  if (!st.step()) return std::nullopt;
  RecordedValues r;
  r.values.paid = st.integer(0);
  r.values.calculated = st.integer(1);
  r.negotiated = st.integer(2);
  r.values.percent = st.real(3);
  r.values.fine = st.integer(4);
  r.values.account = st.text(5);
  return r;
}

FieldDef Text(const char* name, int size) { return {name, FieldType::String, size}; }
FieldDef Number(const char* name) { return {name, FieldType::Float, 0}; }

// The values row the screen loads into cdsValores (every field it declares).
DataPacket ValuesPacket(const ContractRef& k, const std::string& company, const RescissionValues& v, Cents negotiated,
                        Cents openBalance) {
  DataPacket p({Text("GERACTPAGAR", 20), Text("CDFILIALNF", 4), Text("NRLANCTONF", 10), Text("NRSEQVENREC", 2),
                Text("NRPARCELAREC", 2), Text("CDFILIBOLREC", 4), Text("NRLANBOLREC", 10), Text("IDSTATREC", 1),
                Text("CDEMPRESA", 2), Text("CDCLASSFINA", 6), Text("CDFIMOVFLREC", 4),
                {"DTMOVFLUXO", FieldType::DateTime, 0}, Text("IDMOVFLUXO", 1), Number("VRPERCMULTA"),
                Number("VRORIGREC"), Text("NRENDCLIORCEVE", 10), Number("VRORIGRECNOEDIT"),
                Text("NRSEQHISTRENEGO", 10), Number("VRATUAREC"), Number("VRMULTA")});
  p.addRow({Variant(v.account), Variant(k.branch), Variant(""), Variant(""), Variant(""), Variant(""), Variant(""),
            Variant("A"), Variant(KeyCode(company, kCompanyWidth)), Variant(""), Variant(""), Variant(), Variant(""),
            Variant(v.percent), Variant(FromCents(negotiated)), Variant(k.address), Variant(FromCents(v.calculated)),
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
  const ContractRef k = ReadKey(db, args.filial, args.orcamento, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE,
                             mode == "S" ? Looking::ForItsRescission : Looking::ForAnyContract);
  const PartyRow party = LoadParty(db, k);
  RescissionValues v;
  Cents negotiated = 0;
  if (mode == "N") {
    RefuseUnlessFree(party);
    v = Calculate(db, k, party);
    negotiated = v.calculated;
  } else if (std::optional<RecordedValues> recorded = Recorded(db, k)) {
    v = recorded->values;
    negotiated = recorded->negotiated;
  } else {
    v = Calculate(db, k, party);
    negotiated = v.calculated;
  }
  return MakeArray({Variant(ValuesPacket(k, args.empresa, v, negotiated, OpenBalanceOf(db, k))),
                    Variant(FromCents(v.paid)), Variant(FromCents(v.calculated))});
}

// A money argument: a number, or a text that reads as one, in cents by the
// money rule; anything else is refused by name instead of being taken as zero.
Cents MoneyArg(const Variant& value, const char* what) {
  double number = 0;
  try {
    if (value.isNull() || value.isArray() || value.isPacket()) throw std::runtime_error("");
    number = value.asDouble();
  } catch (const std::exception&) {
    throw Refusal(std::string("Distrato: ") + what + " informado não é um número válido.");
  }
  std::optional<Cents> cents = ToCents(number);
  if (!cents || *cents > kMaxAmountCents || *cents < -kMaxAmountCents)
    throw Refusal(std::string("Distrato: ") + what + " informado está fora dos limites.");
  return *cents;
}

struct Parameters {
  std::string product;
};

Parameters CheckParameters(Database& db, const std::string& branch) {
  Statement st = db.prepare(
      "SELECT COALESCE(p.CDTIPOOPER, ''), COALESCE(p.CDPRODDISTRATO, ''), COALESCE(p.CDGRUPRODDISTRATO, ''),"
      "       r.CDARVPROD IS NOT NULL, COALESCE(r.CDGRUPROD, '')"
      "  FROM PARAMDISTRATO p LEFT JOIN PRODUTO r ON r.CDARVPROD = p.CDPRODDISTRATO WHERE p.CDFILIAL = ?1");
  st.bind(1, branch);
  if (!st.step() || st.text(0).empty()) throw Refusal("N_PARAM_TIPOOPER");
  Parameters p{st.text(1)};
  const std::string group = st.text(2);
  if (p.product.empty() || st.integer(3) == 0) throw Refusal("N_PARAM_PRODDISTRADO");
  if (group.empty() || st.text(4) != group) throw Refusal("N_PARAM_GRUPRODREL");
  return p;
}

// Settled payables of the budget to anyone who is not one of its parties:
// the suppliers were paid, so the event can no longer be partly undone.
bool SuppliersPaid(Database& db, const ContractRef& k) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTAPAGAR P WHERE P.CDFILIAL = ?1 AND P.NRORCAEVENTO = ?2 AND P.IDSTATPAG = 'B'"
      "   AND NOT EXISTS (SELECT 1 FROM CONTRATANTE C WHERE C.CDFILIAL = P.CDFILIAL"
      "                     AND C.NRORCAEVENTO = P.NRORCAEVENTO AND C.CDCLIENTE = P.CDCLIENTE) LIMIT 1");
  st.bindAll(k.branch, k.budget);
  return st.step();
}

bool OpenRenegotiated(Database& db, const ContractRef& k) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDSTATREC = 'A' AND COALESCE(NRSEQHISTRENEGO, '') <> ''"
      " LIMIT 1");
  st.bindAll(k.branch, k.budget, k.seq, k.client, k.address);
  return st.step();
}

void WriteChildBudget(Database& db, const ContractRef& k, const std::string& child, const PartyRow& party,
                      const std::string& product, Cents negotiated, Cents fine) {
  Statement budget = db.prepare(
      "INSERT INTO ORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRSEQORCAEVEPAI, IDSITUORCEVE,"
      "   IDUTILCUSTOFIXOORCA, IDORCAAPROVADO, CDCLIENTE, CDVENDEDOR, CDEMPRESA, DTORCAMENTO, DTEVENTO,"
      "   QTCONVIDADOS, QTCOTAS)"
      " SELECT CDFILIAL, NRORCAEVENTO, ?4, NRSEQORCAEVE, '3', IDUTILCUSTOFIXOORCA, IDORCAAPROVADO, ?5, CDVENDEDOR,"
      "        CDEMPRESA, ?8, DTEVENTO, ?6, ?7"
      "   FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3");
  // The child budget is dated on the branch's business day, like every other rule.
  budget.bindAll(k.branch, k.budget, k.seq, child, k.client, party.guests, party.quotas,
                 rescission_store::ProcessingDate(db, k.branch).days)
      .run();

  Statement member = db.prepare(
      "INSERT INTO CONTRATANTE (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NMCONTCLIORE,"
      "   VRRECECONTOREV, IDSITUCONTOREV, IDCONTPROCESDIST, IDORIGEMINCLUSAO, IDTPDISTRATOREALI,"
      "   QTCONVCONTRAT, QTCOTACONTRAT)"
      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, 'LANCADO', 'S', 'DISTRATO', 'PARCIAL', ?8, ?9)");
  member.bindAll(k.branch, k.budget, child, k.client, k.address, party.contact, negotiated, party.guests,
                 party.quotas)
      .run();

  Statement item = db.prepare(
      "INSERT INTO ITEMORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRITEM, CDARVPROD, QTITEM, VRUNITITEM)"
      " VALUES (?1, ?2, ?3, 1, ?4, 1, ?5)");
  item.bindAll(k.branch, k.budget, child, product, fine).run();
}

// Records the rescission: the party cancelled and in process, its open and
// planned receivables cancelled, the child budget with the fine product and
// the negotiated value, and the values confirmed. Answers "" on success.
Variant Distrato(Database& db, const protocol::Distrato& args) {
  const Cents fine = MoneyArg(args.vrMulta, "o valor da multa");
  const Cents negotiated = MoneyArg(args.vrNegociado, "o valor negociado");
  const Cents signedAmount = MoneyArg(args.valorSinalizado, "o valor do distrato");
  if (fine < 0 || negotiated < 0) throw Refusal("N_PARAM_VRNEGATIVO");

  const std::string operador = rescission_store::RequireOperator(db, args.operador);

  const ContractRef k = ReadKey(db, args.filial, args.orcamento, args.NRSEQORCAEVE, args.CDCLIENTE, args.NRENDCLIORCEVE);
  RefuseUnlessPartialRescissionAllowed(db, k.branch, k.budget, k.seq, k.client, k.address);
  const PartyRow party = LoadParty(db, k);
  RefuseUnlessFree(party);
  const Parameters params = CheckParameters(db, k.branch);
  if (party.guests <= 0) throw Refusal("N_PARAM_QTCONVCONTRAT_ZERO");
  if (SuppliersPaid(db, k)) throw Refusal("N_PARAM_CONTA_FORN");
  if (OpenRenegotiated(db, k)) throw Refusal("N_PARAM_RENEGO_CT_ABERTA");

  // The operator confirmed values priced earlier; another operator may have
  // settled or changed the party's accounts since.
  const RescissionValues now = Calculate(db, k, party);
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
  Statement cancel = db.prepare(
      "UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'S', IDSITUCONTOREV = 'CANCELADO', IDTPDISTRATOREALI = 'PARCIAL'"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
      "   AND IDCONTPROCESDIST = 'N'");
  cancel.bindAll(k.branch, k.budget, k.seq, k.client, k.address).run();
  const std::string child = rescission_store::NextSequence(db, {k.branch, k.budget});
  if (db.changes() != 1) throw Refusal("O contratante já está em processo de distrato. Operação bloqueada.");
  WriteChildBudget(db, k, child, party, params.product, negotiated, fine);

  Statement receivables = db.prepare(
      "UPDATE CONTARECEBER SET IDSTATREC = 'C', IDSTATRECDISTRATO = IDSTATREC WHERE CDFILIAL = ?1"
      "   AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDSTATREC IN ('A', 'P')");
  receivables.bindAll(k.branch, k.budget, k.seq, k.client, k.address).run();

  Statement record = db.prepare(
      "INSERT INTO DISTRATOPARCIAL (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE,"
      "   NRSEQORCAEVEFILHO, VRPAGO, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, CDOPERADOR,"
      "   IDSITUCONTOREVANT)"
      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
  record.bindAll(k.branch, k.budget, k.seq, k.client, k.address, child, now.paid, now.calculated, negotiated,
                 now.percent, fine, now.account, operador, party.situation)
      .run();
  WriteAudit(db, {"Distrato", operador, k.branch, k.budget, k.client,
                  "negociado " + rescission_store::MoneyText(negotiated) + "; multa " + rescission_store::MoneyText(fine) + "; " + now.account, "", k.seq,
                  k.address});
  return Variant("");
}

}  // namespace

void RegisterRescission(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetContratRepetSeq));
  d.add(Transactional(s, ConfirmaValores));
  d.add(Transactional(s, Distrato, Access::kWriteBudget));
}
