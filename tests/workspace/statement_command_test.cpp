// "Termo de Distrato": the rule that offers it and the parties a total
// rescission's document covers.

#include <gtest/gtest.h>

#include "workspace/statement_command.h"

namespace {

using workspace::StatementInputs;

TEST(StatementCommand, OnForAPartyWithARescissionStartedConsolidatedOrUndone) {
  const struct {
    const char* name;
    StatementInputs in;
    bool on;
  } cases[] = {
      {"started", {false, false, "S", "ORCAMENTO", false}, true},
      {"consolidated", {false, false, "C", "SUBSTITUICAO", false}, true},
      {"undone", {false, false, "N", "ORCAMENTO", true}, true},
      {"never rescinded", {false, false, "N", "ORCAMENTO", false}, false},
      {"a child budget's row", {false, false, "S", "DISTRATO", false}, false},
      {"list being edited", {false, true, "C", "ORCAMENTO", false}, false},
      {"list empty or closed", {true, false, "", "", false}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(workspace::TermoDistratoAvailable(c.in), c.on) << c.name;
}

TEST(StatementCommand, ATotalDocumentCoversThePartiesInTheTotalRescissionOnly) {
  const struct {
    const char *type, *proc, *origin;
    bool covered;
  } cases[] = {
      {"TOTAL", "S", "ORCAMENTO", true},   {"TOTAL", "C", "ORCAMENTO", true},
      {"TOTAL", "S", "DISTRATO", false},   {"PARCIAL", "C", "ORCAMENTO", false},
      {"", "N", "ORCAMENTO", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(workspace::InTotalStatement(c.type, c.proc, c.origin), c.covered) << c.type << c.proc << c.origin;
  EXPECT_EQ(workspace::StatementKey("01", "3301", "1"), "01|3301|1");
}

}  // namespace
