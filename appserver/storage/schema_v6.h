#pragma once
// Version 6: failed logins and their locks, kept in the database so that they
// outlive a restart, hold across servers sharing it, and can be listed and
// cleared with the server's command line (--locks, --unlock). One row per
// key: an operator from one address, an operator from every address
// (DSENDERECO ''), or one address whatever the operator (CDOPERADOR ''). Times
// are seconds since 1970 (UTC). LOGINCONHECIDO keeps where each operator last
// logged in from: the limits for all addresses together spare those.

#include <string_view>

inline constexpr std::string_view kSchemaV6 = R"SQL(
CREATE TABLE BLOQUEIOLOGIN (
  CDOPERADOR    TEXT NOT NULL,              -- '' for an address whatever the operator
  DSENDERECO    TEXT NOT NULL,              -- '' for an operator from every address
  NRFALHAS      INTEGER NOT NULL,           -- within the window begun at DTINICIO
  DTINICIO      INTEGER NOT NULL,
  DTBLOQUEIOATE INTEGER NOT NULL DEFAULT 0, -- locked until then; 0: not locked
  PRIMARY KEY (CDOPERADOR, DSENDERECO)
);
CREATE TABLE LOGINCONHECIDO (
  CDOPERADOR    TEXT NOT NULL,
  DSENDERECO    TEXT NOT NULL,
  DTULTIMOLOGIN INTEGER NOT NULL,
  PRIMARY KEY (CDOPERADOR, DSENDERECO)
);
)SQL";
