#pragma once
// How often a password may be tried at login, and the locks that follow.
//
// - An operator from one address: 5 failures within 15 minutes lock that
//   operator out from that address for 15 minutes.
// - An operator from any address: 20 failures within an hour lock that
//   operator out for an hour, except from the addresses it logged in from
//   during the last 30 days (a slower limit, which an attacker cannot turn
//   against the operator at its own desk).
// - An address whatever the operator: 30 failures within 15 minutes lock the
//   address out for 15 minutes, except for the operators that logged in from
//   it during the last 30 days (so one guesser behind a shared address does
//   not lock everyone else out).
//
// An attempt is counted before its password is checked: attempts still being
// checked count as failures, so however many arrive at once, no more are
// checked than the limit allows. A success clears neither a count nor a
// lock (failures expire with their window): otherwise guesses sent beside
// the right password would be checked beyond the limit once it succeeded,
// and a lock placed while the right password was being checked still
// refuses it. The counts and locks live in the database
// (login_lock_store.h), so they outlive a restart and an administrator can
// list and clear them; attempts being checked are this process's. Safe from
// several threads.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class Storage;

class LoginLimits {
 public:
  using Seconds = std::int64_t;  // since 1970, UTC

  struct Rule {
    int maxFailures;
    Seconds window;
    Seconds lockout;
  };
  static constexpr Rule kOperatorAtAddress{5, 15 * 60, 15 * 60};
  static constexpr Rule kOperatorAnywhere{20, 60 * 60, 60 * 60};
  static constexpr Rule kAddressAnyOperator{30, 15 * 60, 15 * 60};
  static constexpr Seconds kKnownAddressFor = 30 * 24 * 60 * 60;

  explicit LoginLimits(Storage& storage) : storage_(storage) {}

  // One attempt being checked; what it counted is released when it ends.
  class Attempt {
   public:
    Attempt(Attempt&& other) noexcept;
    Attempt(const Attempt&) = delete;
    Attempt& operator=(const Attempt&) = delete;
    Attempt& operator=(Attempt&&) = delete;
    ~Attempt();

   private:
    friend class LoginLimits;
    Attempt(LoginLimits* limits, std::string operatorCode, std::string address, bool known);
    LoginLimits* limits_;
    std::string operator_, address_;
    bool known_;  // the operator logged in from this address lately
  };

  // Counts an attempt of `operatorCode` from `address`; throws the refusal
  // (std::runtime_error) when a lock or the attempts already being checked
  // leave no room for it.
  Attempt begin(const std::string& operatorCode, const std::string& address, Seconds now);
  // The password was wrong: the failure is stored. Says which locks it
  // placed ("" when none), for the log.
  std::string failed(Attempt& attempt, Seconds now);
  // The password was right: throws the refusal when a lock was placed
  // meanwhile; otherwise remembers the address as the operator's.
  void succeeded(Attempt& attempt, Seconds now);

  static Seconds Now();

 private:
  struct Key {
    std::string operatorCode, address;
    const Rule* rule;
  };
  // The keys an attempt counts under: the wider ones only from an address
  // the operator has not logged in from lately.
  static std::vector<Key> KeysOf(const std::string& operatorCode, const std::string& address, bool known);
  static constexpr Seconds kRememberEvery = 24 * 60 * 60;
  void release(const Attempt& attempt);

  Storage& storage_;
  std::mutex mu_;  // the database's counts and pending_ move together
  std::map<std::pair<std::string, std::string>, int> pending_;  // attempts being checked, by key
};
