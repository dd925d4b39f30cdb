#pragma once
// A scratch directory per test and a shared demo database for the read-only
// method tests.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app_server.h"
#include "data/packet.h"
#include "demo/demo_database.h"
#include "session/caller_session.h"
#include "session/operator_password.h"
#include "storage/database.h"
#include "storage/statement.h"

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dxr10900-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Calls a method with text arguments and returns its result.
inline Variant CallText(const AppServer& app, const std::string& method, std::vector<std::string> texts) {
  std::vector<Variant> args(texts.begin(), texts.end());
  return app.call(method, args);
}

// A connection's session already logged in, by default as the demo
// supervisor: calls through AppServer::call(caller, ...) run as they do for a
// client that logged in. The password check itself is the Login tests' job.
class LoggedInCaller : public CallerSession {
 public:
  explicit LoggedInCaller(const std::string& operatorCode = "SUPERVISOR", const std::string& role = "SUPERVISOR",
                          const std::string& peer = "127.0.0.1:50000")
      : CallerSession(peer) {
    logIn(operatorCode, role);
  }
};

// Registers the demo supervisor (SUPERVISOR / DISTRATO) in a database that
// has no operators (an empty file, one of an older version), without
// migrating it, so that clients can log in as every test does.
inline void RegisterDemoSupervisor(const std::string& path) {
  Database db(path);
  Statement st = db.prepare(
      "INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, CDVENDEDOR, CDSENHOPER, IDPAPEL)"
      " VALUES ('SUPERVISOR', 'Supervisor', NULL, ?1, 'SUPERVISOR')");
  st.bind(1, HashOperatorPassword("DISTRATO"));
  st.run();
}

// Calls a method with text arguments on a connection's session.
inline Variant CallTextAs(const AppServer& app, CallerSession& caller, const std::string& method,
                          std::vector<std::string> texts) {
  std::vector<Variant> args(texts.begin(), texts.end());
  return app.call(caller, method, args);
}

// Texts of one field over every row of a packet.
inline std::vector<std::string> Column(const DataPacket& p, const std::string& field) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < p.rowCount(); ++i) out.push_back(p.at(i, field).asText());
  return out;
}

// One demo database shared by a test suite that only reads it.
class DemoServer {
 public:
  static const AppServer& Get() {
    static DemoServer instance;
    return *instance.app_;
  }

 private:
  DemoServer() {
    WriteDemoDatabase(dir_.file("demo.db"), 0);
    app_ = std::make_unique<AppServer>(dir_.file("demo.db"));
  }
  ScratchDir dir_;
  std::unique_ptr<AppServer> app_;
};
