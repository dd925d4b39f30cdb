#pragma once
// Who is calling: one connection's operator, once logged in, and the undo
// approval a supervisor or manager gave on it. The server keeps one per
// connection, and one per operator for callers inside its own process; each
// call hands its session to the method (CallContext).
// Every member is safe from several threads.

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "session/failed_attempts.h"
#include "session/stamp_table.h"

class CallerSession {
 public:
  using Clock = std::chrono::steady_clock;

  explicit CallerSession(std::string peer) : peer_(std::move(peer)) {}

  // The client's address, for the log and the login limits.
  const std::string& peer() const { return peer_; }

  // The operator the connection logged in as, and that operator's role
  // (SUPERVISOR, GERENTE or OPERADOR); both empty before login.
  std::string operatorCode() const;
  std::string role() const;
  bool loggedIn() const { return !operatorCode().empty(); }
  void logIn(std::string operatorCode, std::string role);

  // Failed password confirmations (ConfirmaSenhaOperador) made on this
  // connection, under the key kConfirmationKey: 5 within 15 minutes and the
  // connection may confirm no password for 15 minutes. They count against
  // the connection that tries, never against the operator it names, so
  // nobody can lock a supervisor's approvals out by guessing.
  FailedAttempts& confirmationFailures() { return confirmations_; }
  static constexpr const char* kConfirmationKey = "confirmação";

  // Records that `approver` confirmed a password at `when`; replaces any
  // earlier approval.
  void grantApproval(std::string approver, Clock::time_point when);
  // The approver of an approval given at most `window` before `now`, used up
  // by this call; nothing when there is none or it expired.
  std::optional<std::string> takeApproval(Clock::time_point now, Clock::duration window);

  // What this connection last read of records others may change: a stamp of
  // each record's content by key, within a scope (say, one budget's working
  // set). A write compares it with the stored record to refuse overwriting
  // someone else's change. rememberReads replaces a scope's stamps.
  void rememberReads(const std::string& scope, StampTable stamps);
  void rememberRead(const std::string& scope, const std::string& key, std::string_view stamp);
  std::optional<std::string> lastRead(const std::string& scope, const std::string& key) const;

 private:
  const std::string peer_;
  mutable std::mutex mu_;             // guards the members below
  std::string operator_;              // empty until login
  std::string role_;
  std::string approver_;              // empty when no approval is pending
  Clock::time_point approvedAt_{};
  std::map<std::string, StampTable> reads_;  // scope -> key -> stamp
  FailedAttempts confirmations_{5, std::chrono::minutes(15), std::chrono::minutes(15)};
};
