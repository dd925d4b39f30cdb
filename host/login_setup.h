#pragma once
// Hands the login environment (branch, operator, date, server) to the shared
// client library, where the module reads it, and opens the host's database.

#include "host_options.h"

// Fills the branch's name, when the command line left it out, from the login
// branch's row in the host database. (Its processing date is read there by
// DataProc whenever the module asks, unless --date overrides it.)
void completeFromBranch(HostOptions& options);

void applyLoginEnvironment(const HostOptions& options);

// Opens the database of --database as the process's general connection
// (dtmDBGeral), where the module's branch checks read the table FILIAL.
// Returns why it could not be opened, or empty (also when no path was given).
QString openHostDatabase(const HostOptions& options);
