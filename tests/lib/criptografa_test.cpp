#include <gtest/gtest.h>

#include "lib/criptografa.h"

// Each digest costs an Argon2 run; the suite makes a few on purpose.
class SenhaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { stored_ = new std::string(DigestSenha("SEGREDO1")); }
  static void TearDownTestSuite() { delete stored_; }
  static const std::string& Stored() { return *stored_; }

 private:
  static std::string* stored_;
};
std::string* SenhaTest::stored_ = nullptr;

TEST_F(SenhaTest, DigestFitsThePasswordColumn) {
  EXPECT_EQ(Stored().size(), 20u);
  EXPECT_EQ(Stored().find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"),
            std::string::npos);
}

TEST_F(SenhaTest, TheRightPasswordMatches) {
  EXPECT_TRUE(SenhaOK("SEGREDO1", Stored()));
  EXPECT_TRUE(SenhaOK("segredo1", Stored()));
  EXPECT_TRUE(SenhaOK("SEGREDO1", Stored() + "   "));
}

TEST_F(SenhaTest, AnyOtherPasswordDoesNot) {
  EXPECT_FALSE(SenhaOK("SEGREDO2", Stored()));
  EXPECT_FALSE(SenhaOK("SEGREDO", Stored()));
  EXPECT_FALSE(SenhaOK("SEGREDO1X", Stored()));
  EXPECT_FALSE(SenhaOK("", Stored()));
}

TEST_F(SenhaTest, MalformedOrEmptyStoredValuesMatchNothing) {
  EXPECT_FALSE(SenhaOK("", ""));
  EXPECT_FALSE(SenhaOK("SEGREDO1", ""));
  EXPECT_FALSE(SenhaOK("SEGREDO1", "SEGREDO1"));
  EXPECT_FALSE(SenhaOK("SEGREDO1", Stored().substr(0, 19)));
  std::string garbled = Stored();
  garbled[3] = '*';
  EXPECT_FALSE(SenhaOK("SEGREDO1", garbled));
  std::string otherHash = Stored();
  otherHash[19] = otherHash[19] == 'A' ? 'B' : 'A';
  EXPECT_FALSE(SenhaOK("SEGREDO1", otherHash));
}

TEST_F(SenhaTest, ADifferentSaltGivesADifferentDigestOfTheSamePassword) {
  const std::string again = DigestSenha("SEGREDO1");
  EXPECT_NE(again, Stored());
  EXPECT_TRUE(SenhaOK("SEGREDO1", again));
}

TEST(NormalizaSenha, UpperCasesAsciiAndAccentedLetters) {
  EXPECT_EQ(NormalizaSenha("abc123ç"), "ABC123Ç");
  EXPECT_EQ(NormalizaSenha("ãé÷"), "ÃÉ÷");
}
