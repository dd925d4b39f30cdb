#pragma once
// What the handler files share: running a method inside one transaction of
// this thread's connection.

#include <functional>

#include "dispatch.h"

class Database;
class Storage;

using DbHandler = std::function<Variant(Database&, CallArgs&)>;

// The handler runs inside a transaction that is committed when it returns
// and rolled back when it throws. Methods that write take the write lock at
// the start (`writes`), so two writers never deadlock upgrading a read.
MethodHandler Transactional(Storage& storage, DbHandler handler, bool writes = false);

// Registration of each group of methods.
void RegisterBudgetLookup(Dispatcher& dispatcher, Storage& storage);
void RegisterParties(Dispatcher& dispatcher, Storage& storage);
void RegisterAccounts(Dispatcher& dispatcher, Storage& storage);
void RegisterCommandQuestions(Dispatcher& dispatcher, Storage& storage);
void RegisterContractorValues(Dispatcher& dispatcher, Storage& storage);
void RegisterRescission(Dispatcher& dispatcher, Storage& storage);
void RegisterTotalRescission(Dispatcher& dispatcher, Storage& storage);
void RegisterConsolidation(Dispatcher& dispatcher, Storage& storage);
