#include "workspace/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

namespace workspace {
namespace {

TEST(Catalogue, EveryLineHasAKeyAndTheKeysAreUnique) {
  std::set<std::string> keys;
  for (const std::string& line : MainScreenMessages()) {
    const std::size_t bar = line.find('|');
    ASSERT_NE(bar, std::string::npos) << line;
    ASSERT_GT(bar, 0u) << line;
    EXPECT_TRUE(keys.insert(line.substr(0, bar)).second) << "repeated key in " << line;
    EXPECT_GT(line.size(), bar + 1) << "no text in " << line;
  }
}

TEST(Catalogue, KeysAreExactAndCaseSensitive) {
  EXPECT_EQ(Msg("ContCorr_ninf"), "Conta corrente deve ser informada.");
  EXPECT_EQ(Msg("ContCorr_NaoCad"), "Conta corrente não cadastrada.");
  EXPECT_FALSE(FindMessage(MainScreenMessages(), "CONTCORR_NINF").has_value());
  EXPECT_EQ(Msg("Caucionado"), "Caucionada");
  EXPECT_EQ(Msg("LANCADO"), "Lançado");
}

TEST(Catalogue, TextsKeepTheirQuotesAccentsAndLineBreak) {
  EXPECT_EQ(Msg("N_PARAM_EMPRESARELAC"),
            "Empresa ou sua Inscrição Estadual não esta relacionada a filial. \r\n");
  EXPECT_EQ(Msg("N_PARAM_EXCBAIXACOMP"),
            "Baixa do tipo \"Compensação entre Contas\" não pode ser excluída. Operação bloqueada.");
  EXPECT_EQ(Msg("N_PARAM_CDTPAJUSUBCONTORE"),
            "Não há tipo de ajuste parametrizado na tela \"Parâmetros para Distrato Comercial\" "
            "para a operação de troca de titularidade. Operação bloquada.");
  EXPECT_EQ(Msg("COMIS_GERADA_ORC_DISTRATO"),
            "Existe comissão gerada para o vendedor, supervisor e/ou gerente do vendedor do "
            "orçamento. Para desfazer o distrato a comissão do vendedor e de seus superiores "
            "deve ser cancelada pela tela \"Manutenção da Comissão do Vendedor\". Operação "
            "bloqueada.");
}

TEST(Catalogue, HoldsEveryKeyTheMainScreenAndItsOperationsUse) {
  for (const char* key :
       {"FILI_N_INF", "FILIAL_N_CAD", "ORCA_N_INF", "ORCA_N_CAD", "ContCorr_ninf",
        "ContCorr_NaoCad", "Aberta", "Baixada", "Cancelada", "Planejada", "Caucionado",
        "Renegociado", "Distrato", "LANCADO", "CNTGERADA", "DEVOLVIDO", "CANCELADO",
        "Conta_Receber", "Conta_Pagar", "TROCA_N_REALI", "CALCULO_MULTA", "ORC_FILHO_N_GERADO",
        "GERANDO_ORCAMENTOS", "ORC_FILHO_DISTRATO_SUCESS", "APENAS_CONTRAT_DIST_PARCIAL",
        "CONSOLID_DISTRATO", "SUCESSO_CONSOLID", "DISTRATO_N_CONSOLID", "DISTR_TOT_JA_REALI",
        "ORCA_N_APROV", "CANC_DIST_N_REALI", "CANC_DIST_PARC", "CANC_DISTRATO",
        "CANC_DISTRATO_TOTAL", "DISTRATO_CANCELADO", "COMIS_GERADA_ORC_DISTRATO", "CLIE_INF",
        "CLIE_N_CAD", "CONT_SUB", "N_CAD_CONTRAT", "TROCA_TITU_N_REALI", "SUCESSO_COTAS",
        "SUCESSO", "TRANSF_CONTA_CONTRAT", "PRAZO_N_INF", "PARC_N_INF", "SOMA_PARC_DIF",
        "QT_PARC_ZERO", "DT_VENC_N_INF", "DT_VENC_MAIOR", "VENC_J_INF"}) {
    EXPECT_TRUE(FindMessage(MainScreenMessages(), key).has_value()) << key;
  }
}

// The words of the product shortfall list's own text, for a caller that
// shows the list with the screen's catalogue.
TEST(Catalogue, HoldsTheProductShortfallText) {
  EXPECT_EQ(Msg("ERRO_PROD"),
            "A soma da quantidade de alguns produtos do orçamento com a quantidade negativa gerada pelo "
            "distrato deve ser maior ou igual a zero:");
}

TEST(Catalogue, HoldsEveryServerRefusal) {
  int refusals = 0;
  for (const std::string& line : MainScreenMessages()) {
    if (line.starts_with("N_PARAM_")) ++refusals;
  }
  EXPECT_EQ(refusals, 37);
}

TEST(Catalogue, UnknownKeyIsAnError) {
  EXPECT_THROW(Msg("NAO_EXISTE"), std::out_of_range);
  EXPECT_FALSE(FindMessage({"A|x", "B"}, "B").has_value());  // a line without "|" has no key
  EXPECT_EQ(FindMessage({"A|x|y"}, "A"), "x|y");              // the text may hold a "|"
}

TEST(Catalogue, OnlyTheTextsThatTakeAnArgumentHoldOnePlaceholder) {
  const std::set<std::string> withArgument{
      "N_PARAM_TPCTREC", "N_PARAM_DISTRATO",      "N_PARAM_TPCTPAG",
      "APENAS_CONTRAT_DIST_PARCIAL", "CANC_DIST_PARC", "CANC_DISTRATO"};
  for (const std::string& line : MainScreenMessages()) {
    const std::string key = line.substr(0, line.find('|'));
    const std::string text = line.substr(line.find('|') + 1);
    const std::size_t first = text.find("%s");
    const bool hasOne = first != std::string::npos && text.find("%s", first + 1) == std::string::npos;
    const bool hasNone = first == std::string::npos;
    EXPECT_TRUE(withArgument.contains(key) ? hasOne : hasNone) << line;
  }
}

}  // namespace
}  // namespace workspace
