#include <gtest/gtest.h>

#include "data/exceptions.h"
#include "lib/crv_msg.h"

namespace {

TMessages Catalogue() {
  TMessages msg("msgPadrao");
  msg.Messages = {
      "Sen_Inv|Senha inválida.",
      "OPER_N_CAD|Operador não cadastrado.",
      "N_PARAM_TPCTREC|Parâmetro %s não informado. Taxa de 10% não aplicada.",
      "SEM_TEXTO|",
      "linha sem separador",
      "ESPACOS|Texto com brancos no fim  ",
      "URL|a|b",
      "sen_inv|outro texto",
  };
  return msg;
}

}  // namespace

TEST(TMessages, FindsKeysExactlyAsWritten) {
  const TMessages msg = Catalogue();
  EXPECT_EQ(msg.Msg("Sen_Inv"), "Senha inválida.");
  EXPECT_EQ(msg.Msg("sen_inv"), "outro texto");
  EXPECT_EQ(msg.Msg("OPER_N_CAD"), "Operador não cadastrado.");
  EXPECT_EQ(msg.Msg("ESPACOS"), "Texto com brancos no fim  ");
  EXPECT_EQ(msg.Msg("URL"), "a|b");
  EXPECT_EQ(msg.Msg("SEM_TEXTO"), "");
}

TEST(TMessages, FallsBackToAnotherCaseThenToTheKey) {
  const TMessages msg = Catalogue();
  EXPECT_EQ(msg.Msg("oper_n_cad"), "Operador não cadastrado.");
  EXPECT_EQ(msg.Msg("NAO_EXISTE"), "NAO_EXISTE");
  EXPECT_EQ(msg.Msg("linha sem separador"), "linha sem separador");
}

TEST(TMessages, ReplacesOnlyTheFirstPercentS) {
  const TMessages msg = Catalogue();
  EXPECT_EQ(msg.MsgFmt("N_PARAM_TPCTREC", "V"), "Parâmetro V não informado. Taxa de 10% não aplicada.");
  EXPECT_EQ(FormatMsg("%s e %s", "a"), "a e %s");
  EXPECT_EQ(FormatMsg("sem marca", "a"), "sem marca");
  EXPECT_EQ(FormatMsg("%s", "50%s"), "50%s");
}

TEST(TMessages, ShowMsgGoesThroughTheInstalledDialog) {
  const TMessages msg = Catalogue();
  EXPECT_THROW(msg.ShowMsg("Sen_Inv", 3, 3, 0), Exception);

  std::string shown;
  TMessages::SetShowHandler([&](const std::string& text, int, int, int) {
    shown = text;
    return 6;
  });
  EXPECT_EQ(msg.ShowMsg("Sen_Inv", 3, 3, 0), 6);
  EXPECT_EQ(shown, "Senha inválida.");
  TMessages::SetShowHandler(nullptr);
}
