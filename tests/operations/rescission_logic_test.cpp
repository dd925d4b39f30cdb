// The partial rescission's decisions and the translation of the server's
// refusals, on their own.

#include <gtest/gtest.h>

#include "data/client_dataset.h"
#include "operations/consolidation_rules.h"
#include "operations/refusal_translation.h"
#include "operations/rescission_rules.h"
#include "workspace/catalogue.h"

namespace {

using operations::TranslateServerRefusal;

const std::vector<std::string> kCatalogue = {
    "N_PARAM_DISTRATO|Multa não parametrizada para %s pago.",
    "N_PARAM_CONTA_FORN|Fornecedores já pagos.",
    "N_PARAM_EMPRESARELAC|Empresa não relacionada. \r\n",
};

TEST(TranslateServerRefusal, AKeyWithAParameterFillsTheText) {
  EXPECT_EQ(TranslateServerRefusal("N_PARAM_DISTRATO|40,00", kCatalogue), "Multa não parametrizada para 40,00 pago.");
}

TEST(TranslateServerRefusal, OnlyTheFirstBarSeparatesTheKey) {
  EXPECT_EQ(TranslateServerRefusal("N_PARAM_DISTRATO|a|b", kCatalogue), "Multa não parametrizada para a|b pago.");
}

TEST(TranslateServerRefusal, ABareKeyIsItsText) {
  EXPECT_EQ(TranslateServerRefusal("N_PARAM_CONTA_FORN", kCatalogue), "Fornecedores já pagos.");
  EXPECT_EQ(TranslateServerRefusal("N_PARAM_EMPRESARELAC", kCatalogue), "Empresa não relacionada. \r\n");
}

TEST(TranslateServerRefusal, OtherErrorsAndUnknownKeysAreNotTranslated) {
  EXPECT_FALSE(TranslateServerRefusal("Conexão perdida", kCatalogue));
  EXPECT_FALSE(TranslateServerRefusal("", kCatalogue));
  EXPECT_FALSE(TranslateServerRefusal("N_PARAM_INEXISTENTE|1", kCatalogue));
  EXPECT_FALSE(TranslateServerRefusal("Erro: N_PARAM_DISTRATO", kCatalogue));
}

TEST(TranslateServerRefusal, EveryRefusalOfTheMainScreenHasItsText) {
  const auto& lines = workspace::MainScreenMessages();
  EXPECT_EQ(TranslateServerRefusal("N_PARAM_TPCTREC|501", lines),
            "Não há tipo de conta a receber parametrizado para o tipo de operação (501).");
  EXPECT_EQ(TranslateServerRefusal("N_PARAM_VRNEGATIVO", lines),
            "Não é permitido gerar conta com valor negativo. Operação bloqueada.");
}

TEST(QuotasBlockPartialRescission, OnlyAnUntransferredQuotaHolderAloneInTheBudget) {
  EXPECT_TRUE(operations::QuotasBlockPartialRescission("S", "N", false));
  EXPECT_FALSE(operations::QuotasBlockPartialRescission("S", "N", true));
  EXPECT_FALSE(operations::QuotasBlockPartialRescission("S", "S", false));
  EXPECT_FALSE(operations::QuotasBlockPartialRescission("N", "N", false));
}

TEST(SignedAmount, AReceivableKeepsItsSignAPayableIsNegated) {
  EXPECT_DOUBLE_EQ(operations::SignedAmount("CNTRECEBER", 200), 200);
  EXPECT_DOUBLE_EQ(operations::SignedAmount("Conta a Receber", 200), 200);
  EXPECT_DOUBLE_EQ(operations::SignedAmount("CNTPAGAR", 1600), -1600);
  EXPECT_DOUBLE_EQ(operations::SignedAmount("Conta a Pagar", 1600), -1600);
}

}  // namespace

namespace {

// The consolidation's filter, applied as the screen applies it: only the
// parties in the process of a total rescission pass.
TEST(ConsolidationRules, TheTotalFilterKeepsOnlyPartiesInATotalRescission) {
  TClientDataSet parties;
  parties.AddField("IDTPDISTRATOREALI", FieldType::String, 10);
  parties.AddField("IDCONTPROCESDIST", FieldType::String, 1);
  parties.CreateDataSet();
  for (auto [type, process] : {std::pair{"TOTAL", "S"}, std::pair{"TOTAL", "C"}, std::pair{"PARCIAL", "S"},
                               std::pair{"", "N"}, std::pair{"TOTAL", "S"}}) {
    parties.Append();
    parties.FieldByName("IDTPDISTRATOREALI").SetAsString(type);
    parties.FieldByName("IDCONTPROCESDIST").SetAsString(process);
    parties.Post();
  }
  parties.SetFilter(operations::TotalRescissionFilter());
  parties.SetFiltered(true);
  EXPECT_EQ(parties.RecordCount(), 2);
  EXPECT_TRUE(operations::InTotalRescission("TOTAL     "));
  EXPECT_FALSE(operations::InTotalRescission("PARCIAL"));
  EXPECT_FALSE(operations::InTotalRescission(""));
}

}  // namespace
