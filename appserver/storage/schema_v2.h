#pragma once
// Second schema step: the values a partial rescission was recorded with, so
// its consolidation shows and generates exactly what the operator confirmed.

#include <string_view>

inline constexpr std::string_view kSchemaV2 = R"SQL(
-- One row per party in a partial rescission: what Distrato recorded and the
-- child budget sequence that carries it.
CREATE TABLE DISTRATOPARCIAL (
  CDFILIAL          TEXT NOT NULL,
  NRORCAEVENTO      TEXT NOT NULL,
  NRSEQORCAEVE      TEXT NOT NULL,
  CDCLIENTE         TEXT NOT NULL,
  NRENDCLIORCEVE    TEXT NOT NULL,
  NRSEQORCAEVEFILHO TEXT NOT NULL,     -- child budget sequence
  VRPAGO            REAL NOT NULL,     -- settled by the party when rescinded
  VRORIGRECNOEDIT   REAL NOT NULL,     -- calculated value
  VRORIGREC         REAL NOT NULL,     -- negotiated value
  VRPERCMULTA       REAL NOT NULL,
  VRMULTA           REAL NOT NULL,
  GERACTPAGAR       TEXT NOT NULL CHECK (GERACTPAGAR IN ('CNTRECEBER', 'CNTPAGAR')),
  CDOPERADOR        TEXT NOT NULL,
  PRIMARY KEY (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE),
  FOREIGN KEY (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE) REFERENCES CONTRATANTE
);
)SQL";
