#include "methods/contractor_values_packets.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <stdexcept>

#include "data/formats.h"
#include "methods/packet_reading.h"
#include "net/refusal.h"

namespace contractor_packets {

namespace {

using namespace packet_reading;
using working_set_store::Installment;
using working_set_store::ReviewedContract;

// Thirty years of monthly installments is more than any real plan; a longer
// one is a mistake or an attack on the storage.
constexpr std::size_t kMaxInstallments = 360;

// How a refusal names the party a row belongs to: its code as sent, or its
// contract's label, made only when a refusal needs it.
const std::string& NameOf(const std::string& code) { return code; }
std::string NameOf(const PartyKey& party) { return party.label(); }

// An amount of the packet in cents by the money rule, from 0 to the largest
// amount; an absent or null one is 0.
template <class Party>
Cents Amount(const DataPacket& p, std::size_t row, const Field& field, const Party& party) {
  const std::optional<Cents> v = AmountAt(p, row, field);
  if (!v || *v < 0)
    throw Refusal(std::string("Valor inválido em ") + field.name + " do contratante " + NameOf(party) + ".");
  return *v;
}

// The codes that name a row's contract, read as every method stores them;
// the sequence and address are empty when the packet lacks them.
struct RowCodes {
  std::string client, seq, address;
};
RowCodes CodesAt(const DataPacket& p, std::size_t row, const Field& client, const Field& seq, const Field& address) {
  const std::string sequence = TextAt(p, row, seq);
  return {KeyCode(TextAt(p, row, client), 0), sequence.empty() ? "" : KeyCode(sequence, kSequenceWidth),
          KeyCode(TextAt(p, row, address), 0)};
}

// An installment row's due date; refuses one missing or unreadable.
DateTime DueAt(const DataPacket& plan, std::size_t r) {
  if (!Has(plan, "DTVENCIMENTO") || plan.at(r, "DTVENCIMENTO").isNull())
    throw Refusal("Data de vencimento deve ser informada.");
  try {
    return DateOf(plan.at(r, "DTVENCIMENTO").asDate());
  } catch (const std::exception&) {
    throw Refusal("Data de vencimento inválida.");
  }
}

}  // namespace

void NotAParty(const std::string& client) {
  throw Refusal("Contratante " + client + " não pertence ao distrato deste orçamento.");
}

// A negotiation lowers what is refunded or charged, never raises it.
void RefuseAboveCalculated(const std::string& client, Cents negotiated, Cents calculated) {
  throw Refusal("O valor negociado do contratante " + client + " (" + CentsText(negotiated) +
                           ") não pode ser maior que o valor calculado (" + CentsText(calculated) + ").");
}

// By its whole key, or, for a caller that sends only a code, the one contract
// of that client (or of the client it records as substitute, when
// `bySubstitute`). A client with several contracts must be named by the whole key.
namespace {

// The contracts of `candidates` (indexes into `set`, each once) that the
// sequence and address narrow to, the party's own code winning over a
// substitute code that names another.
std::optional<PartyKey> ChooseContract(const std::vector<ReviewedContract>& set,
                                       std::span<const std::size_t> candidates, const std::string& code,
                                       const std::string& seq, const std::string& address) {
  // Counted rather than collected: a whole budget's packet asks once per row.
  std::size_t matches = 0, own = 0, first = 0, firstOwn = 0;
  for (std::size_t i : candidates) {
    const PartyKey& k = set[i].key;
    if (!seq.empty() && k.seq != seq) continue;
    if (!address.empty() && k.address != address) continue;
    if (matches++ == 0) first = i;
    if (k.client == code && own++ == 0) firstOwn = i;
  }
  if (matches == 1) return set[first].key;
  if (matches == 0 || own == 0) return std::nullopt;
  if (own > 1)
    throw Refusal("O cliente " + code + " tem mais de um contrato neste orçamento: informe a sequência"
                             " (NRSEQORCAEVE) e o endereço (NRENDCLIORCEVE) do contrato.");
  return set[firstOwn].key;
}

}  // namespace

namespace {

// The indexes of `set` whose code (`codeOf`) is not empty, ordered by it.
template <class CodeOf>
std::vector<std::size_t> IndexesByCode(const std::vector<ReviewedContract>& set, CodeOf codeOf) {
  std::vector<std::size_t> order;
  order.reserve(set.size());
  for (std::size_t i = 0; i < set.size(); ++i)
    if (!codeOf(set[i]).empty()) order.push_back(i);
  // Stable: a client's contracts stay in the set's order.
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return codeOf(set[a]) < codeOf(set[b]); });
  return order;
}

