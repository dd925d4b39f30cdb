#include "hostdb/branch_record.h"

#include <exception>

#include "data/formats.h"
#include "hostdb/adoib_query.h"
#include "hostdb/host_database.h"

namespace {

std::optional<BranchRecord> Read(THostDatabase& database, const std::string& branch, bool withDate) {
  TADOIBQuery query("qryFilialLogin", &database);
  query.SQL = {withDate ? "SELECT NMFILIAL, DTPROCESSAMENTO FROM FILIAL WHERE CDFILIAL = :CDFILIAL"
                        : "SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = :CDFILIAL"};
  query.ParamByName("CDFILIAL").SetAsString(branch);
  query.Open();
  if (query.IsEmpty()) return std::nullopt;
  BranchRecord record;
  record.name = query.FieldByName("NMFILIAL").AsString();
  if (withDate) {
    const TQueryField date = query.FieldByName("DTPROCESSAMENTO");
    if (!date.IsNull()) record.processingDate = DateOf(DateTime{date.AsFloat()});
  }
  return record;
}

}  // namespace

std::optional<BranchRecord> ReadBranch(THostDatabase& database, const std::string& branch) {
  try {
    return Read(database, branch, true);
  } catch (const std::exception&) {
    // A database from before the branches kept a processing date.
    return Read(database, branch, false);
  }
}

std::optional<BranchRecord> LookUpBranch(const std::string& database, const std::string& branch) {
  if (database.empty() || branch.empty()) return std::nullopt;
  try {
    // A connection of its own: the general one may not be open yet.
    THostDatabase hostDatabase;
    hostDatabase.Open(database);
    return ReadBranch(hostDatabase, branch);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}
