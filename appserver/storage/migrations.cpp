#include "storage/migrations.h"

#include <stdexcept>
#include <string>

#include "storage/database.h"
#include "storage/schema_v1.h"
#include "storage/schema_v2.h"
#include "storage/schema_v3.h"
#include "storage/schema_v4.h"
#include "storage/schema_v5.h"

const std::vector<Migration>& Migrations() {
  static const std::vector<Migration> list = {
      {1, kSchemaV1},
      {2, kSchemaV2},
      {3, kSchemaV3},
      {4, kSchemaV4},
      {5, kSchemaV5},
  };
  return list;
}

int Migrate(Database& db) {
  const auto& list = Migrations();
  int latest = list.empty() ? 0 : list.back().version;
  int current = db.userVersion();
  if (current > latest)
    throw std::runtime_error("O banco de dados " + db.path() + " tem a versão " + std::to_string(current) +
                             ", mais nova que a deste servidor (" + std::to_string(latest) + ").");
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
