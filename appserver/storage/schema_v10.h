#pragma once
// Version 10: one index of the receivables by party, client first.
//
// The party index now leads with the client after the budget, so it also
// answers the questions by budget and client that had an index of their
// own, and that index goes. Every receivable written (a consolidation's,
// and on PostgreSQL every receivable a rescission cancels, since changing
// the state rewrites the row with an entry in each index) kept one entry
// more for nothing. Every question by party names the whole key, so the
// order of the key's columns costs them nothing. The same text serves both
// dialects.

#include <string_view>

inline constexpr std::string_view kSchemaV10 = R"sql(
DROP INDEX CONTARECEBER_CLIENT;
DROP INDEX CONTARECEBER_PARTY;
CREATE INDEX CONTARECEBER_PARTY
  ON CONTARECEBER (NRORCAEVENTO, CDCLIENTE, NRSEQORCAEVE, NRENDCLIORCEVE);
)sql";
