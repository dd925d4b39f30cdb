#include "methods/rescission_store.h"

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "data/formats.h"
#include "data/money.h"
#include "methods/key_codes.h"
#include "methods/packet_reading.h"
#include "methods/server_clock.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace rescission_store {

namespace {

// The party columns every query reads, in Party's order but for what it
// paid (kSettledSums, kSettledRows); ?1 branch, ?2 budget, `parties` narrows them.
// `renegotiation` answers whether the party owes a renegotiation: a probe
// of its receivables for one party, a constant a whole budget's read fills
// in afterwards from one read of them (LoadParties).
std::string PartyQuery(const std::string& parties, const char* renegotiation) {
  return std::string(
             "SELECT c.NRSEQORCAEVE, c.CDCLIENTE, c.NRENDCLIORCEVE, COALESCE(c.NMCONTCLIORE, ''),"
             "       COALESCE(k.NMFANTCLIE, ''), COALESCE(k.IDTPIJURCLIE, ''), COALESCE(k.NRINSJURCLIE, ''),"
             "       COALESCE(c.CDCLICONTSUBORE, ''), COALESCE(s.NMFANTCLIE, ''), COALESCE(s.IDTPIJURCLIE, ''),"
             "       COALESCE(s.NRINSJURCLIE, ''), c.VRRECECONTOREV, c.IDSITUCONTOREV, c.IDCONTPROCESDIST,"
             "       COALESCE(c.IDTPDISTRATOREALI, ''), c.IDORIGEMINCLUSAO, c.QTCONVCONTRAT, c.QTCOTACONTRAT, ") +
         renegotiation +
         ", c.IDCONTRESPCOTAORCA, c.IDTRANSFCOTAREALI"
         "  FROM CONTRATANTE c"
         "  LEFT JOIN CLIENTE k ON k.CDCLIENTE = c.CDCLIENTE"
         "  LEFT JOIN CLIENTE s ON s.CDCLIENTE = c.CDCLICONTSUBORE"
         " WHERE c.CDFILIAL = ?1 AND c.NRORCAEVENTO = ?2 " +
         parties;
}

// Whether the party of the row (c) owes a renegotiation: an open receivable
// that came from one.
constexpr const char* kRenegotiationProbe =
    "CASE WHEN EXISTS (SELECT 1 FROM CONTARECEBER n WHERE n.CDFILIAL = c.CDFILIAL"
    "                     AND n.NRORCAEVENTO = c.NRORCAEVENTO AND n.NRSEQORCAEVE = c.NRSEQORCAEVE"
    "                     AND n.CDCLIENTE = c.CDCLIENTE AND n.NRENDCLIORCEVE = c.NRENDCLIORCEVE"
    "                     AND n.IDSTATREC = 'A' AND n.NRSEQHISTRENEGO <> '') THEN 1 ELSE 0 END";

// The budget's open receivables from a renegotiation, by contract: few or
// none, so read once for the budget rather than probed for every party.
constexpr const char* kRenegotiatedRows =
    "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE"
    "  FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND IDSTATREC = 'A' AND NRSEQHISTRENEGO <> ''";

Party ReadParty(const Statement& st) {
  Party p;
  p.seq = st.text(0);
  p.client = st.text(1);
  p.address = st.text(2);
  p.contact = st.text(3);
  p.name = st.text(4);
  p.personType = st.text(5);
  p.registration = st.text(6);
  p.substitute = st.text(7);
  p.substituteName = st.text(8);
  p.substituteType = st.text(9);
  p.substituteRegistration = st.text(10);
  p.charged = st.integer(11);
  p.situation = st.text(12);
  p.process = st.text(13);
  p.type = st.text(14);
  p.origin = st.text(15);
  p.guests = static_cast<int>(st.integer(16));
  p.quotas = static_cast<int>(st.integer(17));
  p.renegotiated = st.integer(18) != 0;
  p.quotaHolder = st.text(19);
  p.quotasTransferred = st.text(20);
  return p;
}

// What one contract paid: its settled receivables summed, ?1 branch, ?2
// budget, ?3..?5 the contract.
constexpr const char* kSettledSums =
    "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, SUM(VRATUAREC), COUNT(*)"
    "  FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND IDSTATREC = 'B'"
    "   AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5"
    " GROUP BY NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE";

// The budget's settled receivables one by one, for LoadParties to sum: a
// GROUP BY would copy each row's key to compare it with the next. They come
// in contract order (SQLite reads them from a partial index of just those,
// PostgreSQL from the table, where a contract's receivables lie together).
constexpr const char* kSettledRows =
    "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, VRATUAREC"
    "  FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND IDSTATREC = 'B'";

// A contract's key as views into strings that outlive it: the parties' own
// fields, or the columns of the row being read.
struct ContractView {
  std::string_view seq, client, address;
  bool operator==(const ContractView&) const = default;
};

struct ContractViewHash {
  std::size_t operator()(const ContractView& k) const {
    const std::hash<std::string_view> h;
    return (h(k.seq) * 31 + h(k.client)) * 31 + h(k.address);
  }
};

void SetPaid(Party& p, const Statement& sums) {
  p.paid = sums.integer(3);
  p.settledCount = static_cast<int>(sums.integer(4));
}

// Calls `each` with the party of each row of `rows` (the contract in its
// first three columns) that `parties` holds. Consecutive rows mostly name
// the same contract, so the last one found is tried before the hash.
template <class Each>
void ForEachPartyRow(Statement& rows, std::deque<Party>& parties, Each each) {
  const auto viewOf = [](const Party& p) { return ContractView{p.seq, p.client, p.address}; };
  std::unordered_map<ContractView, Party*, ContractViewHash> byKey;
  byKey.reserve(parties.size());
  for (Party& p : parties) byKey.emplace(viewOf(p), &p);
  Party* last = nullptr;
  while (rows.step()) {
    const ContractView key{rows.textView(0), rows.textView(1), rows.textView(2)};
    if (!last || viewOf(*last) != key) {
      const auto it = byKey.find(key);
      last = it == byKey.end() ? nullptr : it->second;
    }
    if (last) each(*last, rows);
  }
}

}  // namespace


