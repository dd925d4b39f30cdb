#pragma once
// The application server "DXR10900.RDMDISTRATO" without its socket: the
// storage and every remote method registered by name.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "audit/audit_trail.h"
#include "dispatch.h"

class CallerSession;
class LoginService;
class Storage;

class AppServer {
 public:
  // Opens the database file, applying pending migrations.
  explicit AppServer(const std::string& dbPath);
  ~AppServer();

  // Runs one remote method that arrived on a connection, on the
  // connection's session; refusals and failures are thrown with the message
  // the client shows. Before `Login` no other method runs, and a method's
  // `operador` argument must be the operator the connection logged in as. A
  // change made under `requestKey` is applied once: a retry of the key is
  // answered as the first call was (methods/applied_requests.h); reads ignore
  // it. Safe to call from several threads at once.
  Variant call(CallerSession& caller, const std::string& method, std::vector<Variant>& args,
               const std::string& requestKey = {}) const;
  // The same for a caller inside this process (a benchmark, a tool, a test):
  // it runs on a session the server keeps for the operator the call names
  // (or for no operator, when the method names none), so the methods apply
  // every check they apply to a connection; only the login is not asked.
  Variant call(const std::string& method, std::vector<Variant>& args) const;
  const Dispatcher& dispatcher() const { return dispatcher_; }
  // Logins and their limits; set its log before serving.
  LoginService& logins() { return *logins_; }
  // The audit trail from `since` (YYYY-MM-DD, or "" for all), newest first.
  std::vector<AuditRow> auditTrail(const std::string& since) const;

  // Why the server cannot serve now (the database does not answer, or its
  // schema is not this server's), or nullopt when it can.
  std::optional<std::string> readiness() const;
  // Readies this thread's database session for its first calls.
  void warmUpConnection() const;
  // The database's size in bytes; 0 when it cannot be read.
  std::uint64_t databaseSizeBytes() const;

 private:
  std::unique_ptr<Storage> storage_;
  std::unique_ptr<LoginService> logins_;
  Dispatcher dispatcher_;
  mutable std::mutex inProcessMu_;  // guards inProcess_
  mutable std::map<std::string, std::unique_ptr<CallerSession>> inProcess_;  // operator -> its in-process session
};
