#pragma once
// A dxr10900-server of the test's own on a copy of the demo database (the
// operations write), reached through an in-process relay that counts the
// calls by method and can answer a method itself, as a server that refuses,
// answers something unexpected or stops answering would.

#include <sqlite3.h>

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "data/exceptions.h"
#include "net/net_connection.h"
#include "net/refusal.h"
#include "net/rpc_server.h"
#include "test_server.h"

namespace testing_support {

// The demo database, written once per test program.
inline const std::string& DemoTemplate() {
  static const dx_test::DemoDatabase demo;
  return demo.path();
}

class FreshServer {
 public:
  using Override = std::function<Variant(std::vector<Variant>& args, FreshServer& server)>;

  // `setupSql` runs on the copy before the server opens it.
  explicit FreshServer(const std::string& setupSql = "") : db_(dir_.file("demo.db")) {
    std::filesystem::copy_file(DemoTemplate(), db_);
    if (!setupSql.empty()) Exec(setupSql);
    server_ = std::make_unique<dx_test::ServerProcess>(db_);
    server_->requireListening();
    upstream_.SetHost(server_->host());
    upstream_.SetPort(server_->port());
    upstream_.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
    upstream_.SetThrowException(true);
    relay_ = std::make_unique<RpcServer>([this](const std::string& method, std::vector<Variant>& args) {
      return Relay(method, args);
    });
    port_ = relay_->listen("127.0.0.1", 0);
    thread_ = std::thread([this] { relay_->run(); });
  }
  ~FreshServer() {
    Release();
    relay_->stop();
    thread_.join();
  }

  int port() const { return port_; }
  const std::string& db() const { return db_; }

  void OverrideMethod(const std::string& method, Override answer) {
    std::lock_guard lock(mutex_);
    overrides_[method] = std::move(answer);
  }
  int Calls(const std::string& method) {
    std::lock_guard lock(mutex_);
    return calls_[method];
  }
  // The real server's answer (its payload; a refusal throws), for an
  // override that passes a call on.
  Variant Forward(const std::string& method, std::vector<Variant>& args) {
    std::lock_guard lock(upstreamMutex_);
    return upstream_.Call(method, args).asArray().at(1);
  }
  // Blocks an override until the test ends: a server that stops answering.
  void Hang() {
    std::unique_lock lock(hangMutex_);
    hangCv_.wait(lock, [this] { return released_; });
  }
  void Release() {
    std::lock_guard lock(hangMutex_);
    released_ = true;
    hangCv_.notify_all();
  }

  // Runs SQL on the database file, beside the server.
  void Exec(const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(db_.c_str(), &db) != SQLITE_OK) throw std::runtime_error("open " + db_);
    sqlite3_busy_timeout(db, 10000);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error(message);
  }
  // The first column of the first row of a query, as text.
  std::string One(const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(db_.c_str(), &db);
    sqlite3_busy_timeout(db, 10000);
    sqlite3_stmt* st = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW &&
        sqlite3_column_text(st, 0))
      out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
  }

 private:
  // Whatever the real server refused or an override throws is what the
  // server answers: the relay passes its text on as a refusal.
  Variant Relay(const std::string& method, std::vector<Variant>& args) {
    try {
      return RelayOrOverride(method, args);
    } catch (const std::exception& e) {
      throw Refusal(e.what());
    }
  }
  Variant RelayOrOverride(const std::string& method, std::vector<Variant>& args) {
    Override answer;
    {
      std::lock_guard lock(mutex_);
      ++calls_[method];
      auto it = overrides_.find(method);
      if (it != overrides_.end()) answer = it->second;
    }
    if (answer) return answer(args, *this);
    return Forward(method, args);
  }

  dx_test::TempDir dir_{"dxr10900-op-"};
  std::string db_;
  std::unique_ptr<dx_test::ServerProcess> server_;
  int port_ = 0;
  std::unique_ptr<RpcServer> relay_;
  std::thread thread_;
  TNetConnection upstream_;
  std::mutex upstreamMutex_;
  std::mutex mutex_;
  std::map<std::string, Override> overrides_;
  std::map<std::string, int> calls_;
  std::mutex hangMutex_;
  std::condition_variable hangCv_;
  bool released_ = false;
};

}  // namespace testing_support
