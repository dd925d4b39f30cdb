#pragma once
// A dxr10900-server of the test's own on a copy of the demo database (the
// operations write), reached through an in-process relay that counts the
// calls by method and can answer a method itself, as a server that refuses,
// answers something unexpected or stops answering would.

#include <signal.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "data/exceptions.h"
#include "net/net_connection.h"
#include "net/rpc_server.h"

namespace testing_support {

namespace fs = std::filesystem;

// The demo database, written once per test program.
inline const std::string& DemoTemplate() {
  static const std::string path = [] {
    std::string pattern = (fs::temp_directory_path() / "dxr10900-ops-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    const std::string db = pattern + "/template.db";
    const std::string init = std::string(DXR10900_SERVER) + " --db " + db + " --init-demo >/dev/null 2>&1";
    if (std::system(init.c_str()) != 0) throw std::runtime_error("--init-demo failed");
    return db;
  }();
  return path;
}

class FreshServer {
 public:
  using Override = std::function<Variant(std::vector<Variant>& args, FreshServer& server)>;

  // `setupSql` runs on the copy before the server opens it.
  explicit FreshServer(const std::string& setupSql = "") {
    std::string pattern = (fs::temp_directory_path() / "dxr10900-op-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    dir_ = pattern;
    db_ = dir_ + "/demo.db";
    fs::copy_file(DemoTemplate(), db_);
    if (!setupSql.empty()) Exec(setupSql);
    StartServer();
    upstream_.SetHost("127.0.0.1");
    upstream_.SetPort(serverPort_);
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
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    if (out_) fclose(out_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
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
  Variant Relay(const std::string& method, std::vector<Variant>& args) {
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

  void StartServer() {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      dup2(fds[1], STDOUT_FILENO);
      close(fds[0]);
      close(fds[1]);
      execl(DXR10900_SERVER, DXR10900_SERVER, "--db", db_.c_str(), "--listen", "127.0.0.1:0", nullptr);
      _exit(127);
    }
    close(fds[1]);
    out_ = fdopen(fds[0], "r");
    char line[256] = {};
    if (!out_ || !fgets(line, sizeof line, out_)) throw std::runtime_error("server did not start");
    const std::string first = line;
    serverPort_ = std::stoi(first.substr(first.rfind(':') + 1));
  }

  std::string dir_, db_;
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  int serverPort_ = 0;
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
