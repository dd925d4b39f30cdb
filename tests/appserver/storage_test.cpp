// Migrations, transactions and connections per thread.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "methods/method_support.h"
#include "storage/batch_insert.h"
#include "storage/database.h"
#include "storage/migrations.h"
#include "storage/statement.h"
#include "storage/storage.h"
#include "storage/storage_errors.h"
#include "test_support.h"

namespace {

int CountRows(Database& db, const std::string& table) {
  Statement st = db.prepare("SELECT COUNT(*) FROM " + table);
  return st.step() ? static_cast<int>(st.integer(0)) : -1;
}

TEST(MigrationTest, RunningTwiceChangesNothing) {
  ScratchDir dir;
  Database db(dir.file("m.db"));
  int latest = Migrations().back().version;
  EXPECT_EQ(Migrate(db), latest);
  db.exec("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES ('0009', 'Teste')");
  EXPECT_EQ(Migrate(db), latest);
  EXPECT_EQ(db.userVersion(), latest);
  EXPECT_EQ(CountRows(db, "FILIAL"), 1);
  // A second server opening the same file finds nothing to do either.
  Storage again(dir.file("m.db"));
  EXPECT_EQ(CountRows(again.connection(), "FILIAL"), 1);
}

TEST(MigrationTest, RefusesAFileFromANewerServer) {
  ScratchDir dir;
  Database db(dir.file("m.db"));
  db.setUserVersion(Migrations().back().version + 1);
  EXPECT_THROW(Migrate(db), std::runtime_error);
}

TEST(MigrationTest, OpensInWalMode) {
  ScratchDir dir;
  Storage storage(dir.file("w.db"));
  Statement st = storage.connection().prepare("PRAGMA journal_mode");
  ASSERT_TRUE(st.step());
  EXPECT_EQ(st.text(0), "wal");
}

TEST(TransactionTest, AMethodThatFailsLeavesNothingWritten) {
  ScratchDir dir;
  Storage storage(dir.file("t.db"));
  MethodHandler failing = Transactional(
      storage,
      [](Database& db, CallArgs&) -> Variant {
        db.prepare("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES (?1, ?2)").bindAll("0007", "Nova").run();
        throw std::runtime_error("N_PARAM_SERIE");
      },
      true);
  std::vector<Variant> none;
  CallArgs args(none, CallContext{});
  EXPECT_THROW(failing(args), std::runtime_error);
  EXPECT_EQ(CountRows(storage.connection(), "FILIAL"), 0);

  MethodHandler working = Transactional(storage, [](Database& db, CallArgs&) -> Variant {
    db.prepare("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES (?1, ?2)").bindAll("0007", "Nova").run();
    return true;
  });
  working(args);
  EXPECT_EQ(CountRows(storage.connection(), "FILIAL"), 1);
}

// Refuses ROLLBACK on the connection it is set on, as a failing disk would.
int DenyRollback(void*, int action, const char* operation, const char*, const char*, const char*) {
  return action == SQLITE_TRANSACTION && operation && std::string(operation) == "ROLLBACK" ? SQLITE_DENY : SQLITE_OK;
}

TEST(TransactionTest, AFailedRollbackDoesNotLeaveTheThreadsConnectionInsideTheTransaction) {
  ScratchDir dir;
  Storage storage(dir.file("r.db"));
  sqlite3_set_authorizer(storage.connection().handle(), DenyRollback, nullptr);
  EXPECT_THROW(InTransaction(storage, true,
                             [](Database& db) -> Variant {
                               db.prepare("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES ('0007', 'Abandonada')").run();
                               throw std::runtime_error("N_PARAM_SERIE");
                             }),
               std::runtime_error);

  // The next method on this thread starts its own transaction and sees
  // nothing of the abandoned write, and another connection can write.
  Variant rows = InTransaction(storage, true, [](Database& db) -> Variant {
    db.prepare("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES ('0008', 'Nova')").run();
    return CountRows(db, "FILIAL");
  });
  EXPECT_EQ(rows.asInt(), 1);
  Database other(dir.file("r.db"));
  sqlite3_busy_timeout(other.handle(), 0);
  EXPECT_NO_THROW(other.exec("BEGIN IMMEDIATE; ROLLBACK"));
}

TEST(TransactionTest, AWriteWaitingTooLongForAnotherProgramsLockEndsInOurWords) {
  ScratchDir dir;
  const std::string file = dir.file("locked.db");
  Storage storage(file);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  const auto begun = std::chrono::steady_clock::now();
  std::string refusal;
  try {
    InTransaction(storage, true, [](Database& db) {
      db.exec("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES ('0009', 'Teste')");
      return Variant();
    });
  } catch (const std::runtime_error& e) {
    refusal = e.what();
  }
  EXPECT_EQ(refusal, storage::kDatabaseLockedMessage);
  EXPECT_GE(std::chrono::steady_clock::now() - begun, std::chrono::seconds(storage::kBusyWaitSeconds - 1));
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
}

TEST(StorageTest, EachThreadHasItsOwnConnection) {
  ScratchDir dir;
  Storage storage(dir.file("c.db"));
  Database* mine = &storage.connection();
  EXPECT_EQ(mine, &storage.connection());
  Database* other = nullptr;
  std::thread([&] { other = &storage.connection(); }).join();
  EXPECT_NE(mine, other);
}

// A commit that leaves a long log is answered at once; the log still reaches
// the file while the connection stays open, and the last close leaves
// everything in the file and no log beside it.
TEST(StorageTest, ALongLogIsCopiedBackIntoTheFile) {
  ScratchDir dir;
  const std::string path = dir.file("log.db");
  constexpr std::uintmax_t kWritten = 2000 * 3000;  // about 1,500 pages, past the copy threshold
  {
    Database db(path);
    db.exec("CREATE TABLE T (N INTEGER PRIMARY KEY, B BLOB)");
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
            " INSERT INTO T SELECT i, randomblob(3000) FROM n");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::filesystem::file_size(path) < kWritten && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GE(std::filesystem::file_size(path), kWritten);
    EXPECT_EQ(CountRows(db, "T"), 2000);
  }
  EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
  Database again(path);
  EXPECT_EQ(CountRows(again, "T"), 2000);
}

