#pragma once
// What the handler files share: running a method inside one transaction of
// this thread's connection.

#include <cstdint>
#include <functional>

#include "dispatch.h"
#include "protocol/distrato_methods.h"

class Database;
class Storage;

using DbHandler = std::function<Variant(Database&, CallArgs&)>;

// The refusal of a method whose transaction kept colliding with others.
extern const char* const kDatabaseBusyMessage;

// Runs `work` inside a transaction that is committed when it returns and
// rolled back when it throws. Methods that write say so (`writes`): on SQLite
// they take the write lock at the start, so two writers never deadlock
// upgrading a read. A transaction the database aborted for a conflict with
// another (PostgreSQL's serialization failures and deadlocks) runs `work` again
// from the start, a bounded number of times, then refuses with
// kDatabaseBusyMessage: `work` must leave nothing outside the transaction.
Variant InTransaction(Storage& storage, bool writes, const std::function<Variant(Database&)>& work);

// Since the process started, across every storage: transactions run again
// after the database aborted them for a conflicting writer, and calls refused
// with kDatabaseBusyMessage because they kept conflicting.
struct TransactionConflicts {
  std::uint64_t reruns = 0;
  std::uint64_t busyRefusals = 0;
};
TransactionConflicts TransactionConflictCounts();

// A handler of positional arguments, run inside one transaction.
MethodHandler Transactional(Storage& storage, DbHandler handler, bool writes = false);

// A declared method, its handler run inside one transaction and reading its
// arguments by name.
template <class M>
MethodSpec Transactional(Storage& storage, Variant (*handler)(Database&, M&), bool writes = false) {
  return DeclaredMethod<M>([&storage, handler, writes](M& call) {
    return InTransaction(storage, writes, [&](Database& db) { return handler(db, call); });
  });
}
template <class M>
MethodSpec Transactional(Storage& storage, Variant (*handler)(Database&, const M&), bool writes = false) {
  return DeclaredMethod<M>([&storage, handler, writes](M& call) {
    return InTransaction(storage, writes, [&](Database& db) { return handler(db, call); });
  });
}

// Registration of each group of methods.
void RegisterBudgetLookup(Dispatcher& dispatcher, Storage& storage);
void RegisterParties(Dispatcher& dispatcher, Storage& storage);
void RegisterAccounts(Dispatcher& dispatcher, Storage& storage);
void RegisterCommandQuestions(Dispatcher& dispatcher, Storage& storage);
void RegisterContractorValues(Dispatcher& dispatcher, Storage& storage);
void RegisterRescission(Dispatcher& dispatcher, Storage& storage);
void RegisterTotalRescission(Dispatcher& dispatcher, Storage& storage);
void RegisterConsolidation(Dispatcher& dispatcher, Storage& storage);
void RegisterSubstitution(Dispatcher& dispatcher, Storage& storage);
void RegisterOperators(Dispatcher& dispatcher, Storage& storage);
void RegisterUndo(Dispatcher& dispatcher, Storage& storage);
void RegisterStatement(Dispatcher& dispatcher, Storage& storage);
