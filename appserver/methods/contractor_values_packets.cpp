#include "methods/contractor_values_packets.h"

#include <algorithm>
#include <cmath>
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

// An amount of the packet in cents by the money rule, from 0 to the largest
// amount; an absent or null one is 0.
Cents Amount(const DataPacket& p, std::size_t row, const char* field, const std::string& client) {
  const std::optional<Cents> v = AmountAt(p, row, field);
  if (!v || *v < 0)
    throw Refusal(std::string("Valor inválido em ") + field + " do contratante " + client + ".");
  return *v;
}

// A party's code as every method stores it.
std::string ClientAt(const DataPacket& p, std::size_t row) { return KeyCode(TextAt(p, row, "CDCLIENTE"), 0); }

// The key fields a packet row may carry; empty when the packet lacks them.
std::string SeqAt(const DataPacket& p, std::size_t row) {
  const std::string seq = TextAt(p, row, "NRSEQORCAEVE");
  return seq.empty() ? "" : KeyCode(seq, kSequenceWidth);
}
std::string AddressAt(const DataPacket& p, std::size_t row) { return KeyCode(TextAt(p, row, "NRENDCLIORCEVE"), 0); }

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
std::optional<PartyKey> ChooseContract(const std::vector<ReviewedContract>& set, std::vector<std::size_t> candidates,
                                       const std::string& code, const std::string& seq, const std::string& address) {
  std::vector<PartyKey> found;
  for (std::size_t i : candidates) {
    const PartyKey& k = set[i].key;
    if (!seq.empty() && k.seq != seq) continue;
    if (!address.empty() && k.address != address) continue;
    found.push_back(k);
  }
  if (found.size() > 1)
    std::erase_if(found, [&](const PartyKey& k) { return k.client != code; });
  if (found.empty()) return std::nullopt;
  if (found.size() > 1)
    throw Refusal("O cliente " + code + " tem mais de um contrato neste orçamento: informe a sequência"
                             " (NRSEQORCAEVE) e o endereço (NRENDCLIORCEVE) do contrato.");
  return found.front();
}

}  // namespace

ContractLookup::ContractLookup(const std::vector<ReviewedContract>& set) : set_(set) {
  byClient_.reserve(set.size());
  for (std::size_t i = 0; i < set.size(); ++i) {
    byClient_[set[i].key.client].push_back(i);
    if (!set[i].substitute.empty()) bySubstitute_[set[i].substitute].push_back(i);
  }
}

std::optional<PartyKey> ContractLookup::find(const std::string& code, const std::string& seq,
                                             const std::string& address, bool bySubstitute) const {
  std::vector<std::size_t> candidates;
  if (auto own = byClient_.find(code); own != byClient_.end()) candidates = own->second;
  if (bySubstitute) {
    if (auto held = bySubstitute_.find(code); held != bySubstitute_.end()) {
      // A contract whose substitute is its own client is named once.
      for (std::size_t i : held->second)
        if (set_[i].key.client != code) candidates.push_back(i);
    }
  }
  return ChooseContract(set_, std::move(candidates), code, seq, address);
}

std::optional<PartyKey> FindParty(const std::vector<ReviewedContract>& set, const std::string& code,
                                  const std::string& seq, const std::string& address, bool bySubstitute) {
  std::vector<std::size_t> candidates;
  for (std::size_t i = 0; i < set.size(); ++i) {
    const ReviewedContract& r = set[i];
    if (r.key.client == code || (bySubstitute && !r.substitute.empty() && r.substitute == code)) candidates.push_back(i);
  }
  return ChooseContract(set, std::move(candidates), code, seq, address);
}

PartyKey PartyAt(const ContractLookup& set, const DataPacket& p, std::size_t row) {
  const std::string client = ClientAt(p, row);
  std::optional<PartyKey> key = set.find(client, SeqAt(p, row), AddressAt(p, row), false);
  if (!key) NotAParty(client);
  return *key;
}

