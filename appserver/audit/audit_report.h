#pragma once
// `dxr10900-server --audit`: the audit trail as a plain-text table, newest
// first, one row per change, columns as wide as their widest cell. Plain
// functions, safe from any thread.

#include <string>
#include <vector>

#include "audit/audit_trail.h"

// The table, header included; a line saying so when there are no rows.
std::string FormatAuditTable(const std::vector<AuditRow>& rows);

// True for a calendar date written YYYY-MM-DD.
bool IsIsoDate(const std::string& text);
