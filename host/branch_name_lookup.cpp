#include "branch_name_lookup.h"

#include <exception>

#include "hostdb/adoib_query.h"
#include "hostdb/host_database.h"

std::string lookUpBranchName(const std::string& database, const std::string& branch) {
  if (database.empty() || branch.empty()) return {};
  try {
    // A connection of its own: the general one is opened later, and a bad
    // database here must only cost the name.
    THostDatabase hostDatabase;
    hostDatabase.Open(database);
    TADOIBQuery query("qryNomeFilial", &hostDatabase);
    query.SQL = {"SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = :CDFILIAL"};
    query.ParamByName("CDFILIAL").SetAsString(branch);
    query.Open();
    return query.FieldByName("NMFILIAL").AsString();
  } catch (const std::exception&) {
    return {};
  }
}
