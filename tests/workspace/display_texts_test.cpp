#include "workspace/display_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace workspace {
namespace {

TEST(ReceivableStatus, CodesRenegotiationAndRescissionInOrder) {
  struct Case {
    const char* status;
    const char* renegotiation;
    const char* settled;
    const char* expected;
  };
  for (const Case& c : std::vector<Case>{
           {"A", "", "", "Aberta"},
           {"B", "", "", "Baixada"},
           {"C", "", "", "Cancelada"},
           {"P", "", "", "Planejada"},
           {"D", "", "", "Caucionada"},
           {"X", "", "", ""},
           {"", "", "", ""},
           {"A", "7", "", "Renegociado"},
           {"X", "7", "", "Renegociado"},  // renegotiation shows even for an unknown code
           {"P", "7", "S", "Distrato"},     // the last rule wins
           {"P", "", "S", "Distrato"},
           {"A", "", "S", "Aberta"},
           {"B", "7", "S", "Renegociado"},
       }) {
    const ReceivableStatusCodes row{false, c.status, c.renegotiation, c.settled};
    EXPECT_EQ(ReceivableStatusText(row), c.expected)
        << c.status << " " << c.renegotiation << " " << c.settled;
  }
}

TEST(ReceivableStatus, EmptyDatasetShowsNothing) {
  EXPECT_EQ(ReceivableStatusText({true, "P", "7", "S"}), "");
  EXPECT_TRUE(ReceivableStatusKey({true, "A", "", ""}).empty());
}

TEST(PartySituation, CodesAndEmptyCode) {
  struct Case {
    bool empty;
    const char* code;
    const char* expected;
  };
  for (const Case& c : std::vector<Case>{
           {false, "LANCADO", "Lançado"},
           {false, "", "Lançado"},
           {false, "CNTGERADA", "Conta Gerada"},
           {false, "DEVOLVIDO", "Devolvido"},
           {false, "CANCELADO", "Cancelado"},
           {false, "cancelado", ""},
           {false, "OUTRO", ""},
           {true, "CANCELADO", ""},
           {true, "", ""},
       }) {
    EXPECT_EQ(PartySituationText(c.empty, c.code), c.expected) << c.empty << " " << c.code;
  }
}

TEST(PayableStatus, CodesAndEmptyDataset) {
  EXPECT_EQ(PayableStatusText(false, "B"), "Baixada");
  EXPECT_EQ(PayableStatusText(false, "A"), "Aberta");
  EXPECT_EQ(PayableStatusText(false, "P"), "Planejada");
  EXPECT_EQ(PayableStatusText(false, "C"), "");  // payables have no cancelled text
  EXPECT_EQ(PayableStatusText(true, "A"), "");
}

TEST(AccountToGenerate, ReceivableOrPayable) {
  EXPECT_EQ(AccountToGenerateText("CNTRECEBER"), "Conta a Receber");
  EXPECT_EQ(AccountToGenerateText("CNTPAGAR"), "Conta a Pagar");
  EXPECT_EQ(AccountToGenerateText(""), "");
  EXPECT_EQ(AccountToGenerateText("Conta a Receber"), "");
}

TEST(ProcessCaption, LowerCasesTheRescissionType) {
  EXPECT_EQ(ProcessCaption("TOTAL"), "total");
  EXPECT_EQ(ProcessCaption("PARCIAL"), "parcial");
  EXPECT_EQ(ProcessCaption(""), "");
  EXPECT_EQ(ProcessCaption("Total 2"), "total 2");
}

TEST(Legends, AccountKindsNameTheirLegendWithItsColour) {
  for (AccountKind kind :
       {AccountKind::BoletoEmitidoGeradaDistrato, AccountKind::GeradaDistrato,
        AccountKind::BoletoEmitido, AccountKind::BaixaRealExcluida,
        AccountKind::GeradaTransfCotas, AccountKind::GeradaFechamento}) {
    const std::string_view text = AccountLegendText(kind);
    bool found = false;
    for (const Legend& legend : kAccountLegends) {
      if (legend.text == text) {
        found = true;
        EXPECT_EQ(legend.colour, AccountKindColour(kind)) << text;
      }
    }
    EXPECT_TRUE(found) << text;
  }
}

}  // namespace
}  // namespace workspace
