#pragma once
// Logging a connection in: the operator's password is checked against its
// stored digest, the connection's session is bound to that operator, and
// failed attempts are counted per operator (shared with the supervisor's
// confirmation) and per client address, each locked out for a while after
// too many. Every outcome is told to the log without the password. Safe from
// several threads.

#include <chrono>
#include <functional>
#include <string>

#include "data/variant.h"
#include "session/failed_attempts.h"

class CallerSession;
class Storage;

class LoginService {
 public:
  // Where login outcomes go: accepted or refused, and the line to log.
  using EventLog = std::function<void(bool accepted, const std::string& line)>;

  explicit LoginService(Storage& storage);

  // Set before the server serves; no log when unset.
  void setEventLog(EventLog log) { log_ = std::move(log); }

  // Logs `caller` in as operator `code` when `password` is that operator's
  // (any letter case); answers [code, name, role]. Throws the refusal.
  Variant logIn(CallerSession& caller, const std::string& code, const std::string& password);

  // The client's address without its port: the key failures count under.
  static std::string AddressOf(const std::string& peer);

  // A client address is locked out after this many failures within 15 minutes.
  static constexpr int kMaxFailuresPerAddress = 10;

 private:
  // Leaves the connection anonymous, logs and throws `message`.
  [[noreturn]] void refuse(CallerSession& caller, const std::string& code, const std::string& why,
                           const std::string& message);

  Storage& storage_;
  FailedAttempts addressFailures_;
  EventLog log_;
};
