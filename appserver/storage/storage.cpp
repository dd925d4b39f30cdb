#include "storage/storage.h"

#include <atomic>
#include <memory>
#include <unordered_map>

#include "storage/database.h"
#include "storage/migrations.h"

namespace {

std::atomic<std::uint64_t> nextStorageId{1};

std::unordered_map<std::uint64_t, std::unique_ptr<Database>>& threadConnections() {
  thread_local std::unordered_map<std::uint64_t, std::unique_ptr<Database>> connections;
  return connections;
}

}  // namespace

Storage::Storage(std::string path) : path_(std::move(path)), id_(nextStorageId++) {
  Database db(path_);
  Migrate(db);
}

Storage::~Storage() {
  // Only this thread's connection can be closed here; the others close when
  // their threads end, and their ids are never looked up again.
  threadConnections().erase(id_);
}

Database& Storage::connection() {
  auto& connections = threadConnections();
  auto it = connections.find(id_);
  if (it == connections.end())
    it = connections.emplace(id_, std::make_unique<Database>(path_)).first;
  else if (!it->second->isOpen())
    it->second = std::make_unique<Database>(path_);  // a reopen after a failed rollback failed
  return *it->second;
}
