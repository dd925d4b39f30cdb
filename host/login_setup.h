#pragma once
// Hands the login environment (branch, operator, date, server) to the shared
// client library, where the module reads it, and opens the host's database.

#include "host_options.h"

void applyLoginEnvironment(const HostOptions& options);

// Opens the database of --database as the process's general connection
// (dtmDBGeral), where the module's branch checks read the table FILIAL.
// Returns why it could not be opened, or empty (also when no path was given).
QString openHostDatabase(const HostOptions& options);