DateTime ProcessingDate(Database& db, const std::string& branch) {
  Statement st = db.prepare(
      "SELECT COALESCE((SELECT DTPROCESSAMENTO FROM FILIAL WHERE CDFILIAL = ?1),"
      "                CAST(?2 AS DOUBLE PRECISION))");
  st.bind(1, branch);
  st.bind(2, TodayDays());
  st.step();
  return DateOf(DateTime{st.real(0)});
}

std::string MoneyText(Cents value) { return FormatFloat("#,##0.00", FromCents(value)); }

std::vector<Party> LoadParties(Database& db, const BudgetKey& b, PartySet set) {
  std::string which;
  if (set == PartySet::Free)
    which = std::string(" AND ") + kFreeContract;
  else if (set == PartySet::InTotalProcess)
    which = std::string(" AND ") + kInTotalProcess;
  else
    which = " AND c.IDCONTPROCESDIST IN ('S', 'C') AND c.IDTPDISTRATOREALI = 'TOTAL'"
              " AND c.IDORIGEMINCLUSAO <> 'DISTRATO'";
  Statement st = db.prepare(PartyQuery(which, "0"));
  st.bindAll(b.branch, b.budget);
  // A deque, so that reading ten thousand parties never moves those read.
  std::deque<Party> read;
  while (st.step()) read.push_back(ReadParty(st));

  // What each paid and whether it owes a renegotiation, matched by contract
  // without building a text per key.
  Statement settled = db.prepare(kSettledRows);
  settled.bindAll(b.branch, b.budget);
  ForEachPartyRow(settled, read, [](Party& p, const Statement& row) {
    p.paid += row.integer(3);
    ++p.settledCount;
  });
  Statement renegotiated = db.prepare(kRenegotiatedRows);
  renegotiated.bindAll(b.branch, b.budget);
  ForEachPartyRow(renegotiated, read, [](Party& p, const Statement&) { p.renegotiated = true; });

  // By sequence, trade name, client and address, sorted here: the database's
  // sorter would copy every row whole, all twenty columns of it.
  std::vector<std::size_t> order(read.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&read](std::size_t x, std::size_t y) {
    const Party& l = read[x];
    const Party& r = read[y];
    return std::tie(l.seq, l.name, l.client, l.address) < std::tie(r.seq, r.name, r.client, r.address);
  });
  std::vector<Party> parties;
  parties.reserve(read.size());
  for (std::size_t i : order) parties.push_back(std::move(read[i]));
  return parties;
}

