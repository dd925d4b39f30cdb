#include "storage/migrations.h"

#include <stdexcept>
#include <string>

#include "storage/database.h"
#include "storage/database_target.h"
#include "storage/pg_schema_v1.h"
#include "storage/pg_schema_v2.h"
#include "storage/pg_schema_v4.h"
#include "storage/pg_schema_v5.h"
#include "storage/pg_schema_v6.h"
#include "storage/pg_schema_v7.h"
#include "storage/pg_schema_v8.h"
#include "storage/schema_v1.h"
#include "storage/schema_v2.h"
#include "storage/schema_v3.h"
#include "storage/schema_v4.h"
#include "storage/schema_v5.h"
#include "storage/schema_v6.h"
#include "storage/schema_v7.h"
#include "storage/schema_v8.h"
#include "storage/schema_v9.h"
#include "storage/schema_v10.h"
#include "storage/schema_v11.h"
#include "storage/schema_v12.h"

namespace {

// Holds the schema lock of the database for one migration run.
class SchemaLock {
 public:
  explicit SchemaLock(Database& db) : db_(db) { db_.backend().lockSchema(); }
  ~SchemaLock() {
    try {
      db_.backend().unlockSchema();
    } catch (...) {
    }
  }
  SchemaLock(const SchemaLock&) = delete;
  SchemaLock& operator=(const SchemaLock&) = delete;

 private:
  Database& db_;
};

}  // namespace

const std::vector<Migration>& Migrations(storage::Dialect dialect) {
  static const std::vector<Migration> sqlite = {
      {1, kSchemaV1}, {2, kSchemaV2}, {3, kSchemaV3}, {4, kSchemaV4}, {5, kSchemaV5}, {6, kSchemaV6},
      {7, kSchemaV7}, {8, kSchemaV8}, {9, kSchemaV9}, {10, kSchemaV10}, {11, kSchemaV11}, {12, kSchemaV12},
  };
  // Indexes (3, 9, 11) read the same in both dialects.
  static const std::vector<Migration> postgres = {
      {1, kPostgresSchemaV1}, {2, kPostgresSchemaV2}, {3, kSchemaV3}, {4, kPostgresSchemaV4}, {5, kPostgresSchemaV5},
      {6, kPostgresSchemaV6}, {7, kPostgresSchemaV7}, {8, kPostgresSchemaV8}, {9, kSchemaV9}, {10, kPostgresSchemaV10},
      {11, kSchemaV11}, {12, kPostgresSchemaV12},
  };
  return dialect == storage::Dialect::kPostgres ? postgres : sqlite;
}

int Migrate(Database& db) {
  const auto& list = Migrations(db.dialect());
  int latest = list.empty() ? 0 : list.back().version;
  SchemaLock lock(db);
  int current = db.userVersion();
  if (current > latest)
    throw std::runtime_error("O banco de dados " + storage::RedactedTarget(db.path()) + " tem a versão " +
                             std::to_string(current) + ", mais nova que a deste servidor (" + std::to_string(latest) +
                             ").");
  for (const Migration& m : list) {
    if (m.version <= current) continue;
    Transaction tx(db, true);
    // Another process may have migrated while we waited for the write lock.
    if (db.userVersion() >= m.version) continue;
    db.exec(m.sql);
    db.setUserVersion(m.version);
    tx.commit();
  }
  return db.userVersion();
}