const std::string& ClientOf(const ReviewedContract& c) { return c.key.client; }
const std::string& SubstituteOf(const ReviewedContract& c) { return c.substitute; }

// The run of `order` (IndexesByCode's) whose code is `code`.
template <class CodeOf>
std::span<const std::size_t> RunOf(const std::vector<ReviewedContract>& set, const std::vector<std::size_t>& order,
                                   const std::string& code, CodeOf codeOf) {
  auto first = std::lower_bound(order.begin(), order.end(), code,
                                [&](std::size_t i, const std::string& c) { return codeOf(set[i]) < c; });
  auto last = first;
  while (last != order.end() && codeOf(set[*last]) == code) ++last;
  return {first, last};
}

}  // namespace

ContractLookup::ContractLookup(const std::vector<ReviewedContract>& set)
    : set_(set), byClient_(IndexesByCode(set, ClientOf)), bySubstitute_(IndexesByCode(set, SubstituteOf)) {}

std::optional<PartyKey> ContractLookup::find(const std::string& code, const std::string& seq,
                                             const std::string& address, bool bySubstitute) const {
  const std::span<const std::size_t> owned = RunOf(set_, byClient_, code, ClientOf);
  const std::span<const std::size_t> held =
      bySubstitute ? RunOf(set_, bySubstitute_, code, SubstituteOf) : std::span<const std::size_t>{};
  if (held.empty()) return ChooseContract(set_, owned, code, seq, address);
  std::vector<std::size_t> candidates(owned.begin(), owned.end());
  // A contract whose substitute is its own client is named once.
  for (std::size_t i : held)
    if (set_[i].key.client != code) candidates.push_back(i);
  return ChooseContract(set_, candidates, code, seq, address);
}

std::optional<PartyKey> FindParty(const std::vector<ReviewedContract>& set, const std::string& code,
                                  const std::string& seq, const std::string& address, bool bySubstitute) {
  std::vector<std::size_t> candidates;
  for (std::size_t i = 0; i < set.size(); ++i) {
    const ReviewedContract& r = set[i];
    if (r.key.client == code || (bySubstitute && !r.substitute.empty() && r.substitute == code)) candidates.push_back(i);
  }
  return ChooseContract(set, candidates, code, seq, address);
}

PartyRows::PartyRows(const DataPacket& p)
    : p_(p), client_(p, "CDCLIENTE"), seq_(p, "NRSEQORCAEVE"), address_(p, "NRENDCLIORCEVE"),
      account_(p, "GERACTPAGAR"), calculated_(p, "VRORIGRECNOEDIT"), negotiated_(p, "VRORIGREC"),
      finePercent_(p, "VRPERCMULTA"), fine_(p, "VRMULTA"), error_(p, "ERRO"), renegotiationError_(p, "ERRORENEGFIN"),
      mode_(p, "IDTPFORMAPGTO"), startMonth_(p, "IDMESINIPGTO"), day_(p, "NRDIAPGTOFIXO"), count_(p, "NRPARCELAS") {}

PartyKey PartyRows::party(const ContractLookup& set, std::size_t row) const {
  const RowCodes codes = CodesAt(p_, row, client_, seq_, address_);
  std::optional<PartyKey> key = set.find(codes.client, codes.seq, codes.address, false);
  if (!key) NotAParty(codes.client);
  return *key;
}

