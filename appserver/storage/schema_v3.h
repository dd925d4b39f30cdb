#pragma once
// Version 3: indexes for the questions asked on every move through the list,
// so their cost no longer grows with the party's place in a large budget.

#include <string_view>

inline constexpr std::string_view kSchemaV3 = R"sql(
-- A party's receivables by client and state, whatever its sequence.
CREATE INDEX CONTARECEBER_CLIENT_STATE
  ON CONTARECEBER (NRORCAEVENTO, CDCLIENTE, IDSTATREC);

-- Whether a budget holds parties that came in by a substitution.
CREATE INDEX CONTRATANTE_ORIGIN
  ON CONTRATANTE (CDFILIAL, NRORCAEVENTO, IDORIGEMINCLUSAO);
)sql";