TEST(StorageTest, ConcurrentCallsSeeTheSameData) {
  const AppServer& app = DemoServer::Get();
  DataPacket expected = CallText(app, "GetContratante", {"0001", "0000000101"}).asPacket();
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 25; ++i)
        if (!(CallText(app, "GetContratante", {"0001", "0000000101"}).asPacket() == expected)) ++mismatches[t];
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace

// Rows gathered by BatchInsert reach the table whole and in order, across
// full and partial statements, with every kind of value it takes.
class BatchInsertTest : public ::testing::TestWithParam<Backend> {};
INSTANTIATE_TEST_SUITE_P(Backends, BatchInsertTest, AllBackends(), BackendName);

TEST_P(BatchInsertTest, RowsSplitOverStatementsArriveWhole) {
  ScratchDir dir;
  Storage storage(FreshDatabase(GetParam(), dir));
  Database& db = storage.connection();
  db.exec("CREATE TABLE LOTE (N BIGINT, T TEXT, V DOUBLE PRECISION, F TEXT, K TEXT)");
  {
    BatchInsert rows(db, "INSERT INTO LOTE (N, T, V, F, K)", "(?, ?, ?, 'fixo', ?)", 3);
    for (int n = 1; n <= 7; ++n) {
      if (n % 2 == 0)
        rows.add(n, "linha " + std::to_string(n), n * 1.5, nullptr);
      else
        rows.add(n, "linha " + std::to_string(n), n * 1.5, "k");
    }
    EXPECT_EQ(CountRows(db, "LOTE"), 6);  // two full statements; the seventh row waits
    rows.flush();
    rows.flush();  // nothing left: writes nothing
  }
  Statement st = db.prepare("SELECT N, T, V, F, K FROM LOTE ORDER BY N");
  for (int n = 1; n <= 7; ++n) {
    ASSERT_TRUE(st.step()) << n;
    EXPECT_EQ(st.integer(0), n);
    EXPECT_EQ(st.text(1), "linha " + std::to_string(n));
    EXPECT_DOUBLE_EQ(st.real(2), n * 1.5);
    EXPECT_EQ(st.text(3), "fixo");
    EXPECT_EQ(st.isNull(4), n % 2 == 0) << n;
  }
  EXPECT_FALSE(st.step());

  // A batch the table refuses is dropped whole; the next one goes in alone.
  db.exec("CREATE TABLE CHAVE (K TEXT PRIMARY KEY)");
  BatchInsert keys(db, "INSERT INTO CHAVE (K)", "(?)", 2);
  keys.add("repetida com mais de dezesseis letras");
  EXPECT_ANY_THROW(keys.add("repetida com mais de dezesseis letras"));
  keys.add("primeira com mais de dezesseis letras");
  keys.add("segunda com mais de dezesseis letras");
  EXPECT_EQ(CountRows(db, "CHAVE"), 2);

  BatchInsert shortRow(db, "INSERT INTO LOTE (N, T)", "(?, ?)");
  shortRow.add(1);
  EXPECT_THROW(shortRow.flush(), std::logic_error);
}
