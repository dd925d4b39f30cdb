#include "methods/method_support.h"

#include "storage/database.h"
#include "storage/storage.h"

MethodHandler Transactional(Storage& storage, DbHandler handler, bool writes) {
  return [&storage, handler = std::move(handler), writes](CallArgs& args) {
    Database& db = storage.connection();
    Transaction tx(db, writes);
    Variant result = handler(db, args);
    tx.commit();
    return result;
  };
}
