#include <gtest/gtest.h>
#include <sqlite3.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/exceptions.h"
#include "hostdb/adoib_query.h"
#include "hostdb/host_database.h"

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

class FilialQuery : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = TempPath("filial.db");
    std::filesystem::remove(path_);
    Exec(path_,
         "CREATE TABLE FILIAL (CDFILIAL VARCHAR(4) PRIMARY KEY, NMFILIAL VARCHAR(30), NRORDEM INTEGER);"
         "INSERT INTO FILIAL VALUES ('0003', 'Filial Três', 3);"
         "INSERT INTO FILIAL VALUES ('0001', 'Matriz', 1);"
         "INSERT INTO FILIAL VALUES ('0002', 'D''Ávila', 2);");
    database_.Open(path_.string());
  }
  void TearDown() override {
    database_.Close();
    std::filesystem::remove(path_);
  }

  TADOIBQuery PesqFilial(const std::string& code) {
    TADOIBQuery query("qryPesqFilial", &database_);
    query.SQL = kOneBranch;
    query.ParamByName("P_CDFILIAL").SetAsString(code);
    query.Open();
    return query;
  }

  std::filesystem::path path_;
  THostDatabase database_;
};

}  // namespace

TEST_F(FilialQuery, ListsEveryBranchByCode) {
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

TEST_F(FilialQuery, ThePacketCarriesTypedFieldsAndRows) {
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

TEST_F(FilialQuery, FindsOneBranchByParameter) {
  TADOIBQuery query = PesqFilial("0002");
  ASSERT_FALSE(query.IsEmpty());
  EXPECT_EQ(query.RecordCount(), 1);
  EXPECT_EQ(query.FieldByName("CDFILIAL").AsString(), "0002");
  EXPECT_EQ(query.FieldByName("NMFILIAL").AsString(), "D'Ávila");
}

TEST_F(FilialQuery, AQuoteInTheValueIsDataNotStatement) {
  EXPECT_TRUE(PesqFilial("' OR '1'='1").IsEmpty());
  EXPECT_TRUE(PesqFilial("0001' --").IsEmpty());
  TADOIBQuery all("qryFilial", &database_);
  all.SQL = kAllBranches;
  all.Open();
  EXPECT_EQ(all.RecordCount(), 3);
}

TEST_F(FilialQuery, AnUnknownBranchGivesAnEmptyResult) {
  TADOIBQuery query = PesqFilial("9999");
  EXPECT_TRUE(query.Active());
  EXPECT_TRUE(query.IsEmpty());
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.FieldByName("CDFILIAL").AsString(), "");
}

TEST_F(FilialQuery, ReopeningKeepsParametersAndClosingEmpties) {
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

TEST_F(FilialQuery, UnsetParameterIsNullAndMatchesNothing) {
  TADOIBQuery query("qryPesqFilial", &database_);
  query.SQL = kOneBranch;
  query.Open();
  EXPECT_TRUE(query.IsEmpty());
}

TEST_F(FilialQuery, RefusesWhatTheStatementDoesNotHave) {
  TADOIBQuery query("qryPesqFilial", &database_);
  query.SQL = kOneBranch;
  EXPECT_THROW(query.ParamByName("P_OUTRO"), Exception);
  query.ParamByName("P_CDFILIAL").SetAsString("0001");
  query.Open();
  EXPECT_THROW(query.FieldByName("NRORDEM"), Exception);
}

TEST_F(FilialQuery, AMissingTableIsAClearErrorAndLeavesTheQueryClosed) {
  Exec(path_, "DROP TABLE FILIAL");
  TADOIBQuery query("qryFilial", &database_);
  query.SQL = kAllBranches;
  try {
    query.Open();
    FAIL() << "opened a query on a missing table";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("FILIAL"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(query.Active());
}

TEST_F(FilialQuery, OnlyReadsAndOnlyOneStatement) {
  TADOIBQuery query("qryX", &database_);
  query.SQL = {"DELETE FROM FILIAL"};
  EXPECT_THROW(query.Open(), Exception);
  query.SQL = {"SELECT 1;", "DELETE FROM FILIAL"};
  EXPECT_THROW(query.Open(), Exception);
  query.SQL = kAllBranches;
  query.Open();
  EXPECT_EQ(query.RecordCount(), 3);
}

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