// A row without a negotiated value negotiates the calculated one; without an
// account, it generates a receivable.
working_set_store::ComputedValues ComputedValuesAt(const DataPacket& p, std::size_t r, const std::string& client) {
  working_set_store::ComputedValues v;
  v.account = TextAt(p, r, "GERACTPAGAR");
  if (v.account.empty()) v.account = "CNTRECEBER";
  v.calculated = Amount(p, r, "VRORIGRECNOEDIT", client);
  v.negotiated = Has(p, "VRORIGREC") ? Amount(p, r, "VRORIGREC", client) : v.calculated;
  if (v.negotiated > v.calculated) RefuseAboveCalculated(client, v.negotiated, v.calculated);
  v.finePercent = NumberAt(p, r, "VRPERCMULTA").value_or(0.0);
  v.fine = Amount(p, r, "VRMULTA", client);
  v.error = TextAt(p, r, "ERRO");
  v.renegotiationError = TextAt(p, r, "ERRORENEGFIN");
  return v;
}

// The payment mode is "E" (cash), "F" (fixed day and count) or "V" (the
// installments sent); day and count matter only for "F".
working_set_store::Confirmation ConfirmationAt(const DataPacket& p, std::size_t r, const std::string& client) {
  working_set_store::Confirmation c;
  c.negotiated = Amount(p, r, "VRORIGREC", client);
  c.mode = TextAt(p, r, "IDTPFORMAPGTO");
  if (c.mode.empty()) c.mode = "E";
  if (c.mode != "E" && c.mode != "F" && c.mode != "V")
    throw Refusal("Forma de pagamento inválida para o contratante " + client + ".");
  c.startMonth = TextAt(p, r, "IDMESINIPGTO") == "P" ? "P" : "A";
  c.day = NumberAt(p, r, "NRDIAPGTOFIXO").value_or(1);
  c.count = NumberAt(p, r, "NRPARCELAS").value_or(1);
  if (c.mode == "F" && (c.day < 1 || c.day > 31 || c.day != std::floor(c.day)))
    throw Refusal("Dia de pagamento inválido para o contratante " + client + ".");
  if (c.mode == "F" && (c.count < 1 || c.count > 99 || c.count != std::floor(c.count)))
    throw Refusal("Quantidade de parcelas inválida para o contratante " + client + ".");
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
  for (std::size_t r = 0; r < plan.rowCount(); ++r) {
    std::string keyedTo = ClientAt(plan, r);
    const std::optional<PartyKey> owner = contracts.find(keyedTo, SeqAt(plan, r), AddressAt(plan, r), true);
    if (!owner) NotAParty(keyedTo);
    const std::string ownerLabel = owner->label();
    if ((Has(plan, "CDFILIAL") && KeyCode(TextAt(plan, r, "CDFILIAL"), kBranchWidth) != b.branch) ||
        (Has(plan, "NRORCAEVENTO") && KeyCode(TextAt(plan, r, "NRORCAEVENTO"), kBudgetWidth) != b.budget))
      throw Refusal("Parcela de outro orçamento no pacote de parcelas.");
    const DateTime due = DueAt(plan, r);
    if (due < processing)
      throw Refusal("Parcela do contratante " + ownerLabel + " vence em " + FormatDate(due) +
                               ", antes da data de processamento (" + FormatDate(processing) + ").");
    const Cents value = Amount(plan, r, "VRPARCELA", keyedTo);
    if (value <= 0)
      throw Refusal("O valor de cada parcela do contratante " + ownerLabel + " deve ser maior que zero.");
    std::vector<Installment>& party = plans[*owner];
    if (party.size() == kMaxInstallments)
      throw Refusal("O plano de pagamento do contratante " + ownerLabel + " excede o limite de " +
                               std::to_string(kMaxInstallments) + " parcelas.");
    party.push_back({due, value});
  }
  return plans;
}

}  // namespace contractor_packets
