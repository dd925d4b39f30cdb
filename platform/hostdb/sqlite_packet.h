#pragma once
// Reading a prepared SQLite statement whole into a data packet.

#include "data/packet.h"

struct sqlite3_stmt;

// Steps the statement to its end. Field types follow the declared column
// types (text with its declared or longest length, integer, float); an
// expression column takes the type of its first non-null value. Raises
// Exception with SQLite's message when a step fails.
DataPacket ReadPacket(sqlite3_stmt* statement);
