#include "hostdb/host_database.h"

#include <sstream>

#include "data/exceptions.h"

namespace {

// What to call a PostgreSQL database in messages: where it is and which one,
// never the password a connection string may carry.
std::string DescribePostgres(const std::string& conninfo) {
  const std::size_t scheme = conninfo.find("://");
  if (scheme != std::string::npos) {
    std::string rest = conninfo.substr(scheme + 3);
    rest = rest.substr(0, rest.find('?'));
    const std::size_t at = rest.rfind('@');
    if (at != std::string::npos) rest = rest.substr(at + 1);
    return conninfo.substr(0, scheme + 3) + rest;
  }
  std::istringstream words(conninfo);
  std::string word, kept;
  while (words >> word) {
    for (const char* key : {"host=", "hostaddr=", "port=", "dbname=", "user="})
      if (word.rfind(key, 0) == 0) kept += (kept.empty() ? "" : " ") + word;
  }
  return kept.empty() ? "PostgreSQL" : kept;
}

}  // namespace

THostDatabase::THostDatabase() = default;
THostDatabase::~THostDatabase() = default;

void THostDatabase::Open(const std::string& database) {
  Close();
  if (IsPostgresConnectionString(database)) {
    connection_ = OpenPostgresHost(database);
    path_ = DescribePostgres(database);
  } else {
    connection_ = OpenSqliteHost(database);
    path_ = database;
  }
}

void THostDatabase::Close() {
  connection_.reset();
  path_.clear();
}

HostConnection& THostDatabase::Connection() const {
  if (!connection_) throw Exception("O banco de dados do host não está aberto.");
  return *connection_;
}

THostDatabase& dtmDBGeral() {
  static THostDatabase database;
  return database;
}
