#include "methods/method_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <random>
#include <stdexcept>
#include <thread>

#include "methods/applied_requests.h"
#include "methods/key_codes.h"
#include "storage/database.h"
#include "storage/storage.h"
#include "storage/storage_errors.h"
#include "net/refusal.h"

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

std::int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Old request keys go at most once an hour per process, in a transaction of
// their own after a write, so the write's answer never waits on it.
constexpr std::int64_t kPruneEverySeconds = 60 * 60;
std::atomic<std::int64_t> lastPrune{0};

void PruneRecordedAnswersWhenDue(Storage& storage) {
  const std::int64_t now = NowSeconds();
  std::int64_t last = lastPrune.load();
  if (now - last < kPruneEverySeconds || !lastPrune.compare_exchange_strong(last, now)) return;
  try {
    InTransaction(storage, true, [now](Database& db) {
      PruneRecordedAnswers(db, now);
      return Variant();
    });
  } catch (const std::exception&) {
    // Nothing depends on it: the next write tries again within the hour.
  }
}

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
        throw Refusal(kDatabaseBusyMessage);
      }
      reruns.fetch_add(1, std::memory_order_relaxed);
      PauseBeforeRetry(attempt);
    }
  }
}

Variant InReadingTransaction(Storage& storage, const std::string& lock, const std::function<Variant(Database&)>& work) {
  const ReaderTurn turn(storage.connection(), lock);
  return InTransaction(storage, false, work);
}

Variant InWritingTransaction(Storage& storage, const std::vector<std::string>& locks, const RequestKey* request,
                             const std::function<Variant(Database&)>& work, const ByRefArgs& byRef,
                             const std::function<Variant(Database&)>& answerAgain) {
  Variant result;
  {
    std::optional<WriterLocks> queued;
    if (!locks.empty()) queued.emplace(storage.connection(), locks);
    if (!request) return InTransaction(storage, true, work);
    result = InTransaction(storage, true, [&](Database& db) {
      if (std::optional<RecordedAnswer> earlier = FindRecordedAnswer(db, *request)) {
        // The method and the operator are the key's own, so a run recorded
        // alone has its answerAgain.
        if (earlier->ranOnly) {
          if (!answerAgain) throw std::runtime_error("Resposta registrada ilegível.");
          return answerAgain(db);
        }
        if (byRef.give) byRef.give(earlier->args);
        return std::move(earlier->result);
      }
      Variant answer = work(db);
      if (answerAgain)
        RecordRun(db, *request, NowSeconds());
      else
        RecordAnswer(db, *request, {answer, byRef.take ? byRef.take() : std::vector<Variant>{}}, NowSeconds());
      return answer;
    });
  }
  PruneRecordedAnswersWhenDue(storage);
  return result;
}

CallerSession& RequireCaller(const CallContext& context) {
  if (!context.caller) throw Refusal("Esta chamada só é possível numa sessão do servidor de aplicação.");
  return *context.caller;
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
