#include "methods/method_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "methods/key_codes.h"
#include "storage/database.h"
#include "storage/storage.h"
#include "storage/storage_errors.h"

namespace {

// A transaction the database aborted because another server or thread changed
// what it read runs again from the start, a few times, after a short random
// pause so the contenders do not collide again in step.
constexpr int kAttempts = 8;

void PauseBeforeRetry(int attempt) {
  thread_local std::mt19937 random{std::random_device{}()};
  const int ceilingMs = std::min(5 << attempt, 250);  // 10, 20, 40, 80, 160, 250 ms
  std::uniform_int_distribution<int> pause(ceilingMs / 2, ceilingMs);
  std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
}

std::atomic<std::uint64_t> reruns{0}, busyRefusals{0};

}  // namespace

TransactionConflicts TransactionConflictCounts() { return {reruns.load(), busyRefusals.load()}; }

const char* const kDatabaseBusyMessage =
    "O banco de dados está ocupado com alterações simultâneas; tente novamente.";

Variant InTransaction(Storage& storage, bool writes, const std::function<Variant(Database&)>& work) {
  for (int attempt = 1;; ++attempt) {
    try {
      Database& db = storage.connection();
      Transaction tx(db, writes);
      Variant result = work(db);
      tx.commit();
      return result;
    } catch (const storage::Conflict&) {
      // The transaction was rolled back whole: nothing of it remains.
      if (attempt == kAttempts) {
        busyRefusals.fetch_add(1, std::memory_order_relaxed);
        throw std::runtime_error(kDatabaseBusyMessage);
      }
      reruns.fetch_add(1, std::memory_order_relaxed);
      PauseBeforeRetry(attempt);
    }
  }
}

Variant InWritingTransaction(Storage& storage, const std::vector<std::string>& locks,
                             const std::function<Variant(Database&)>& work) {
  const WriterLocks queued(storage.connection(), locks);
  return InTransaction(storage, true, work);
}

std::string BudgetLock(std::string_view branch, std::string_view budget) {
  return "orcamento " + KeyCode(branch, kBranchWidth) + " " + KeyCode(budget, kBudgetWidth);
}

std::string LaunchNumbersLock(std::string_view branch) { return "lancamentos " + KeyCode(branch, kBranchWidth); }

MethodHandler Transactional(Storage& storage, DbHandler handler, bool writes) {
  return [&storage, handler = std::move(handler), writes](CallArgs& args) {
    return InTransaction(storage, writes, [&](Database& db) { return handler(db, args); });
  };
}
