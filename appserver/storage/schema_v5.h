#pragma once
// Version 5: the audit trail, and what a rescission changed so that undoing
// it restores exactly that. Every method that changes data writes one row of
// AUDITORIA in its own transaction. A receivable a rescission cancelled keeps
// the status it had (IDSTATRECDISTRATO), a settled one it applied keeps its
// former applied flag (IDBAIXAREALDISTRATO), and the recorded rescission
// keeps the party's former situation (IDSITUCONTOREVANT); NULL means the row
// was not touched by a rescission (or was written before this version).
// OPERADOR.CDSENHOPER already is an unbounded TEXT, so libsodium's full
// Argon2id string fits without a change of column.

#include <string_view>

inline constexpr std::string_view kSchemaV5 = R"SQL(
CREATE TABLE AUDITORIA (
  NRAUDITORIA   INTEGER PRIMARY KEY AUTOINCREMENT,
  DTHRAUDITORIA TEXT NOT NULL,              -- UTC, 'YYYY-MM-DD HH:MM:SS'
  CDOPERADOR    TEXT NOT NULL,              -- the connection's operator
  NMMETODO      TEXT NOT NULL,              -- the remote method
  CDFILIAL      TEXT NOT NULL DEFAULT '',
  NRORCAEVENTO  TEXT NOT NULL DEFAULT '',
  CDCLIENTE     TEXT NOT NULL DEFAULT '',   -- the party; '' for the whole budget
  DSVALORES     TEXT NOT NULL DEFAULT '',   -- the amounts, as the screens show them
  CDOPERAPROV   TEXT NOT NULL DEFAULT ''    -- who approved an undo
);
CREATE INDEX AUDITORIA_DATA ON AUDITORIA (DTHRAUDITORIA);

ALTER TABLE CONTARECEBER ADD COLUMN IDSTATRECDISTRATO TEXT;
ALTER TABLE CONTARECEBER ADD COLUMN IDBAIXAREALDISTRATO TEXT;
ALTER TABLE DISTRATOPARCIAL ADD COLUMN IDSITUCONTOREVANT TEXT;
)SQL";
