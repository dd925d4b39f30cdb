#pragma once
// Version 8: writes applied once. Each change a client made under a request
// key keeps the answer it gave, so a retry of that key (on this server or
// another sharing the database) is answered the same and changes nothing.
// Kept for a day (kRequestKeyLifetimeSeconds), then pruned.

#include <string_view>

inline constexpr std::string_view kSchemaV8 = R"SQL(
CREATE TABLE REQUISICAOAPLICADA (
  CDREQUISICAO  TEXT NOT NULL PRIMARY KEY,
  CDOPERADOR    TEXT NOT NULL,
  NMMETODO      TEXT NOT NULL,
  DSRESPOSTA    TEXT NOT NULL,
  NRSEGUNDOSUTC INTEGER NOT NULL
);
CREATE INDEX REQUISICAOAPLICADA_QUANDO ON REQUISICAOAPLICADA (NRSEGUNDOSUTC);
)SQL";
