#include "demo/demo_database.h"

#include <cstdio>
#include <optional>
#include <string>

#include "demo/calendar.h"
#include "demo/demo_operations.h"
#include "demo/demo_writer.h"
#include "storage/database.h"
#include "storage/database_target.h"
#include "storage/migrations.h"

namespace {

void removeDatabaseFiles(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((path + suffix).c_str());
}

// Empties a PostgreSQL database of what the migrations created, so they run
// again from the start: the tables of the connection's schema and the money
// functions.
void dropPostgresSchema(const std::string& target) {
  Database db(target);
  db.exec(
      "DO $$ DECLARE t record; BEGIN"
      "  FOR t IN SELECT tablename FROM pg_tables WHERE schemaname = current_schema() LOOP"
      "    EXECUTE format('DROP TABLE IF EXISTS %I CASCADE', t.tablename);"
      "  END LOOP;"
      " END $$;"
      "DROP FUNCTION IF EXISTS CENTS(DOUBLE PRECISION);"
      "DROP FUNCTION IF EXISTS AMOUNT(NUMERIC);");
}

}  // namespace

void WriteDemoDatabase(const std::string& path, int bulkParties, std::optional<double> businessDay) {
  const DemoDayScope day(businessDay.value_or(DateDays(kDemoYear, kDemoMonth, kDemoDay)));
  if (storage::IsPostgresTarget(path))
    dropPostgresSchema(path);
  else
    removeDatabaseFiles(path);
  {
    Database db(path);
    Migrate(db);
    Transaction tx(db, true);
    WriteReferenceData(db);
    DemoWriter out(db);
    WriteDemoClients(out);
    WriteDemoBudgets(out);
    WriteSubstitutionBudget(out);
    WriteUndoBudgets(out);
    tx.commit();
  }
  {
    DemoOperations ops(path);
    OperateDemoBudgets(ops);
    OperateUndoBudgets(ops);
  }
  Database db(path);
  Transaction tx(db, true);
  FinishDemoBudgets(db);
  FinishUndoBudgets(db);
  // The demo's story happened before the trail was kept: it starts empty.
  db.exec("DELETE FROM AUDITORIA");
  if (bulkParties > 0) {
    DemoWriter out(db);
    WriteBulkBudget(out, bulkParties);
  }
  tx.commit();
  // PostgreSQL would plan on guesses until autovacuum came round to the new
  // rows, and that later pass would replan every session's statements in the
  // middle of the servers' work: the database starts with its statistics.
  if (storage::IsPostgresTarget(path)) db.exec("VACUUM (ANALYZE)");
}
