#include "workspace/cell_styles.h"

#include <gtest/gtest.h>

#include <vector>

namespace workspace {
namespace {

TEST(PartyCellStyle, FontColourFollowsTheProcessAndTheSubstitution) {
  struct Case {
    const char* proc;
    const char* substituteCode;
    const char* transferred;
    Rgb expected;
  };
  for (const Case& c : std::vector<Case>{
           {"S", "", "N", kRed},
           {"C", "", "N", kOlive},
           {"N", "", "N", kWindowText},
           {"", "", "", kWindowText},
           {"C", "0001", "N", kGray},  // consolidated with a recorded substitute
           {"S", "0001", "N", kRed},   // a substitute alone greys only a consolidated party
           {"N", "0001", "N", kWindowText},
           {"S", "", "S", kGray},  // quotas transferred
           {"N", "", "S", kGray},
           {"C", "", "S", kGray},
       }) {
    const PartyRowCodes row{c.proc, c.substituteCode, c.transferred, "N"};
    EXPECT_EQ(PartyCellStyle(row, "NMFANTCLIE", {}).font, c.expected)
        << c.proc << " " << c.substituteCode << " " << c.transferred;
  }
}

TEST(PartyCellStyle, QuotaHolderIsBoldAndTheBackgroundIsInfo) {
  PartyRowCodes row{"S", "", "N", "S"};
  const CellStyle holder = PartyCellStyle(row, "NMFANTCLIE", {});
  EXPECT_TRUE(holder.bold);
  EXPECT_EQ(holder.background, kInfoBk);
  row.IDCONTRESPCOTAORCA = "N";
  EXPECT_FALSE(PartyCellStyle(row, "NMFANTCLIE", {}).bold);
}

TEST(PartyCellStyle, ChargedValueIsRightAlignedWithItsOwnOffsets) {
  const PartyRowCodes row{"N", "", "N", "N"};
  const CellStyle value = PartyCellStyle(row, "VRRECECONTOREV", {});
  EXPECT_TRUE(value.rightAligned);
  EXPECT_EQ(value.offsetX, 3);
  EXPECT_EQ(value.offsetY, 3);
  const CellStyle name = PartyCellStyle(row, "NMFANTCLIE", {});
  EXPECT_FALSE(name.rightAligned);
  EXPECT_EQ(name.offsetX, 2);
  EXPECT_EQ(name.offsetY, 2);
}

TEST(PartyCellStyle, SelectionOverridesColoursButKeepsBold) {
  const PartyRowCodes row{"S", "", "N", "S"};
  const CellStyle selected = PartyCellStyle(row, "NMFANTCLIE", {.selected = true, .focused = true});
  EXPECT_EQ(selected.background, kHighlight);
  EXPECT_EQ(selected.font, kHighlightText);
  EXPECT_TRUE(selected.bold);
  EXPECT_TRUE(selected.focusRect);
  EXPECT_FALSE(PartyCellStyle(row, "NMFANTCLIE", {}).focusRect);
}

struct AccountCase {
  const char* boleto;
  const char* origin;
  const char* realSettlement;
  AccountKind receivable;
  AccountKind payable;
};

TEST(AccountCellStyle, FirstMatchingRuleWins) {
  using K = AccountKind;
  for (const AccountCase& c : std::vector<AccountCase>{
           {"E", "T", "", K::BoletoEmitidoGeradaDistrato, K::BoletoEmitidoGeradaDistrato},
           {"E", "I", "S", K::BoletoEmitidoGeradaDistrato, K::BoletoEmitidoGeradaDistrato},
           {"A", "T", "", K::GeradaDistrato, K::GeradaDistrato},
           {"", "I", "", K::GeradaDistrato, K::GeradaDistrato},
           {"E", "F", "S", K::BoletoEmitido, K::BoletoEmitido},
           {"E", "", "", K::BoletoEmitido, K::BoletoEmitido},
           {"A", "F", "S", K::BaixaRealExcluida, K::GeradaFechamento},
           {"A", "F", "N", K::GeradaFechamento, K::GeradaFechamento},
           {"B", "F", "S", K::GeradaFechamento, K::GeradaFechamento},
           {"A", "G", "", K::GeradaTransfCotas, K::GeradaFechamento},
           {"B", "G", "", K::GeradaFechamento, K::GeradaFechamento},
           {"", "", "", K::GeradaFechamento, K::GeradaFechamento},
       }) {
    const AccountRowCodes row{c.boleto, c.origin, c.realSettlement};
    EXPECT_EQ(ReceivableKind(row), c.receivable) << c.boleto << c.origin << c.realSettlement;
    EXPECT_EQ(PayableKind(row), c.payable) << c.boleto << c.origin << c.realSettlement;
  }
}

TEST(AccountCellStyle, KindsHaveTheLegendColours) {
  EXPECT_EQ(AccountKindColour(AccountKind::BoletoEmitidoGeradaDistrato), kBlue);
  EXPECT_EQ(AccountKindColour(AccountKind::GeradaDistrato), kPurple);
  EXPECT_EQ(AccountKindColour(AccountKind::BoletoEmitido), kGreen);
  EXPECT_EQ(AccountKindColour(AccountKind::BaixaRealExcluida), kTeal);
  EXPECT_EQ(AccountKindColour(AccountKind::GeradaTransfCotas), kFuchsia);
  EXPECT_EQ(AccountKindColour(AccountKind::GeradaFechamento, 0x123456), 0x123456u);
}

TEST(AccountCellStyle, StylesUseTheKindAndTheCellState) {
  const AccountRowCodes teal{"A", "F", "S"};
  const CellStyle receivable = ReceivableCellStyle(teal, {});
  EXPECT_EQ(receivable.font, kTeal);
  EXPECT_EQ(receivable.background, kInfoBk);
  EXPECT_FALSE(receivable.rightAligned);
  EXPECT_EQ(receivable.offsetX, 2);
  EXPECT_EQ(PayableCellStyle(teal, {}, 0x00AA00).font, 0x00AA00u);  // payables stop at green

  const CellStyle selected = PayableCellStyle({"E", "T", ""}, {.selected = true});
  EXPECT_EQ(selected.background, kHighlight);
  EXPECT_EQ(selected.font, kHighlightText);
}

}  // namespace
}  // namespace workspace
