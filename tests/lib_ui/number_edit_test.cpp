#include <gtest/gtest.h>

#include "lib/number_edit.h"
#include "ui/form.h"

namespace {

class NumberEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit.SetParent(&form);
    other.SetParent(&form);
    form.Show();
  }

  TForm form;
  TNumberEdit edit;
  TEdit other;
};

TEST_F(NumberEditTest, FormatsWithTheNumberFormat) {
  edit.SetNumberFormat("#,#00.00");
  edit.SetThousands(false);
  edit.SetNumber(5);
  EXPECT_EQ(edit.Text(), "05,00");
  edit.SetNumber(1234567.891);
  EXPECT_EQ(edit.Text(), "1.234.567,89");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), 1234567.89);

  edit.SetNumberFormat("#,##0.00");
  edit.SetNumber(0.5);
  EXPECT_EQ(edit.Text(), "0,50");
  edit.SetNumber(-1234.005);
  EXPECT_EQ(edit.Text(), "-1.234,01");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), -1234.01);
}

TEST_F(NumberEditTest, ANumberSetAsTextIsShownInTheNumberFormat) {
  edit.SetNumberFormat("#,#00.00");
  edit.SetThousands(false);
  edit.SetText("87200,00");
  EXPECT_EQ(edit.Text(), "87.200,00");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), 87200.0);
  edit.SetText("1.234,5");
  EXPECT_EQ(edit.Text(), "1.234,50");
  edit.SetText("-3");
  EXPECT_EQ(edit.Text(), "-03,00");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), -3.0);
  // Anything else stays as given.
  edit.SetText("");
  EXPECT_EQ(edit.Text(), "");
  edit.SetText("abc");
  EXPECT_EQ(edit.Text(), "abc");
}

TEST_F(NumberEditTest, WithoutANumberFormatTheTextStaysAsGiven) {
  edit.SetText("87200,00");
  EXPECT_EQ(edit.Text(), "87200,00");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), 87200.0);
}

TEST_F(NumberEditTest, WithoutFormatDecimalsThousandsAndCurrencyDecide) {
  edit.SetDecimals(0);
  edit.SetNumber(3.6);
  EXPECT_EQ(edit.Text(), "4");
  edit.SetNumber(12345);
  EXPECT_EQ(edit.Text(), "12.345");
  edit.SetThousands(false);
  edit.SetNumber(12345);
  EXPECT_EQ(edit.Text(), "12345");
  edit.SetDecimals(2);
  edit.SetCurrency(true);
  edit.SetNumber(9.9);
  EXPECT_EQ(edit.Text(), "R$ 9,90");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), 9.9);
}

TEST_F(NumberEditTest, ReadsEmptyAndGarbageAsZero) {
  EXPECT_EQ(edit.GetNumber(), 0.0);
  edit.SetText("abc");
  EXPECT_EQ(edit.GetNumber(), 0.0);
  edit.SetText("1E3");  // not something the user can type
  EXPECT_EQ(edit.GetNumber(), 0.0);
  EXPECT_DOUBLE_EQ(ParseNumberText("1.234,5").value(), 1234.5);
  EXPECT_FALSE(ParseNumberText("").has_value());
}

TEST_F(NumberEditTest, TypingTakesDigitsOneCommaAndALeadingMinus) {
  edit.SetDecimals(2);
  edit.SetFocus();
  edit.UserType("-1a2-,3,45.6");
  EXPECT_EQ(edit.Text(), "-12,34");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), -12.34);
}

TEST_F(NumberEditTest, WholeNumbersTakeNoComma) {
  edit.SetDecimals(0);
  edit.SetFocus();
  edit.UserType("12,5");
  EXPECT_EQ(edit.Text(), "125");
}

TEST_F(NumberEditTest, LeavingAfterTypingShowsTheValueFormatted) {
  edit.SetNumberFormat("#,##0.00");
  edit.SetFocus();
  edit.UserType("1234,5");
  other.SetFocus();
  EXPECT_EQ(edit.Text(), "1.234,50");
}

TEST_F(NumberEditTest, PastingSomethingElseThanANumberIsRefused) {
  edit.SetNumber(7);
  edit.SetFocus();
  edit.UserSetText("sete");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), 7);
  edit.UserSetText("1.000,25");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), 1000.25);
}

TEST_F(NumberEditTest, ReadOnlyEditIgnoresTyping) {
  edit.SetReadOnly(true);
  edit.SetNumber(2);
  edit.SetFocus();
  edit.UserType("9");
  EXPECT_DOUBLE_EQ(edit.GetNumber(), 2);
}

}  // namespace
