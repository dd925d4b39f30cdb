#pragma once
// Version 11: the contracts with a substitute, indexed apart.
//
// Both dialects. A review's parties are read with the substitute recorded
// for each, which only a few contracts of a budget ever have: joining every
// party to its contract to find them took a sixth of resuming a 10,000-party
// review. The contracts with a substitute are now read on their own, through
// an index that holds only them (nearly always empty for a budget).

#include <string_view>

inline constexpr std::string_view kSchemaV11 = R"sql(
CREATE INDEX CONTRATANTE_SUBSTITUTED
  ON CONTRATANTE (CDFILIAL, NRORCAEVENTO)
  WHERE CDCLICONTSUBORE IS NOT NULL;
)sql";