std::string PartySequence(Database& db, const BudgetKey& b, std::string_view namedSequence, const std::string& client,
                          const std::string& address, ContractSought sought) {
  if (std::optional<std::string> named = SequenceArg(namedSequence)) return KeyCode(*named, kSequenceWidth);
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3"
      "   AND (?4 = '' OR NRENDCLIORCEVE = ?4) AND (?5 <> 2 OR IDORIGEMINCLUSAO <> 'DISTRATO')"
      " ORDER BY CASE WHEN ?5 = 0 OR IDCONTPROCESDIST NOT IN ('S', 'C') THEN 1"
      "               WHEN ?5 = 2 THEN 0"
      "               WHEN IDORIGEMINCLUSAO <> 'DISTRATO' AND COALESCE(IDTPDISTRATOREALI, '') = 'PARCIAL' THEN 0"
      "               ELSE 1 END,"
      "          NRSEQORCAEVE LIMIT 1");
  st.bindAll(b.branch, b.budget, client, address, static_cast<int>(sought));
  return st.step() ? st.text(0) : "";
}

std::optional<Party> LoadParty(Database& db, const BudgetKey& b, const std::string& seq, const std::string& client,
                               const std::string& address) {
  Statement st = db.prepare(
      PartyQuery(" AND c.NRSEQORCAEVE = ?3 AND c.CDCLIENTE = ?4 AND c.NRENDCLIORCEVE = ?5", kRenegotiationProbe));
  st.bindAll(b.branch, b.budget, seq, client, address);
  if (!st.step()) return std::nullopt;
  Party party = ReadParty(st);
  Statement sums = db.prepare(kSettledSums);
  sums.bindAll(b.branch, b.budget, seq, client, address);
  if (sums.step()) SetPaid(party, sums);
  return party;
}

Party RequireParty(Database& db, const BudgetKey& b, std::string_view seqArg, std::string_view clientArg,
                   std::string_view addressArg) {
  const std::string client = KeyCode(clientArg, 0);
  const std::string address = KeyCode(addressArg, 0);
  std::optional<Party> found = LoadParty(db, b, PartySequence(db, b, seqArg, client, address), client, address);
  if (!found || found->origin == "DISTRATO")
    throw Refusal("Contratante " + client + " não encontrado no orçamento " + b.budget + ".");
  return *found;
}

namespace {

// The row's key as the parties store it; an empty sequence or address matches any.
struct RowKey {
  std::string client, seq, address;
};

RowKey KeyOfRow(const DataPacket& packet, std::size_t row) {
  using namespace packet_reading;
  const std::string seqText = TextAt(packet, row, "NRSEQORCAEVE");
  return {KeyCode(TextAt(packet, row, "CDCLIENTE"), 0), seqText.empty() ? "" : KeyCode(seqText, kSequenceWidth),
          KeyCode(TextAt(packet, row, "NRENDCLIORCEVE"), 0)};
}

// The one party of `candidates` (in the parties' order) the row's key names.
const Party* OneParty(const std::vector<const Party*>& candidates, const RowKey& k) {
  const Party* found = nullptr;
  for (const Party* p : candidates) {
    if ((!k.seq.empty() && p->seq != k.seq) || (!k.address.empty() && p->address != k.address)) continue;
    if (found)
      throw Refusal("O cliente " + k.client + " tem mais de um contrato neste orçamento: informe a sequência (NRSEQORCAEVE) e"
             " o endereço (NRENDCLIORCEVE) de cada contrato.");
    found = p;
  }
  return found;
}

}  // namespace

