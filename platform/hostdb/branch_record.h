#pragma once
// A branch as the host's database holds it (table FILIAL): its name and its
// processing date, the business day of every rule applied for that branch.
// The application server reads the same row, so client and server agree on
// the day. Used from the screen's thread only.

#include <optional>
#include <string>

#include "data/variant.h"

class THostDatabase;

struct BranchRecord {
  std::string name;
  // Empty when the branch keeps no processing date.
  std::optional<DateTime> processingDate;
};

// Reads `branch` from the open `database`; nullopt when the branch is missing.
// Raises Exception when the database cannot be read. A database from before
// the processing date existed still gives the name.
std::optional<BranchRecord> ReadBranch(THostDatabase& database, const std::string& branch);

// The same from a database named by path or connection string, opened for
// this read alone; nullopt when the database, the table or the branch is
// missing, so a bad database costs only the branch's details.
std::optional<BranchRecord> LookUpBranch(const std::string& database, const std::string& branch);
