#include <gtest/gtest.h>

#include "lib/consiste.h"

namespace {

struct Adjusted {
  std::string number;
  std::string result;
};

Adjusted Adjust(std::string typed) {
  std::string result = Ajusta_Inscricao(typed);
  return {typed, result};
}

}  // namespace

TEST(AjustaInscricao, CpfTypedWithOrWithoutPunctuation) {
  for (const char* typed : {"12345678901", "123.456.789-01", " 123.456.789-01 ", "C123.456.789-01"}) {
    const Adjusted a = Adjust(typed);
    EXPECT_EQ(a.number, "12345678901") << typed;
    EXPECT_EQ(a.result, "F12345678901") << typed;
  }
}

TEST(AjustaInscricao, CnpjTypedWithOrWithoutPunctuation) {
  for (const char* typed : {"12345678000190", "12.345.678/0001-90", "C12.345.678/0001-90", "12,345,678/0001-90"}) {
    const Adjusted a = Adjust(typed);
    EXPECT_EQ(a.number, "12345678000190") << typed;
    EXPECT_EQ(a.result, "J12345678000190") << typed;
  }
}

TEST(AjustaInscricao, OtherNumbersGetNoPersonType) {
  const Adjusted shortNumber = Adjust("C123.45");
  EXPECT_EQ(shortNumber.number, "12345");
  EXPECT_EQ(shortNumber.result, "C12345");

  const Adjusted letters = Adjust("1234567890A");
  EXPECT_EQ(letters.result.front(), 'C');

  const Adjusted nothing = Adjust("C");
  EXPECT_EQ(nothing.number, "");
  EXPECT_EQ(nothing.result, "C");
}

TEST(AjustaInscricao, TheResultFormatsBackWithItsMask) {
  std::string typed = "C12.345.678/0001-90";
  const std::string result = Ajusta_Inscricao(typed);
  EXPECT_EQ(FormatMaskText(PictPess(result.substr(0, 1)), typed), "12.345.678/0001-90");
}
