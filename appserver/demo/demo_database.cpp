#include "demo/demo_database.h"

#include <cstdio>
#include <string>

#include "demo/demo_writer.h"
#include "storage/database.h"
#include "storage/migrations.h"

namespace {

void removeDatabaseFiles(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((path + suffix).c_str());
}

}  // namespace

void WriteDemoDatabase(const std::string& path, int bulkParties) {
  removeDatabaseFiles(path);
  Database db(path);
  Migrate(db);
  Transaction tx(db, true);
  WriteReferenceData(db);
  DemoWriter out(db);
  WriteDemoBudgets(db, out);
  WriteSubstitutionBudget(out);
  RememberDemoRescissions(db);
  WriteUndoBudgets(db, out);
  if (bulkParties > 0) WriteBulkBudget(out, bulkParties);
  tx.commit();
}
