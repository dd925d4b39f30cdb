#pragma once
// Reading the packets of the contractor-values dialog: the parties it sends
// (priced or confirmed) and the installments of their plans, each value
// checked and each row tied to its contract of the working set. Refusals
// name the party. Pure functions over their arguments: safe from any thread.

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/money.h"
#include "data/packet.h"
#include "data/variant.h"
#include "methods/key_codes.h"
#include "methods/packet_reading.h"
#include "methods/party_key.h"
#include "methods/working_set_store.h"

namespace contractor_packets {

// Refuses a client that is not a party of the budget's review.
[[noreturn]] void NotAParty(const std::string& client);

// Refuses a negotiated value above the calculated one.
[[noreturn]] void RefuseAboveCalculated(const std::string& client, Cents negotiated, Cents calculated);

// The contracts of a review by the codes that name them: a packet of a whole
// budget is matched row by row, and a scan of the set per row would grow
// with the square of the parties. Holds a reference to `set`.
class ContractLookup {
 public:
  explicit ContractLookup(const std::vector<working_set_store::ReviewedContract>& set);

  // The contract a caller names by code, sequence and address ("" for any).
  std::optional<PartyKey> find(const std::string& code, const std::string& seq, const std::string& address,
                               bool bySubstitute) const;

 private:
  const std::vector<working_set_store::ReviewedContract>& set_;
  // Indexes into set_ ordered by client, and those with a substitute by
  // substitute: a whole budget's worth costs two allocations, not one per client.
  std::vector<std::size_t> byClient_, bySubstitute_;
};

// The contract of `set` a caller names by code, sequence and address ("" for any).
std::optional<PartyKey> FindParty(const std::vector<working_set_store::ReviewedContract>& set, const std::string& code,
                                  const std::string& seq, const std::string& address, bool bySubstitute);

// The rows of a parties packet the dialog sends, their fields looked up once
// for the whole packet: a budget's packet has a row per party. Holds a
// reference to the packet.
class PartyRows {
 public:
  explicit PartyRows(const DataPacket& p);

  std::size_t size() const { return p_.rowCount(); }
  // The contract a row names; refuses one not there.
  PartyKey party(const ContractLookup& set, std::size_t row) const;
  // The priced values a row of `party` carries for the review to start with.
  working_set_store::ComputedValues computed(std::size_t row, const PartyKey& party) const;
  // The negotiated value and payment form a row of confirmed parties carries.
  working_set_store::Confirmation confirmation(std::size_t row, const PartyKey& party) const;

 private:
  const DataPacket& p_;
  packet_reading::Field client_, seq_, address_;
  packet_reading::Field account_, calculated_, negotiated_, finePercent_, fine_, error_, renegotiationError_;
  packet_reading::Field mode_, startMonth_, day_, count_;
};

// The installments of a plan packet by the contract of `set` they belong to.
std::map<PartyKey, std::vector<working_set_store::Installment>> PlansIn(
    const BudgetKey& b, const std::vector<working_set_store::ReviewedContract>& set, const DataPacket& plan,
    DateTime processing);

}  // namespace contractor_packets
