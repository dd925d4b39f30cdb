#pragma once
// The application server "DXR10900.RDMDISTRATO" without its socket: the
// storage and every remote method registered by name.

#include <cstdint>
#include <memory>
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

  // Runs one remote method; refusals and failures are thrown with the
  // message the client shows. Safe to call from several threads at once.
  Variant call(const std::string& method, std::vector<Variant>& args) const;
  // The same for a call that arrived on a connection: the methods see
  // `caller` as CurrentCaller() while they run. Before `Login` no other
  // method runs, and a method's `operador` argument must be the operator
  // the connection logged in as. A change made under `requestKey` is applied
  // once: a retry of the key is answered as the first call was
  // (methods/applied_requests.h); reads ignore it.
  Variant call(CallerSession& caller, const std::string& method, std::vector<Variant>& args,
               const std::string& requestKey = {}) const;
  const Dispatcher& dispatcher() const { return dispatcher_; }
  // Logins and their limits; set its log before serving.
  LoginService& logins() { return *logins_; }
  // The audit trail from `since` (YYYY-MM-DD, or "" for all), newest first.
  std::vector<AuditRow> auditTrail(const std::string& since) const;

  // Why the server cannot serve now (the database does not answer, or its
  // schema is not this server's), or nullopt when it can.
  std::optional<std::string> readiness() const;
  // The database's size in bytes; 0 when it cannot be read.
  std::uint64_t databaseSizeBytes() const;

 private:
  std::unique_ptr<Storage> storage_;
  std::unique_ptr<LoginService> logins_;
  Dispatcher dispatcher_;
};
