#pragma once
// PostgreSQL: the same step as schema_v2.h, in its dialect (DOUBLE PRECISION
// for REAL, BIGINT for INTEGER, texts compared byte by byte as SQLite does).
//
// Second schema step: the values a partial rescission was recorded with, so
// its consolidation shows and generates exactly what the operator confirmed.

#include <string_view>

inline constexpr std::string_view kPostgresSchemaV2 = R"SQL(
-- One row per party in a partial rescission: what Distrato recorded and the
-- child budget sequence that carries it.
CREATE TABLE DISTRATOPARCIAL (
  CDFILIAL          TEXT COLLATE "C" NOT NULL,
  NRORCAEVENTO      TEXT COLLATE "C" NOT NULL,
  NRSEQORCAEVE      TEXT COLLATE "C" NOT NULL,
  CDCLIENTE         TEXT COLLATE "C" NOT NULL,
  NRENDCLIORCEVE    TEXT COLLATE "C" NOT NULL,
  NRSEQORCAEVEFILHO TEXT COLLATE "C" NOT NULL,     -- child budget sequence
  VRPAGO            DOUBLE PRECISION NOT NULL,     -- settled by the party when rescinded
  VRORIGRECNOEDIT   DOUBLE PRECISION NOT NULL,     -- calculated value
  VRORIGREC         DOUBLE PRECISION NOT NULL,     -- negotiated value
  VRPERCMULTA       DOUBLE PRECISION NOT NULL,
  VRMULTA           DOUBLE PRECISION NOT NULL,
  GERACTPAGAR       TEXT COLLATE "C" NOT NULL CHECK (GERACTPAGAR IN ('CNTRECEBER', 'CNTPAGAR')),
  CDOPERADOR        TEXT COLLATE "C" NOT NULL,
  PRIMARY KEY (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE),
  FOREIGN KEY (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE) REFERENCES CONTRATANTE
);
)SQL";
