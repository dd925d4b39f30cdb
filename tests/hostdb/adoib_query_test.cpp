#include <gtest/gtest.h>
#include <sqlite3.h>

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/exceptions.h"
#include "hostdb/adoib_query.h"
#include "hostdb/host_database.h"
#include "scratch_postgres.h"

namespace {

// Statements of the shape the screens set on their branch queries.
const std::vector<std::string> kAllBranches = {"SELECT CDFILIAL, NMFILIAL", "  FROM FILIAL", " ORDER BY CDFILIAL"};
const std::vector<std::string> kOneBranch = {"SELECT CDFILIAL, NMFILIAL", "  FROM FILIAL",
                                             " WHERE CDFILIAL = :P_CDFILIAL"};

// One file per process: ctest runs each test as its own process, several at
// once, and they must not share a database.
std::filesystem::path TempPath(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("dx_hostdb_" + std::to_string(::getpid()) + "_" + name);
}

void Exec(const std::filesystem::path& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
  const std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << message;
}

// The same branch table on either kind of host database: a SQLite file, or a
// PostgreSQL database named by its connection string.
class FilialQuery : public ::testing::TestWithParam<std::string> {
 protected:
  bool OnPostgres() const { return GetParam() == "PostgreSQL"; }

  void SetUp() override {
    if (OnPostgres()) {
      database_name_ = dx_test::ScratchPostgres::Shared().createDatabase();
    } else {
      path_ = TempPath("filial.db");
      std::filesystem::remove(path_);
      database_name_ = path_.string();
    }
    Exec("CREATE TABLE FILIAL (CDFILIAL VARCHAR(4) PRIMARY KEY, NMFILIAL VARCHAR(30), NRORDEM INTEGER);"
         "INSERT INTO FILIAL VALUES ('0003', 'Filial Três', 3);"
         "INSERT INTO FILIAL VALUES ('0001', 'Matriz', 1);"
         "INSERT INTO FILIAL VALUES ('0002', 'D''Ávila', 2);");
    database_.Open(database_name_);
  }
  void TearDown() override {
    database_.Close();
    if (!OnPostgres()) std::filesystem::remove(path_);
  }

  void Exec(const char* sql) {
    if (OnPostgres()) dx_test::ScratchPostgres::Shared().query(dx_test::DatabaseNameOf(database_name_), sql);
    else ::Exec(path_, sql);
  }

  TADOIBQuery PesqFilial(const std::string& code) {
    TADOIBQuery query("qryPesqFilial", &database_);
    query.SQL = kOneBranch;
    query.ParamByName("P_CDFILIAL").SetAsString(code);
    query.Open();
    return query;
  }

  std::filesystem::path path_;
  std::string database_name_;
  THostDatabase database_;
};

}  // namespace

TEST_P(FilialQuery, ListsEveryBranchByCode) {
  TADOIBQuery query("qryFilial", &database_);
  query.SQL = kAllBranches;
  query.Open();
  ASSERT_TRUE(query.Active());
  EXPECT_EQ(query.RecordCount(), 3);
  std::vector<std::string> codes;
  for (; !query.Eof(); query.Next()) codes.push_back(query.FieldByName("CDFILIAL").AsString());
  EXPECT_EQ(codes, (std::vector<std::string>{"0001", "0002", "0003"}));
  EXPECT_EQ(query.FieldByName("NMFILIAL").AsString(), "");

  query.First();
  EXPECT_EQ(query.FieldByName("nmfilial").AsString(), "Matriz");
}

TEST_P(FilialQuery, ThePacketCarriesTypedFieldsAndRows) {
  TADOIBQuery query("qryTodas", &database_);
  query.SQL = {"SELECT CDFILIAL, NMFILIAL, NRORDEM, NRORDEM * 1.5 AS PESO FROM FILIAL ORDER BY 1"};
  query.Open();
  const DataPacket& packet = query.Data();
  ASSERT_EQ(packet.fields.size(), 4u);
  EXPECT_EQ(packet.fields[0], (FieldDef{"CDFILIAL", FieldType::String, 4}));
  EXPECT_EQ(packet.fields[1], (FieldDef{"NMFILIAL", FieldType::String, 30}));
  EXPECT_EQ(packet.fields[2].type, FieldType::Integer);
  EXPECT_EQ(packet.fields[3].type, FieldType::Float);
  EXPECT_EQ(packet.at(1, "NMFILIAL").asText(), "D'Ávila");
  EXPECT_EQ(packet.at(2, "NRORDEM").asInt(), 3);
  EXPECT_EQ(packet.at(0, "PESO").asDouble(), 1.5);
}

TEST_P(FilialQuery, FindsOneBranchByParameter) {
  TADOIBQuery query = PesqFilial("0002");
  ASSERT_FALSE(query.IsEmpty());
  EXPECT_EQ(query.RecordCount(), 1);
  EXPECT_EQ(query.FieldByName("CDFILIAL").AsString(), "0002");
  EXPECT_EQ(query.FieldByName("NMFILIAL").AsString(), "D'Ávila");
}

