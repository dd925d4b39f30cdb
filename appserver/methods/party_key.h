#pragma once
// The key of a contracting party within a budget: one contract, named by its
// sequence, client and address. A client may hold several contracts in one
// budget (another sequence after a rescission, another address), so every
// map, working set, refusal and audit row of the server uses the whole key.

#include <string>
#include <string_view>
#include <tuple>

struct PartyKey {
  std::string seq, client, address;

  // The key as one text, for maps and stamps: "01|3203|2".
  std::string text() const { return Text(seq, client, address); }
  // The same text from the key's parts wherever they are (a row being read).
  static std::string Text(std::string_view seq, std::string_view client, std::string_view address) {
    std::string text;
    text.reserve(seq.size() + client.size() + address.size() + 2);
    text.append(seq).append(1, '|').append(client).append(1, '|').append(address);
    return text;
  }

  // How a refusal names the contract: "3203 (sequência 01, endereço 2)".
  std::string label() const { return client + " (sequência " + seq + ", endereço " + address + ")"; }

  friend bool operator<(const PartyKey& a, const PartyKey& b) {
    return std::tie(a.seq, a.client, a.address) < std::tie(b.seq, b.client, b.address);
  }
  friend bool operator==(const PartyKey& a, const PartyKey& b) = default;
};
