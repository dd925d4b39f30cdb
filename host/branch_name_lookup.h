#pragma once
// The branch's name from the host's database (table FILIAL), for the window
// title and the login environment when the command line does not give it.

#include <string>

// `database` is a SQLite file or a PostgreSQL connection string. Empty when
// the database, the table or the branch is missing: the host still
// starts, only without a name.
std::string lookUpBranchName(const std::string& database, const std::string& branch);
