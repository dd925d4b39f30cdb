#include "workspace/registration_mask.h"

#include <gtest/gtest.h>

namespace workspace {
namespace {

TEST(RegistrationMask, PersonTypeSelectsTheMask) {
  EXPECT_EQ(FormatRegistration("12345678901", "F"), "123.456.789-01");
  EXPECT_EQ(FormatRegistration("12345678000195", "J"), "12.345.678/0001-95");
  EXPECT_EQ(FormatRegistration("12345678901", ""), "12345678901");
  EXPECT_EQ(FormatRegistration("C123", "E"), "C123");
}

TEST(RegistrationMask, NumbersThatDoNotFitTheMaskShowAsStored) {
  EXPECT_EQ(FormatRegistration("", "F"), "");
  EXPECT_EQ(FormatRegistration("1234", "F"), "1234");
  EXPECT_EQ(FormatRegistration("123456789012", "F"), "123456789012");  // nothing hidden
  EXPECT_EQ(FormatRegistration("12345678901", "J"), "12345678901");    // a CPF typed as company
}

TEST(RegistrationMask, LettersFillPlaceholdersToo) {
  EXPECT_EQ(ApplyMask("9999-a", "1234X"), "1234-X");
  EXPECT_EQ(ApplyMask("", "abc"), "abc");
}

}  // namespace
}  // namespace workspace
