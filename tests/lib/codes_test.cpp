#include <gtest/gtest.h>

#include "lib/consiste.h"
#include "lib/corvane.h"

TEST(EmptyString, BlanksAndMaskLeftoversAreEmpty) {
  EXPECT_TRUE(EmptyString(""));
  EXPECT_TRUE(EmptyString("    "));
  EXPECT_TRUE(EmptyString("  /  /    "));
  EXPECT_TRUE(EmptyString("__/__/____"));
  EXPECT_TRUE(EmptyString("___.___.___-__"));
}

TEST(EmptyString, AnythingTypedIsNotEmpty) {
  EXPECT_FALSE(EmptyString("0"));
  EXPECT_FALSE(EmptyString("  a "));
  EXPECT_FALSE(EmptyString("01/  /    "));
}

TEST(Ajusta, ZeroFillsNumericCodesToTheKeyWidth) {
  EXPECT_EQ(Ajusta("1", 4), "0001");
  EXPECT_EQ(Ajusta(" 12 ", 4), "0012");
  EXPECT_EQ(Ajusta("123", 10), "0000000123");
  EXPECT_EQ(Ajusta("5", 3), "005");
  EXPECT_EQ(Ajusta("0001", 4), "0001");
  EXPECT_EQ(Ajusta("00001", 4), "0001");
}

TEST(Ajusta, NeverCutsACodeIntoAnother) {
  EXPECT_EQ(Ajusta("12345", 4), "12345");
  EXPECT_EQ(Ajusta("ADMINISTRADOR1", 12), "ADMINISTRADOR1");
}

TEST(Ajusta, LeavesNamesAndLettersAsTyped) {
  EXPECT_EQ(Ajusta("  SUPERVISOR ", 12), "SUPERVISOR");
  EXPECT_EQ(Ajusta("A1", 4), "A1");
  EXPECT_EQ(Ajusta("   ", 4), "");
}

TEST(EditMasks, CpfAndCnpjMasksFormatStoredDigits) {
  EXPECT_EQ(PictPess("F"), "999.999.999-99;0;_");
  EXPECT_EQ(PictPess("J"), "99.999.999/9999-99;0;_");
  EXPECT_EQ(PictPess("X"), "");
  EXPECT_EQ(PictPess(""), "");
  EXPECT_EQ(FormatMaskText(PictPess("F"), "12345678901"), "123.456.789-01");
  EXPECT_EQ(FormatMaskText(PictPess("J"), "12345678000190"), "12.345.678/0001-90");
}

TEST(EditMasks, ValuesThatDoNotFitTheMaskAreShownAsStored) {
  EXPECT_EQ(FormatMaskText(PictPess("F"), "1234"), "1234");
  EXPECT_EQ(FormatMaskText(PictPess("F"), ""), "");
  EXPECT_EQ(FormatMaskText(PictPess("X"), "12345678901"), "12345678901");
  EXPECT_EQ(FormatMaskText(DateMask(), "01/02/2024"), "01/02/2024");
}

TEST(EditMasks, ModifiersAndEscapesAreNotPositions) {
  EXPECT_EQ(FormatMaskText("9999-a;0; ", "12345"), "1234-5");
  EXPECT_EQ(FormatMaskText(">aa\\-aa;0; ", "ABCD"), "AB-CD");
  EXPECT_EQ(FormatMaskText(DBPict(0), "PRODUTO0000000000001"), "PRODUTO0000000000001");
}

TEST(Iif, PicksBySideAndCommonType) {
  EXPECT_EQ(iif(true, 1, 2), 1);
  EXPECT_EQ(iif(false, 1, 2.5), 2.5);
  EXPECT_EQ(iif(false, "Parcial", std::string("Total")), "Total");
}
