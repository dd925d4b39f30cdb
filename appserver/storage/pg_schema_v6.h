#pragma once
// PostgreSQL: the same step as schema_v6.h, in its dialect.
//
// Version 6: failed logins and their locks, kept in the database so that they
// outlive a restart, hold across servers sharing it, and can be listed and
// cleared with the server's command line (--locks, --unlock).

#include <string_view>

inline constexpr std::string_view kPostgresSchemaV6 = R"SQL(
CREATE TABLE BLOQUEIOLOGIN (
  CDOPERADOR    TEXT COLLATE "C" NOT NULL,
  DSENDERECO    TEXT COLLATE "C" NOT NULL,
  NRFALHAS      BIGINT NOT NULL,
  DTINICIO      BIGINT NOT NULL,
  DTBLOQUEIOATE BIGINT NOT NULL DEFAULT 0,
  PRIMARY KEY (CDOPERADOR, DSENDERECO)
);
CREATE TABLE LOGINCONHECIDO (
  CDOPERADOR    TEXT COLLATE "C" NOT NULL,
  DSENDERECO    TEXT COLLATE "C" NOT NULL,
  DTULTIMOLOGIN BIGINT NOT NULL,
  PRIMARY KEY (CDOPERADOR, DSENDERECO)
);
)SQL";
