#pragma once
// Logging a connection in: the operator's password is checked against its
// stored digest, the connection's session is bound to that operator, and
// attempts are counted, before the check, under the limits of
// login_limits.h. Every outcome is told to the log without the password,
// and the code the client typed escaped. Safe from several threads.

#include <chrono>
#include <functional>
#include <string>

#include "data/variant.h"
#include "session/login_limits.h"

class CallerSession;
class Storage;

class LoginService {
 public:
  // How a login ended: accepted, refused (wrong operator or password), or
  // refused unchecked because a lock-out holds.
  enum class Outcome { kAccepted, kRefused, kLocked };
  // Where login outcomes go, with the line to log.
  using EventLog = std::function<void(Outcome outcome, const std::string& line)>;

  explicit LoginService(Storage& storage);

  // Set before the server serves; no log when unset.
  void setEventLog(EventLog log) { log_ = std::move(log); }

  // Logs `caller` in as operator `code` when `password` is that operator's
  // (any letter case); answers [code, name, role]. Throws the refusal.
  Variant logIn(CallerSession& caller, const std::string& code, const std::string& password);

  // The client's address without its port: the key failures count under.
  static std::string AddressOf(const std::string& peer);

  // Longer codes name no operator (CDOPERADOR holds 12 characters); they
  // are refused without a check.
  static constexpr std::size_t kMaxCodeBytes = 12;

 private:
  // Leaves the connection anonymous, logs and throws `message`.
  [[noreturn]] void refuse(CallerSession& caller, const std::string& code, const std::string& why,
                           const std::string& message, Outcome outcome = Outcome::kRefused);

  Storage& storage_;
  LoginLimits limits_;
  EventLog log_;
};