PartyLookup::PartyLookup(const std::vector<Party>& parties) {
  byClient_.reserve(parties.size());
  for (const Party& p : parties) byClient_[p.client].push_back(&p);
}

const Party* PartyLookup::ofRow(const DataPacket& packet, std::size_t row) const {
  const RowKey k = KeyOfRow(packet, row);
  auto it = byClient_.find(k.client);
  return it == byClient_.end() ? nullptr : OneParty(it->second, k);
}

Cents OpenBalance(Database& db, const BudgetKey& b, const Party& p) {
  Statement st = db.prepare(
      "SELECT COALESCE(SUM(VRATUAREC), 0) FROM CONTARECEBER WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDSTATREC = 'A'");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address);
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

Priced PriceForTotal(const std::vector<FineBand>& bands, const Party& p) {
  Priced out;
  if (p.renegotiated) out.renegotiation = "Renegociação financeira";
  if (p.paid <= 0) {
    out.values = PriceRescission(p.charged, 0, 0);
    return out;
  }
  const double share = SharePaid(p.charged, p.paid);
  std::optional<double> percent = FinePercentFor(bands, share);
  if (!percent) {
    out.share = ShareText(share);
    out.erro = "Não há percentual de multa parametrizado para o percentual pago de " + out.share + "%.";
    out.values = PriceRescission(p.charged, p.paid, 0);
    return out;
  }
  out.values = PriceRescission(p.charged, p.paid, *percent);
  return out;
}

std::optional<Recorded> RecordedValues(Database& db, const BudgetKey& b, const Party& p) {
  Statement st = db.prepare(
      "SELECT VRPAGO, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, NRSEQORCAEVEFILHO,"
      "       COALESCE(IDSITUCONTOREVANT, '') FROM DISTRATOPARCIAL WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4"
      "   AND NRENDCLIORCEVE = ?5");
  st.bindAll(b.branch, b.budget, p.seq, p.client, p.address);
  if (!st.step()) return std::nullopt;
  Recorded r;
  r.values.charged = p.charged;
  r.values.paid = st.integer(0);
  r.values.calculated = st.integer(1);
  r.negotiated = st.integer(2);
  r.values.percent = st.real(3);
  r.values.fine = st.integer(4);
  r.values.account = st.text(5);
  r.childSeq = st.text(6);
  r.formerSituation = st.text(7);
  return r;
}

std::string RecordKey(const Party& p) { return p.key().text(); }

std::map<std::string, Recorded> RecordedForBudget(Database& db, const BudgetKey& b) {
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, VRPAGO, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA,"
      "       GERACTPAGAR, NRSEQORCAEVEFILHO, COALESCE(IDSITUCONTOREVANT, '')"
      "  FROM DISTRATOPARCIAL WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  std::map<std::string, Recorded> out;
  while (st.step()) {
    Recorded r;
    r.values.paid = st.integer(3);
    r.values.calculated = st.integer(4);
    r.negotiated = st.integer(5);
    r.values.percent = st.real(6);
    r.values.fine = st.integer(7);
    r.values.account = st.text(8);
    r.childSeq = st.text(9);
    r.formerSituation = st.text(10);
    out.emplace(st.text(0) + "|" + st.text(1) + "|" + st.text(2), std::move(r));
  }
  return out;
}

Recorded RecordedOrPriced(const std::map<std::string, Recorded>& recorded, const Party& p,
                          const std::vector<FineBand>& bands) {
  if (auto it = recorded.find(RecordKey(p)); it != recorded.end()) return it->second;
  Recorded r;
  r.values = PriceForTotal(bands, p).values;
  r.negotiated = r.values.calculated;
  return r;
}

