#pragma once
// Version 8 for PostgreSQL (see schema_v8.h): the answers of the changes made
// under a request key.

#include <string_view>

inline constexpr std::string_view kPostgresSchemaV8 = R"SQL(
CREATE TABLE REQUISICAOAPLICADA (
  CDREQUISICAO  TEXT COLLATE "C" NOT NULL PRIMARY KEY,
  CDOPERADOR    TEXT COLLATE "C" NOT NULL,
  NMMETODO      TEXT COLLATE "C" NOT NULL,
  DSRESPOSTA    TEXT NOT NULL,
  NRSEGUNDOSUTC BIGINT NOT NULL
);
CREATE INDEX REQUISICAOAPLICADA_QUANDO ON REQUISICAOAPLICADA (NRSEGUNDOSUTC);
)SQL";
