#pragma once
// The server's "now", computed here and bound into queries so both database
// backends read the same day and time. Thread-safe.

#include <string>

// Today in the server's local time zone, as days since 30/12/1899 (midnight).
double TodayDays();

// Now in UTC as 'YYYY-MM-DD HH:MM:SS', the audit trail's format.
std::string UtcTimestampText();
