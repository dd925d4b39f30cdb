#pragma once
// The server's "now", computed here and bound into queries so both database
// backends read the same day and time. Thread-safe.

#include <string>

// Today in the server's local time zone (TodayDays) is the calendar's.
#include "data/civil_date.h"

// Now in UTC as 'YYYY-MM-DD HH:MM:SS', the audit trail's format.
std::string UtcTimestampText();
