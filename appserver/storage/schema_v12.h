#pragma once
// Version 12: room on the contracts' pages for a whole budget's rescission.
//
// PostgreSQL only. A total rescission and its consolidation change the state
// of every contract of the budget at once. PostgreSQL writes a changed row as
// a new version, and keeps that version on the row's own page, touching no
// index, only when the page has room for a whole row; the contracts' pages
// were full, so each of a 10,000-party budget's contracts also got a new
// entry in each of the table's three indexes (about 100 ms of the
// rescission). Filled to half, a page has room for a new version of every
// row on it. The table is rewritten so that the rows already stored get that
// room too. SQLite rewrites a changed row where it stands: nothing to do.

#include <string_view>

inline constexpr std::string_view kSchemaV12 = "";

inline constexpr std::string_view kPostgresSchemaV12 = R"sql(
ALTER TABLE CONTRATANTE SET (fillfactor = 50);
CLUSTER CONTRATANTE USING CONTRATANTE_PKEY;
)sql";