TEST_P(FilialQuery, AQuoteInTheValueIsDataNotStatement) {
  EXPECT_TRUE(PesqFilial("' OR '1'='1").IsEmpty());
  EXPECT_TRUE(PesqFilial("0001' --").IsEmpty());
  TADOIBQuery all("qryFilial", &database_);
  all.SQL = kAllBranches;
  all.Open();
  EXPECT_EQ(all.RecordCount(), 3);
}

TEST_P(FilialQuery, AnUnknownBranchGivesAnEmptyResult) {
  TADOIBQuery query = PesqFilial("9999");
  EXPECT_TRUE(query.Active());
  EXPECT_TRUE(query.IsEmpty());
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.FieldByName("CDFILIAL").AsString(), "");
}

TEST_P(FilialQuery, ReopeningKeepsParametersAndClosingEmpties) {
  TADOIBQuery query = PesqFilial("0003");
  query.Close();
  EXPECT_FALSE(query.Active());
  EXPECT_TRUE(query.IsEmpty());
  EXPECT_THROW(query.FieldByName("CDFILIAL"), Exception);
  query.Open();
  EXPECT_EQ(query.FieldByName("NMFILIAL").AsString(), "Filial Três");

  query.Close();
  query.ParamByName("p_cdfilial").SetAsString("0001");
  query.Open();
  EXPECT_EQ(query.FieldByName("NMFILIAL").AsString(), "Matriz");
}

TEST_P(FilialQuery, UnsetParameterIsNullAndMatchesNothing) {
  TADOIBQuery query("qryPesqFilial", &database_);
  query.SQL = kOneBranch;
  query.Open();
  EXPECT_TRUE(query.IsEmpty());
}

TEST_P(FilialQuery, RefusesWhatTheStatementDoesNotHave) {
  TADOIBQuery query("qryPesqFilial", &database_);
  query.SQL = kOneBranch;
  EXPECT_THROW(query.ParamByName("P_OUTRO"), Exception);
  query.ParamByName("P_CDFILIAL").SetAsString("0001");
  query.Open();
  EXPECT_THROW(query.FieldByName("NRORDEM"), Exception);
}

TEST_P(FilialQuery, AMissingTableIsAClearErrorAndLeavesTheQueryClosed) {
  Exec("DROP TABLE FILIAL");
  TADOIBQuery query("qryFilial", &database_);
  query.SQL = kAllBranches;
  try {
    query.Open();
    FAIL() << "opened a query on a missing table";
  } catch (const Exception& e) {
    std::string message = e.what();
    for (char& c : message) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_NE(message.find("FILIAL"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(query.Active());
}

TEST_P(FilialQuery, OnlyReadsAndOnlyOneStatement) {
  TADOIBQuery query("qryX", &database_);
  query.SQL = {"DELETE FROM FILIAL"};
  EXPECT_THROW(query.Open(), Exception);
  query.SQL = {"SELECT 1;", "DELETE FROM FILIAL"};
  EXPECT_THROW(query.Open(), Exception);
  query.SQL = kAllBranches;
  query.Open();
  EXPECT_EQ(query.RecordCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(Backends, FilialQuery, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const auto& backend) { return backend.param; });

TEST(HostDatabase, MissingOrBadFilesAreClearErrors) {
  THostDatabase database;
  EXPECT_THROW(database.Open(TempPath("nao_existe.db").string()), Exception);
  EXPECT_FALSE(database.Connected());

  const auto notADatabase = TempPath("texto.db");
  std::ofstream(notADatabase) << "isto não é um banco de dados, apenas texto qualquer com mais de cem bytes "
                                 "para que o SQLite leia o cabeçalho e perceba que não é um arquivo seu.";
  EXPECT_THROW(database.Open(notADatabase.string()), Exception);
  std::filesystem::remove(notADatabase);

  TADOIBQuery query("qryFilial", &database);
  query.SQL = kAllBranches;
  EXPECT_THROW(query.Open(), Exception);
}


TEST(HostDatabase, TellsConnectionStringsFromFilesAndNeverShowsThePassword) {
  for (const char* postgres : {"postgresql://h/db", "postgres://u:p@h:5432/db", "host=/tmp dbname=x", "dbname = x"})
    EXPECT_TRUE(IsPostgresConnectionString(postgres)) << postgres;
  for (const char* file : {"/var/lib/distrato/distrato.db", "demo.db", "a=b/c.db ", "", "=x"})
    EXPECT_FALSE(IsPostgresConnectionString(file)) << file;

  // Nothing listens on this socket: the failure names the reason, not the secret.
  THostDatabase database;
  for (const std::string conninfo : {"host=/nonexistent-dx dbname=x user=u password=segredo connect_timeout=2",
                                     "postgresql://u:segredo@/x?host=/nonexistent-dx&connect_timeout=2"}) {
    try {
      database.Open(conninfo);
      FAIL() << "connected to nothing";
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()).find("segredo"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("PostgreSQL"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(database.Connected());
  }
}

TEST(HostDatabase, APostgresDatabaseIsDescribedWithoutItsPassword) {
  const std::string conninfo = dx_test::ScratchPostgres::Shared().createDatabase();
  THostDatabase database;
  database.Open(conninfo + " password=segredo");
  EXPECT_TRUE(database.Connected());
  EXPECT_EQ(database.Path().find("segredo"), std::string::npos) << database.Path();
  EXPECT_NE(database.Path().find("dbname="), std::string::npos) << database.Path();
}
