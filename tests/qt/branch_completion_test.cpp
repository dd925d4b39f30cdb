#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "login_setup.h"
#include "scratch_postgres.h"

namespace {

constexpr const char* kBranches =
    "CREATE TABLE FILIAL (CDFILIAL VARCHAR(4) PRIMARY KEY, NMFILIAL VARCHAR(30));"
    "INSERT INTO FILIAL VALUES ('0001', 'Matriz São Paulo');";

QString NameFor(const std::string& database, const QString& branch, const QString& given = {}) {
  HostOptions o;
  o.databasePath = QString::fromStdString(database);
  o.branch = branch;
  o.branchName = given;
  completeFromBranch(o);
  return o.branchName;
}

}  // namespace

// The window title's branch name, from a database file or, on a client
// machine, from the shared PostgreSQL database (one from before the branches
// kept a processing date, too); anything missing costs the name only.
TEST(BranchCompletion, ReadsTheNameFromAFileOrAPostgresDatabase) {
  const auto file = std::filesystem::temp_directory_path() / ("dx_branch_" + std::to_string(getpid()) + ".db");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, kBranches, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);

  dx_test::ScratchPostgres& cluster = dx_test::ScratchPostgres::Shared();
  const std::string postgres = cluster.createDatabase();
  cluster.query(dx_test::DatabaseNameOf(postgres), kBranches);

  for (const std::string& database : {file.string(), postgres}) {
    EXPECT_EQ(NameFor(database, "0001"), "Matriz São Paulo") << database;
    EXPECT_EQ(NameFor(database, "0001", "Dada"), "Dada") << database;
    EXPECT_EQ(NameFor(database, "0002"), "") << database;
    EXPECT_EQ(NameFor(database, "0001' OR '1'='1"), "") << database;
  }
  EXPECT_EQ(NameFor((file.parent_path() / "nao_existe.db").string(), "0001"), "");
  EXPECT_FALSE(std::filesystem::exists(file.parent_path() / "nao_existe.db"));
  EXPECT_EQ(NameFor(cluster.conninfo("nao_existe"), "0001"), "");
  std::filesystem::remove(file);
}