std::string RescissionProduct(Database& db, const std::string& branch) {
  Statement st = db.prepare(
      "SELECT COALESCE(p.CDTIPOOPER, ''), COALESCE(p.CDPRODDISTRATO, ''), COALESCE(p.CDGRUPRODDISTRATO, ''),"
      "       r.CDARVPROD IS NOT NULL, COALESCE(r.CDGRUPROD, '')"
      "  FROM PARAMDISTRATO p LEFT JOIN PRODUTO r ON r.CDARVPROD = p.CDPRODDISTRATO WHERE p.CDFILIAL = ?1");
  st.bind(1, branch);
  if (!st.step() || st.text(0).empty()) throw Refusal("N_PARAM_TIPOOPER");
  std::string product = st.text(1);
  const std::string group = st.text(2);
  if (product.empty() || st.integer(3) == 0) throw Refusal("N_PARAM_PRODDISTRADO");
  if (group.empty() || st.text(4) != group) throw Refusal("N_PARAM_GRUPRODREL");
  return product;
}

bool SuppliersPaid(Database& db, const BudgetKey& b) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTAPAGAR P WHERE P.CDFILIAL = ?1 AND P.NRORCAEVENTO = ?2 AND P.IDSTATPAG = 'B'"
      "   AND NOT EXISTS (SELECT 1 FROM CONTRATANTE C WHERE C.CDFILIAL = P.CDFILIAL"
      "                     AND C.NRORCAEVENTO = P.NRORCAEVENTO AND C.CDCLIENTE = P.CDCLIENTE) LIMIT 1");
  st.bindAll(b.branch, b.budget);
  return st.step();
}

