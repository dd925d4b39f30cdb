#pragma once
// The branch's name from the host's database (table FILIAL), for the window
// title and the login environment when the command line does not give it.

#include <string>

// Empty when the file, the table or the branch is missing: the host still
// starts, only without a name.
std::string lookUpBranchName(const std::string& databasePath, const std::string& branch);
