#include "methods/method_support.h"

#include "storage/database.h"
#include "storage/storage.h"

Variant InTransaction(Storage& storage, bool writes, const std::function<Variant(Database&)>& work) {
  Database& db = storage.connection();
  Transaction tx(db, writes);
  Variant result = work(db);
  tx.commit();
  return result;
}

MethodHandler Transactional(Storage& storage, DbHandler handler, bool writes) {
  return [&storage, handler = std::move(handler), writes](CallArgs& args) {
    return InTransaction(storage, writes, [&](Database& db) { return handler(db, args); });
  };
}