std::string NextSequence(Database& db, const BudgetKey& b) {
  // The lowest number no sequence holds: an undone rescission removes its
  // child budget, and its number serves the next one.
  Statement st = db.prepare(
      "SELECT CAST(NRSEQORCAEVE AS BIGINT) FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      " ORDER BY CAST(NRSEQORCAEVE AS BIGINT)");
  st.bindAll(b.branch, b.budget);
  std::int64_t next = 1;
  while (st.step() && st.integer(0) <= next)
    if (st.integer(0) == next) ++next;
  if (next > 99)
    throw Refusal("O orçamento " + b.budget + " já tem 99 sequências: não comporta mais orçamentos filhos. Desfaça um"
           " distrato do orçamento para liberar uma sequência.");
  return (next < 10 ? "0" : "") + std::to_string(next);
}

std::string RequireOperator(Database& db, const std::string& typed) {
  const std::string code = KeyCode(typed, 0);
  Statement op = db.prepare("SELECT 1 FROM OPERADOR WHERE CDOPERADOR = ?1");
  op.bind(1, code);
  if (!op.step()) throw Refusal("Operador \"" + code + "\" não cadastrado.");
  return code;
}

bool MayApprove(Database& db, const std::string& operatorCode) {
  Statement st = db.prepare(
      "SELECT 1 FROM OPERADOR WHERE CDOPERADOR = ?1 AND IDPAPEL IN ('SUPERVISOR', 'GERENTE')");
  st.bind(1, operatorCode);
  return st.step();
}

// The first contract's look-up answers whether there is any.
bool HoldsContract(Database& db, const BudgetKey& b, const std::string& client) {
  return !PartySequence(db, b, "", client, "", ContractSought::kFirst).empty();
}

std::int64_t ClientSequenceCount(Database& db, const std::string& branch, const std::string& budget,
                                 const std::string& client) {
  Statement st = db.prepare(
      "SELECT COUNT(DISTINCT NRSEQORCAEVE) FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND CDCLIENTE = ?3");
  st.bindAll(branch, budget, client);
  st.step();
  return st.integer(0);
}

std::optional<std::string> SequenceSituation(Database& db, const std::string& branch, const std::string& budget,
                                             const std::string& seq) {
  Statement st = db.prepare(
      "SELECT COALESCE(IDSITUORCEVE, '') FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND NRSEQORCAEVE = ?3");
  st.bindAll(branch, budget, seq);
  if (!st.step()) return std::nullopt;
  return st.text(0);
}

std::optional<PartialRescissionFacts> ReadPartialRescissionFacts(Database& db, const std::string& branch,
                                                                 const std::string& budget, const std::string& seq,
                                                                 const std::string& client,
                                                                 const std::string& address) {
  Statement st = db.prepare(
      "SELECT COALESCE(o.IDSITUORCEVE, ''), COALESCE(o.IDUTILCUSTOFIXOORCA, ''), c.CDCLIENTE IS NOT NULL,"
      "       COALESCE(c.IDSITUCONTOREV, ''), COALESCE(c.IDCONTPROCESDIST, ''), COALESCE(c.CDCLICONTSUBORE, ''),"
      "       COALESCE(c.IDCONTRESPCOTAORCA, ''), COALESCE(c.IDTRANSFCOTAREALI, ''),"
      "       (SELECT COUNT(DISTINCT s.NRSEQORCAEVE) FROM CONTRATANTE s"
      "         WHERE s.CDFILIAL = ?1 AND s.NRORCAEVENTO = ?2 AND s.CDCLIENTE = ?4)"
      "  FROM ORCAEVENTO o LEFT JOIN CONTRATANTE c ON c.CDFILIAL = o.CDFILIAL AND c.NRORCAEVENTO = o.NRORCAEVENTO"
      "   AND c.NRSEQORCAEVE = o.NRSEQORCAEVE AND c.CDCLIENTE = ?4 AND c.NRENDCLIORCEVE = ?5"
      " WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND o.NRSEQORCAEVE = ?3");
  st.bindAll(branch, budget, seq, client, address);
  if (!st.step()) return std::nullopt;
  return PartialRescissionFacts{st.text(0), st.text(1), st.integer(2) != 0, st.text(3), st.text(4),
                                st.text(5), st.text(6), st.text(7), st.integer(8)};
}

std::vector<PartyKey> BudgetContracts(Database& db, const BudgetKey& b) {
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND IDORIGEMINCLUSAO <> 'DISTRATO'");
  st.bindAll(b.branch, b.budget);
  std::vector<PartyKey> contracts;
  while (st.step()) contracts.push_back({st.text(0), st.text(1), st.text(2)});
  return contracts;
}

std::string SequenceCompany(Database& db, const BudgetKey& b, const std::string& seq) {
  Statement st = db.prepare(
      "SELECT COALESCE(CDEMPRESA, '') FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3");
  st.bindAll(b.branch, b.budget, seq);
  return st.step() ? st.text(0) : "";
}

bool ChildBudgetUnapproved(Database& db, const BudgetKey& b, const std::string& seq, const std::string& client) {
  if (!client.empty()) {
    Statement st = db.prepare(
        "SELECT 1 FROM CONTRATANTE c JOIN ORCAEVENTO o ON o.CDFILIAL = c.CDFILIAL"
        "   AND o.NRORCAEVENTO = c.NRORCAEVENTO AND o.NRSEQORCAEVE = c.NRSEQORCAEVE"
        " WHERE c.CDFILIAL = ?1 AND c.NRORCAEVENTO = ?2 AND c.CDCLIENTE = ?3 AND c.IDORIGEMINCLUSAO = 'DISTRATO'"
        "   AND c.IDTPDISTRATOREALI = 'PARCIAL' AND c.IDCONTPROCESDIST = 'S' AND o.IDORCAAPROVADO <> 'S'"
        "   AND (?4 = '' OR o.NRSEQORCAEVEPAI = ?4) LIMIT 1");
    st.bindAll(b.branch, b.budget, client, seq);
    return st.step();
  }
  // From the budget's few sequences, not its parties: a whole budget's
  // rescission puts thousands of them in one child sequence.
  Statement st = db.prepare(
      "SELECT 1 FROM ORCAEVENTO o WHERE o.CDFILIAL = ?1 AND o.NRORCAEVENTO = ?2 AND o.IDORCAAPROVADO <> 'S'"
      "   AND EXISTS (SELECT 1 FROM CONTRATANTE c WHERE c.CDFILIAL = o.CDFILIAL AND c.NRORCAEVENTO = o.NRORCAEVENTO"
      "                  AND c.NRSEQORCAEVE = o.NRSEQORCAEVE AND c.IDORIGEMINCLUSAO = 'DISTRATO'"
      "                  AND c.IDTPDISTRATOREALI = 'TOTAL' AND c.IDCONTPROCESDIST = 'S')"
      " LIMIT 1");
  st.bindAll(b.branch, b.budget);
  return st.step();
}

}  // namespace rescission_store