// A row without a negotiated value negotiates the calculated one; without an
// account, it generates a receivable.
working_set_store::ComputedValues PartyRows::computed(std::size_t r, const PartyKey& party) const {
  working_set_store::ComputedValues v;
  v.account = TextAt(p_, r, account_);
  if (v.account.empty()) v.account = "CNTRECEBER";
  v.calculated = Amount(p_, r, calculated_, party);
  v.negotiated = negotiated_.present() ? Amount(p_, r, negotiated_, party) : v.calculated;
  if (v.negotiated > v.calculated) RefuseAboveCalculated(party.label(), v.negotiated, v.calculated);
  v.finePercent = NumberAt(p_, r, finePercent_).value_or(0.0);
  v.fine = Amount(p_, r, fine_, party);
  v.error = TextAt(p_, r, error_);
  v.renegotiationError = TextAt(p_, r, renegotiationError_);
  return v;
}

// The payment mode is "E" (cash), "F" (fixed day and count) or "V" (the
// installments sent); day and count matter only for "F".
working_set_store::Confirmation PartyRows::confirmation(std::size_t r, const PartyKey& party) const {
  working_set_store::Confirmation c;
  c.negotiated = Amount(p_, r, negotiated_, party);
  c.mode = TextAt(p_, r, mode_);
  if (c.mode.empty()) c.mode = "E";
  if (c.mode != "E" && c.mode != "F" && c.mode != "V")
    throw Refusal("Forma de pagamento inválida para o contratante " + party.label() + ".");
  c.startMonth = TextAt(p_, r, startMonth_) == "P" ? "P" : "A";
  c.day = NumberAt(p_, r, day_).value_or(1);
  c.count = NumberAt(p_, r, count_).value_or(1);
  if (c.mode == "F" && (c.day < 1 || c.day > 31 || c.day != std::floor(c.day)))
    throw Refusal("Dia de pagamento inválido para o contratante " + party.label() + ".");
  if (c.mode == "F" && (c.count < 1 || c.count > 99 || c.count != std::floor(c.count)))
    throw Refusal("Quantidade de parcelas inválida para o contratante " + party.label() + ".");
  if (c.mode != "F") c.day = c.count = 1, c.startMonth = "A";
  return c;
}

// Each installment checked: this branch and budget, a due date not before the
// processing date, a value above zero. Installments are keyed to the party or
// to its substitute; both mean the party, whose own key the plan is stored
// and fetched under.
std::map<PartyKey, std::vector<Installment>> PlansIn(const BudgetKey& b, const std::vector<ReviewedContract>& set,
                                                     const DataPacket& plan, DateTime processing) {
  std::map<PartyKey, std::vector<Installment>> plans;
  const ContractLookup contracts(set);
  const Field client(plan, "CDCLIENTE"), seq(plan, "NRSEQORCAEVE"), address(plan, "NRENDCLIORCEVE");
  const Field value(plan, "VRPARCELA");
  for (std::size_t r = 0; r < plan.rowCount(); ++r) {
    const RowCodes codes = CodesAt(plan, r, client, seq, address);
    const std::string& keyedTo = codes.client;
    const std::optional<PartyKey> owner = contracts.find(keyedTo, codes.seq, codes.address, true);
    if (!owner) NotAParty(keyedTo);
    const std::string ownerLabel = owner->label();
    if ((Has(plan, "CDFILIAL") && KeyCode(TextAt(plan, r, "CDFILIAL"), kBranchWidth) != b.branch) ||
        (Has(plan, "NRORCAEVENTO") && KeyCode(TextAt(plan, r, "NRORCAEVENTO"), kBudgetWidth) != b.budget))
      throw Refusal("Parcela de outro orçamento no pacote de parcelas.");
    const DateTime due = DueAt(plan, r);
    if (due < processing)
      throw Refusal("Parcela do contratante " + ownerLabel + " vence em " + FormatDate(due) +
                               ", antes da data de processamento (" + FormatDate(processing) + ").");
    const Cents cents = Amount(plan, r, value, keyedTo);
    if (cents <= 0)
      throw Refusal("O valor de cada parcela do contratante " + ownerLabel + " deve ser maior que zero.");
    std::vector<Installment>& party = plans[*owner];
    if (party.size() == kMaxInstallments)
      throw Refusal("O plano de pagamento do contratante " + ownerLabel + " excede o limite de " +
                               std::to_string(kMaxInstallments) + " parcelas.");
    party.push_back({due, cents});
  }
  return plans;
}

}  // namespace contractor_packets
