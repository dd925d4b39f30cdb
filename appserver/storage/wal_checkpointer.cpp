#include "storage/wal_checkpointer.h"

#include <map>
#include <utility>

namespace storage {
namespace {

// SQLite's own threshold: a log of this many pages is copied back.
constexpr int kCopyFromPages = 1000;
// A log this long means the thread is not keeping up (another process
// reading for a long time, say): the committing connection copies it itself,
// as SQLite would have, so the log cannot grow without end.
constexpr int kCopyInlineFromPages = 32 * 1024;

}  // namespace

std::shared_ptr<WalCheckpointer> WalCheckpointer::Of(const std::string& path) {
  static std::mutex mu;
  static std::map<std::string, std::weak_ptr<WalCheckpointer>> running;
  std::lock_guard<std::mutex> lock(mu);
  for (auto it = running.begin(); it != running.end();) it = it->second.expired() ? running.erase(it) : std::next(it);
  if (auto found = running.find(path); found != running.end()) return found->second.lock();
  auto made = std::make_shared<WalCheckpointer>(path);
  running.emplace(path, made);
  return made;
}

WalCheckpointer::WalCheckpointer(std::string path) : path_(std::move(path)), thread_([this] { run(); }) {}

WalCheckpointer::~WalCheckpointer() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void WalCheckpointer::watch(sqlite3* db) { sqlite3_wal_hook(db, &WalCheckpointer::OnCommit, this); }

int WalCheckpointer::OnCommit(void* self, sqlite3* db, const char* schema, int pages) {
  if (pages >= kCopyInlineFromPages) {
    sqlite3_wal_checkpoint_v2(db, schema, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    return SQLITE_OK;
  }
  if (pages < kCopyFromPages) return SQLITE_OK;
  auto* checkpointer = static_cast<WalCheckpointer*>(self);
  {
    std::lock_guard<std::mutex> lock(checkpointer->mu_);
    checkpointer->pending_ = true;
  }
  checkpointer->wake_.notify_one();
  return SQLITE_OK;
}

void WalCheckpointer::run() {
  // Its own connection, opened on the first copy asked for; closing it last
  // lets SQLite copy what is left and remove the log, as on any last close.
  sqlite3* db = nullptr;
  std::unique_lock<std::mutex> lock(mu_);
  for (;;) {
    wake_.wait(lock, [this] { return pending_ || stop_; });
    if (stop_) break;
    pending_ = false;
    lock.unlock();
    if (!db && sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
      // The writers' own inline copy (kCopyInlineFromPages) bounds the log meanwhile.
      sqlite3_close(db);
      db = nullptr;
    }
    // A copy reaches the disk before the log may be reused, as the writers' commits do.
    if (db) sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    // PASSIVE: copies what no reader still needs, never waits for a reader or
    // a writer, so no request waits for it either.
    if (db) sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    lock.lock();
  }
  lock.unlock();
  sqlite3_close(db);
}

}  // namespace storage
