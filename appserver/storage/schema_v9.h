#pragma once
// Version 9: the receivables' indexes for the whole-budget questions.
//
// What each party has paid (the settled receivables) and whether it owes a
// renegotiation are read for every party at once when a budget is priced;
// two partial indexes hold just those rows, in party order, so the sums read
// a third of the receivables and never the table. The client index no longer
// holds the state: a rescission changes the state of tens of thousands of
// receivables, and each change moved an entry of that index; the dozen
// receivables of a client are filtered by state just as fast from the table.
// The same text serves both dialects.

#include <string_view>

inline constexpr std::string_view kSchemaV9 = R"sql(
DROP INDEX CONTARECEBER_CLIENT_STATE;
CREATE INDEX CONTARECEBER_CLIENT
  ON CONTARECEBER (NRORCAEVENTO, CDCLIENTE);

CREATE INDEX CONTARECEBER_SETTLED
  ON CONTARECEBER (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, VRATUAREC, IDSTATREC)
  WHERE IDSTATREC = 'B';

CREATE INDEX CONTARECEBER_RENEGOTIATED
  ON CONTARECEBER (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, IDSTATREC, NRSEQHISTRENEGO)
  WHERE IDSTATREC = 'A' AND NRSEQHISTRENEGO <> '';
)sql";
