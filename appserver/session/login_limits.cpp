#include "session/login_limits.h"

#include <chrono>
#include <stdexcept>

#include "methods/method_support.h"
#include "net/printable_text.h"
#include "session/login_lock_store.h"
#include "storage/database.h"
#include "net/refusal.h"

namespace {

std::string Minutes(LoginLimits::Seconds wait) {
  const auto minutes = (wait + 59) / 60;
  return std::to_string(minutes) + (minutes == 1 ? " minuto" : " minutos");
}

// The refusal of a key locked for `wait` more seconds.
std::string LockedText(const std::string& operatorCode, const std::string& address, LoginLimits::Seconds wait) {
  const std::string who = PrintableText(operatorCode);
  if (operatorCode.empty())
    return "Tentativas de login inválidas demais deste endereço. Tente novamente em " + Minutes(wait) + ".";
  if (address.empty())
    return "Operador " + who + " bloqueado para novos endereços por tentativas de senha inválidas. Tente novamente em " +
           Minutes(wait) + ".";
  return "Operador " + who + " bloqueado por tentativas de senha inválidas. Tente novamente em " + Minutes(wait) + ".";
}

std::string LockName(const std::string& operatorCode, const std::string& address) {
  if (operatorCode.empty()) return "endereço bloqueado";
  if (address.empty()) return "operador bloqueado para novos endereços";
  return "operador bloqueado neste endereço";
}

}  // namespace

LoginLimits::Attempt::Attempt(LoginLimits* limits, std::string operatorCode, std::string address, bool known)
    : limits_(limits), operator_(std::move(operatorCode)), address_(std::move(address)), known_(known) {}

LoginLimits::Attempt::Attempt(Attempt&& other) noexcept
    : limits_(std::exchange(other.limits_, nullptr)),
      operator_(std::move(other.operator_)),
      address_(std::move(other.address_)),
      known_(other.known_) {}

LoginLimits::Attempt::~Attempt() {
  if (limits_) limits_->release(*this);
}

LoginLimits::Seconds LoginLimits::Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::vector<LoginLimits::Key> LoginLimits::KeysOf(const std::string& operatorCode, const std::string& address,
                                                  bool known) {
  std::vector<Key> keys{{operatorCode, address, &kOperatorAtAddress}};
  if (!known) {
    keys.push_back({operatorCode, "", &kOperatorAnywhere});
    keys.push_back({"", address, &kAddressAnyOperator});
  }
  return keys;
}

void LoginLimits::release(const Attempt& attempt) {
  std::lock_guard lock(mu_);
  for (const Key& k : KeysOf(attempt.operator_, attempt.address_, attempt.known_)) {
    auto it = pending_.find({k.operatorCode, k.address});
    if (it != pending_.end() && --it->second <= 0) pending_.erase(it);
  }
}

LoginLimits::Attempt LoginLimits::begin(const std::string& operatorCode, const std::string& address, Seconds now) {
  std::lock_guard lock(mu_);
  std::string refusal;
  bool known = false;
  std::vector<std::pair<Key, int>> counts;
  InTransaction(storage_, false, [&](Database& db) {
    const auto last = LastLoginFrom(db, operatorCode, address);
    known = last && now - *last <= kKnownAddressFor;
    counts.clear();
    refusal.clear();
    for (const Key& k : KeysOf(operatorCode, address, known)) {
      const auto row = ReadLoginLock(db, k.operatorCode, k.address);
      if (row && row->lockedUntil > now && refusal.empty())
        refusal = LockedText(k.operatorCode, k.address, row->lockedUntil - now);
      const bool inWindow = row && now - row->windowStart <= k.rule->window;
      counts.push_back({k, inWindow ? row->failures : 0});
    }
    return Variant();
  });
  if (!refusal.empty()) throw Refusal(refusal);
  for (const auto& [k, failures] : counts) {
    auto it = pending_.find({k.operatorCode, k.address});
    const int checking = it == pending_.end() ? 0 : it->second;
    if (failures + checking >= k.rule->maxFailures) {
      if (checking == 0) throw Refusal(LockedText(k.operatorCode, k.address, k.rule->lockout));
      throw Refusal("Tentativas de login simultâneas demais para o operador " + PrintableText(operatorCode) +
                               ". Tente novamente em instantes.");
    }
  }
  for (const auto& [k, failures] : counts) ++pending_[{k.operatorCode, k.address}];
  return Attempt(this, operatorCode, address, known);
}

std::string LoginLimits::failed(Attempt& attempt, Seconds now) {
  std::lock_guard lock(mu_);
  std::string placed;
  InTransaction(storage_, true, [&](Database& db) {
    placed.clear();
    for (const Key& k : KeysOf(attempt.operator_, attempt.address_, attempt.known_)) {
      LoginLockRow row = ReadLoginLock(db, k.operatorCode, k.address).value_or(LoginLockRow{k.operatorCode, k.address});
      if (row.failures == 0 || now - row.windowStart > k.rule->window) {
        row.failures = 0;
        row.windowStart = now;
      }
      if (++row.failures >= k.rule->maxFailures && row.lockedUntil <= now) {
        row.lockedUntil = now + k.rule->lockout;
        placed += "; " + LockName(k.operatorCode, k.address) + " por " + Minutes(k.rule->lockout);
        row.failures = 0;  // a new window begins after the lock
        row.windowStart = now;
      }
      WriteLoginLock(db, row);
    }
    ForgetStaleLoginLocks(db, now, now - kOperatorAnywhere.window);
    return Variant();
  });
  return placed;
}

void LoginLimits::succeeded(Attempt& attempt, Seconds now) {
  std::lock_guard lock(mu_);
  std::string refusal;
  bool remember = false;
  InTransaction(storage_, false, [&](Database& db) {
    refusal.clear();
    for (const Key& k : KeysOf(attempt.operator_, attempt.address_, attempt.known_)) {
      const auto row = ReadLoginLock(db, k.operatorCode, k.address);
      if (row && row->lockedUntil > now && refusal.empty())
        refusal = LockedText(k.operatorCode, k.address, row->lockedUntil - now);
    }
    // Written at most once a day per address, so a login seldom writes.
    const auto last = LastLoginFrom(db, attempt.operator_, attempt.address_);
    remember = !last || now - *last > kRememberEvery;
    return Variant();
  });
  if (!refusal.empty()) throw Refusal(refusal);
  if (!remember) return;
  InTransaction(storage_, true, [&](Database& db) {
    RecordLoginFrom(db, attempt.operator_, attempt.address_, now);
    return Variant();
  });
}
