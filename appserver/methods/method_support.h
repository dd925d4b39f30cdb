#pragma once
// What the handler files share: running a method inside one transaction of
// this thread's connection.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "dispatch.h"
#include "protocol/distrato_methods.h"

class CallerSession;
class Database;
class Storage;
struct RequestKey;

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

// The by-reference arguments of a writing call: `take` reads them as the
// handler left them, to be recorded with its answer; `give` puts back the ones
// recorded, when a retry is answered from the record. Empty for a method
// without any.
struct ByRefArgs {
  std::function<std::vector<Variant>()> take;
  std::function<void(const std::vector<Variant>&)> give;
};

// Runs a reading `work` as InTransaction does, behind the writers of any
// server that hold or wait for `lock` (see ReaderTurn): while a budget is
// being written its reads wait a moment rather than take the machine from
// its writer, so the writer's turn, and the queue behind it, stay short
// however many servers share the database.
Variant InReadingTransaction(Storage& storage, const std::string& lock, const std::function<Variant(Database&)>& work);

// Runs a writing `work` as InTransaction does, after queueing behind every
// writer of any server that names one of `locks` (see WriterLocks): writers of
// the same budget wait their turn instead of colliding and running again.
// The locks are held across the reruns and released after the last attempt.
// A call made under a request key (`request` not null) is applied once: its
// answer is recorded in the same transaction, and a key already recorded is
// answered from the record without running `work` (methods/applied_requests.h).
// `answerAgain`, when given, is for a change whose second run would find it
// made (a review refreshed to what was sent): only the run is recorded, and
// a retry is answered by `answerAgain`, which reads and changes nothing, so
// a whole budget's answer is not written with every call.
Variant InWritingTransaction(Storage& storage, const std::vector<std::string>& locks, const RequestKey* request,
                             const std::function<Variant(Database&)>& work, const ByRefArgs& byRef = {},
                             const std::function<Variant(Database&)>& answerAgain = {});

// The session a handler that acts on its caller runs for; refuses a call
// made with none (a Dispatcher driven alone).
CallerSession& RequireCaller(const CallContext& context);

// The writer lock names: a budget (its parties, sequences, child budgets,
// working set and totals), and a branch's launch numbers (the accounts it
// numbers, whatever their budget).
std::string BudgetLock(std::string_view branch, std::string_view budget);
std::string LaunchNumbersLock(std::string_view branch);

// What a declared method does to the data, and so what it waits for.
enum class Access {
  kRead,                    // a snapshot, no locks
  kWriteBudget,             // changes one budget (the call's filial and orcamento)
  kWriteBudgetAndLaunches,  // that, and numbers accounts of the branch
};

// The locks a writing call of method M takes: its budget, and the branch's
// launch numbers when it numbers accounts.
template <class M>
std::vector<std::string> WriterLocksOf(const M& call, Access access) {
  std::vector<std::string> locks{BudgetLock(call.filial, call.orcamento)};
  if (access == Access::kWriteBudgetAndLaunches) locks.push_back(LaunchNumbersLock(call.filial));
  return locks;
}

// A handler of positional arguments, run inside one transaction.
MethodHandler Transactional(Storage& storage, DbHandler handler, bool writes = false);

// A declared method, its handler run inside one transaction and reading its
// arguments by name; a writing one queues on the locks of what it changes.
// `Handler` is Variant(Database&, M&), or Variant(Database&, M&,
// CallerSession&) for a method that acts on its caller's session. `again`,
// when given, answers a retry of a writing call by reading again
// (InWritingTransaction's `answerAgain`).
template <class M, class Handler>
MethodSpec TransactionalMethod(Storage& storage, Handler handler, Access access, Handler again = nullptr) {
  return DeclaredMethod<M>([&storage, handler, access, again](M& call, const CallContext& context) {
    const auto run = [&](Handler h, Database& db) {
      if constexpr (std::is_invocable_v<Handler, Database&, M&, CallerSession&>)
        return h(db, call, RequireCaller(context));
      else
        return h(db, call);
    };
    const auto work = [&](Database& db) { return run(handler, db); };
    if (access == Access::kRead) {
      if constexpr (requires { call.filial; call.orcamento; })
        return InReadingTransaction(storage, BudgetLock(call.filial, call.orcamento), work);
      else
        return InTransaction(storage, false, work);
    }
    const ByRefArgs byRef{[&call] {
                            std::vector<Variant> values(protocol::Describe<M>().size());
                            protocol::WriteBack(call, values);
                            return values;
                          },
                          [&call](const std::vector<Variant>& values) { protocol::ReadBack(call, values); }};
    std::function<Variant(Database&)> answerAgain;
    if (again) answerAgain = [&](Database& db) { return run(again, db); };
    if constexpr (requires { call.filial; call.orcamento; })
      return InWritingTransaction(storage, WriterLocksOf(call, access), context.request, work, byRef, answerAgain);
    else
      return InWritingTransaction(storage, {}, context.request, work, byRef, answerAgain);
  });
}

template <class Call>
MethodSpec Transactional(Storage& storage, Variant (*handler)(Database&, Call&), Access access = Access::kRead) {
  return TransactionalMethod<std::remove_const_t<Call>>(storage, handler, access);
}
template <class Call>
MethodSpec Transactional(Storage& storage, Variant (*handler)(Database&, Call&, CallerSession&),
                         Access access = Access::kRead, Variant (*again)(Database&, Call&, CallerSession&) = nullptr) {
  return TransactionalMethod<std::remove_const_t<Call>>(storage, handler, access, again);
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
