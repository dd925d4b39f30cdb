#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "data/exceptions.h"
#include "data/formats.h"
#include "hostdb/host_database.h"
#include "lib/corvane.h"

namespace {

// Sets the DX_ variables for one test and removes them afterwards.
class LoginEnvFromProcess : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* name : {"DX_SERVER", "DX_BRANCH", "DX_BRANCH_NAME", "DX_BRANCH_LOCKED", "DX_OPERATOR", "DX_DATE"})
      unsetenv(name);
    SetLoginEnvironment(LoginEnvironment{});
  }
};

}  // namespace

TEST(LoginDate, ParsesBothWrittenForms) {
  DateTime date;
  ASSERT_TRUE(ParseLoginDate("31/12/1899", date));
  EXPECT_EQ(date.days, 1.0);
  ASSERT_TRUE(ParseLoginDate("2024-03-01", date));
  EXPECT_EQ(date.days, 45352.0);
  ASSERT_TRUE(ParseLoginDate("29/02/2024", date));
  EXPECT_EQ(date.days, 45351.0);
}

TEST(LoginDate, RefusesImpossibleDates) {
  DateTime date;
  EXPECT_FALSE(ParseLoginDate("29/02/2023", date));
  EXPECT_FALSE(ParseLoginDate("31/04/2024", date));
  EXPECT_FALSE(ParseLoginDate("1/2/2024", date));
  EXPECT_FALSE(ParseLoginDate("aa/bb/cccc", date));
}

TEST(ServerAddress, SplitsHostAndPort) {
  std::string host;
  int port = 0;
  ASSERT_TRUE(ParseServerAddress("srv.local:7211", host, port));
  EXPECT_EQ(host, "srv.local");
  EXPECT_EQ(port, 7211);
  ASSERT_TRUE(ParseServerAddress("[::1]:9000", host, port));
  EXPECT_EQ(host, "::1");
  EXPECT_FALSE(ParseServerAddress("srv.local", host, port));
  EXPECT_FALSE(ParseServerAddress(":80", host, port));
  EXPECT_FALSE(ParseServerAddress("srv:0", host, port));
  EXPECT_FALSE(ParseServerAddress("srv:70000", host, port));
  EXPECT_FALSE(ParseServerAddress("srv:80x", host, port));
}

TEST_F(LoginEnvFromProcess, RoutinesReadWhatTheHostSet) {
  setenv("DX_SERVER", "10.0.0.5:4500", 1);
  setenv("DX_BRANCH", "0001", 1);
  setenv("DX_BRANCH_NAME", "Matriz", 1);
  setenv("DX_BRANCH_LOCKED", " Sim ", 1);
  setenv("DX_OPERATOR", "SUPERVISOR", 1);
  setenv("DX_DATE", "01/03/2024", 1);
  SetLoginEnvironment(LoginEnvironmentFromEnv());

  EXPECT_EQ(WebURL(), "10.0.0.5");
  EXPECT_EQ(WebPort(), 4500);
  EXPECT_EQ(FiliProc(), "0001");
  EXPECT_EQ(NomeFiliProc(), "Matriz");
  EXPECT_TRUE(ModuFili());
  EXPECT_EQ(Operador(), "SUPERVISOR");
  EXPECT_EQ(DataProc(FiliProc()).days, 45352.0);
}

TEST_F(LoginEnvFromProcess, MissingVariablesGiveAnUnboundLoginOnTheBranchsDay) {
  setenv("DX_BRANCH_LOCKED", "0", 1);
  const LoginEnvironment environment = LoginEnvironmentFromEnv();
  EXPECT_FALSE(environment.branchLocked);
  EXPECT_EQ(environment.branch, "");
  EXPECT_FALSE(environment.processingDate);
}

// The business day is the branch's processing date in the host database,
// where the application server reads it too; DX_DATE overrides it, and a
// branch that keeps none works on today.
TEST(DataProc, ReadsTheBranchsProcessingDateUnlessOverridden) {
  const auto file = std::filesystem::temp_directory_path() / ("dx_dataproc_" + std::to_string(getpid()) + ".db");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE FILIAL (CDFILIAL TEXT PRIMARY KEY, NMFILIAL TEXT, DTPROCESSAMENTO REAL);"
                         "INSERT INTO FILIAL VALUES ('0001', 'Centro', 46364), ('0003', 'Sem data', NULL);",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  dtmDBGeral().Open(file.string());

  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const double today = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).days;

  SetLoginEnvironment({});
  EXPECT_EQ(DataProc("0001").days, 46364.0);
  EXPECT_EQ(DataProc("0003").days, today);
  LoginEnvironment overridden;
  overridden.processingDate = EncodeDate(2031, 3, 1);
  SetLoginEnvironment(overridden);
  EXPECT_EQ(DataProc("0001").days, 47908.0);

  SetLoginEnvironment({});
  dtmDBGeral().Close();
  std::filesystem::remove(file);
}

TEST_F(LoginEnvFromProcess, MalformedValuesAreRefusedByName) {
  setenv("DX_SERVER", "semporta", 1);
  EXPECT_THROW(LoginEnvironmentFromEnv(), Exception);
  unsetenv("DX_SERVER");
  setenv("DX_DATE", "32/01/2024", 1);
  EXPECT_THROW(LoginEnvironmentFromEnv(), Exception);
}
