#include <gtest/gtest.h>

#include "data/formats.h"
#include "lib/date_edit_plus.h"
#include "ui/edit.h"
#include "ui/form.h"

namespace {

class DateEditPlusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    date.SetParent(&form);
    other.SetParent(&form);
    form.Show();
  }

  TForm form;
  TDateEditPlus date;
  TEdit other;
};

TEST_F(DateEditPlusTest, SetAndGetTheDate) {
  EXPECT_EQ(date.EditMask(), "!99/99/9999;1;_");
  date.SetDate(EncodeDate(2027, 2, 28));
  EXPECT_EQ(date.Text(), "28/02/2027");
  ASSERT_TRUE(date.GetDate().has_value());
  EXPECT_EQ(*date.GetDate(), EncodeDate(2027, 2, 28));
  EXPECT_NO_THROW(date.CheckValidDate());
}

TEST_F(DateEditPlusTest, BlankHoldsNoDateAndPassesTheCheck) {
  EXPECT_TRUE(date.IsBlank());
  EXPECT_FALSE(date.GetDate().has_value());
  EXPECT_NO_THROW(date.CheckValidDate());
}

TEST_F(DateEditPlusTest, ADayThatDoesNotExistIsRefusedWithAClearMessage) {
  date.SetText("31/02/2027");
  try {
    date.CheckValidDate();
    FAIL() << "31/02/2027 passed";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "'31/02/2027' não é uma data válida");
  }
  EXPECT_THROW((void)date.GetDate(), Exception);
}

TEST_F(DateEditPlusTest, LeavingWithAnInvalidDateKeepsTheFocus) {
  date.SetFocus();
  date.UserType("31022027");
  EXPECT_THROW(other.SetFocus(), Exception);
  EXPECT_TRUE(date.Focused());
  date.SetFocus();
  date.UserSetText("01/03/2027");
  EXPECT_NO_THROW(other.SetFocus());
  EXPECT_TRUE(other.Focused());
}

}  // namespace
