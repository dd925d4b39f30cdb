#pragma once
// Copies a SQLite database's write-ahead log back into the database file on
// a thread of its own. Left to SQLite, the commit that grows the log past its
// threshold copies it before returning, so the request that wrote a whole
// budget also waited for the copy; here that request answers first. One per
// database file in the process, shared by the file's connections; all of its
// calls are safe from any thread.

#include <sqlite3.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace storage {

class WalCheckpointer {
 public:
  // The checkpointer of `path`, started by the first connection that asks.
  static std::shared_ptr<WalCheckpointer> Of(const std::string& path);

  explicit WalCheckpointer(std::string path);
  // Stops the thread; a copy under way is finished first.
  ~WalCheckpointer();
  WalCheckpointer(const WalCheckpointer&) = delete;
  WalCheckpointer& operator=(const WalCheckpointer&) = delete;

  // Installs on `db` the hook that hands its commits' log to this thread.
  void watch(sqlite3* db);

 private:
  // The commit hook: asks for a copy once the log holds enough pages.
  static int OnCommit(void* self, sqlite3* db, const char* schema, int pages);
  void run();

  const std::string path_;
  std::mutex mu_;
  std::condition_variable wake_;
  bool pending_ = false;  // a commit asked for a copy not yet started
  bool stop_ = false;     // the destructor is waiting for the thread
  std::thread thread_;    // last: started once the state above exists
};

}  // namespace storage
