#pragma once
// A scratch directory per test and a shared demo database for the read-only
// method tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_server.h"
#include "data/packet.h"
#include "demo/demo_database.h"
#include "scratch_postgres.h"
#include "test_server.h"
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

// The database backends the method tests run on.
enum class Backend { kSqlite, kPostgres };

inline auto AllBackends() { return ::testing::Values(Backend::kSqlite, Backend::kPostgres); }

inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::kSqlite ? "SQLite" : "PostgreSQL";
}

// The aggregate the tests' checks use to list rows in one text, which
// PostgreSQL spells string_agg.
inline constexpr const char* kGroupConcatForTests = R"SQL(
CREATE FUNCTION dx_concat(acc TEXT, v TEXT, sep TEXT) RETURNS TEXT LANGUAGE sql IMMUTABLE AS
  $$ SELECT CASE WHEN v IS NULL THEN acc WHEN acc IS NULL THEN v ELSE acc || sep || v END $$;
CREATE FUNCTION dx_concat(acc TEXT, v TEXT) RETURNS TEXT LANGUAGE sql IMMUTABLE AS $$ SELECT dx_concat(acc, v, ',') $$;
CREATE AGGREGATE group_concat(TEXT, TEXT) (SFUNC = dx_concat, STYPE = TEXT);
CREATE AGGREGATE group_concat(TEXT) (SFUNC = dx_concat, STYPE = TEXT);
)SQL";

// A fresh, empty database on the backend: a file in `dir`, or a new database
// of the test program's PostgreSQL cluster (which must start: the PostgreSQL
// tests fail, never skip, when it cannot).
inline std::string FreshPostgresDatabase() {
  dx_test::ScratchPostgres& cluster = dx_test::ScratchPostgres::Shared();
  const std::string target = cluster.createDatabase();
  cluster.query(dx_test::DatabaseNameOf(target), kGroupConcatForTests);
  return target;
}

inline std::string FreshDatabase(Backend backend, const ScratchDir& dir, const std::string& name = "demo.db") {
  return backend == Backend::kSqlite ? dir.file(name) : FreshPostgresDatabase();
}

// The options of a demo server (tests/support/test_server.h) on the backend.
inline dx_test::DemoOptions DemoOn(Backend backend) {
  dx_test::DemoOptions options;
  if (backend == Backend::kPostgres) options.database = FreshPostgresDatabase();
  return options;
}

// Makes every write `when` names fail ("BEFORE INSERT ON T"), in the
// database's own trigger dialect: a failure midway through a method.
inline void AddFailingTrigger(Database& db, const std::string& name, const std::string& when) {
  if (db.dialect() == storage::Dialect::kSqlite) {
    db.exec("CREATE TRIGGER " + name + " " + when + " BEGIN SELECT RAISE(ABORT, 'falha forçada'); END");
    return;
  }
  db.exec(
      "CREATE OR REPLACE FUNCTION dx_fail() RETURNS trigger LANGUAGE plpgsql AS"
      " $$ BEGIN RAISE EXCEPTION 'falha forçada'; END $$");
  db.exec("CREATE TRIGGER " + name + " " + when + " FOR EACH ROW EXECUTE FUNCTION dx_fail()");
}

// Field declarations of the packets the tests send: text of `size`, number, date.
inline FieldDef S(const char* name, int size) { return {name, FieldType::String, size}; }
inline FieldDef F(const char* name) { return {name, FieldType::Float, 0}; }
inline FieldDef D(const char* name) { return {name, FieldType::DateTime, 0}; }

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

// One demo database per backend shared by a test suite that only reads it.
class DemoServer {
 public:
  static const AppServer& Get(Backend backend = Backend::kSqlite) {
    if (backend == Backend::kSqlite) {
      static DemoServer sqlite(Backend::kSqlite);
      return *sqlite.app_;
    }
    static DemoServer postgres(Backend::kPostgres);
    return *postgres.app_;
  }

 private:
  explicit DemoServer(Backend backend) {
    const std::string target = FreshDatabase(backend, dir_);
    WriteDemoDatabase(target, 0);
    app_ = std::make_unique<AppServer>(target);
  }
  ScratchDir dir_;
  std::unique_ptr<AppServer> app_;
};

// A fresh demo database on one backend with the server's methods over it:
// the base of the method tests that change data, run once per backend.
class DemoOnBackend : public ::testing::TestWithParam<Backend> {
 protected:
  DemoOnBackend() {
    WriteDemoDatabase(target_, 0);
    app_ = std::make_unique<AppServer>(target_);
    db_ = std::make_unique<Database>(target_);
  }

  Variant Call(const std::string& method, std::vector<Variant> args) { return app_->call(method, args); }
  // What a call refused with, or "(no refusal)".
  static std::string Refusal(const std::function<void()>& call) {
    try {
      call();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(no refusal)";
  }
  // The first column of the query's first row, as text ("" when none).
  std::string One(const std::string& sql) {
    Statement st = db_->prepare(sql);
    return st.step() ? st.text(0) : "";
  }
  // Every row of the queries as text, to compare what a call left before and after.
  std::string Rows(const std::vector<std::string>& queries) {
    std::string out;
    for (const std::string& sql : queries) {
      Statement st = db_->prepare(sql);
      while (st.step()) {
        for (int c = 0; c < st.columnCount(); ++c) out += st.text(c) + ";";
        out += "\n";
      }
    }
    return out;
  }

  ScratchDir dir_;
  std::string target_ = FreshDatabase(GetParam(), dir_);
  std::unique_ptr<AppServer> app_;
  std::unique_ptr<Database> db_;
};
