#include "app_server.h"

#include "methods/method_support.h"
#include "session/caller_session.h"
#include "storage/database.h"
#include "storage/storage.h"

AppServer::AppServer(const std::string& dbPath) : storage_(std::make_unique<Storage>(dbPath)) {
  RegisterBudgetLookup(dispatcher_, *storage_);
  RegisterParties(dispatcher_, *storage_);
  RegisterAccounts(dispatcher_, *storage_);
  RegisterCommandQuestions(dispatcher_, *storage_);
  RegisterContractorValues(dispatcher_, *storage_);
  RegisterRescission(dispatcher_, *storage_);
  RegisterTotalRescission(dispatcher_, *storage_);
  RegisterConsolidation(dispatcher_, *storage_);
  RegisterSubstitution(dispatcher_, *storage_);
  RegisterOperators(dispatcher_, *storage_);
  RegisterUndo(dispatcher_, *storage_);
}

AppServer::~AppServer() = default;

Variant AppServer::call(const std::string& method, std::vector<Variant>& args) const {
  return dispatcher_.call(method, args);
}

std::vector<AuditRow> AppServer::auditTrail(const std::string& since) const {
  Database& db = storage_->connection();
  Transaction tx(db, false);
  return ReadAudit(db, since);
}

Variant AppServer::call(CallerSession& caller, const std::string& method, std::vector<Variant>& args) const {
  CallerScope scope(&caller);
  return dispatcher_.call(method, args);
}
