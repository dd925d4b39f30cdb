// The per-connection caller and the stored form of operators' passwords.

#include <gtest/gtest.h>

#include <chrono>

#include "session/caller_session.h"
#include "session/operator_password.h"
#include "lib/criptografa.h"

using namespace std::chrono_literals;

TEST(CallerSessionTest, ApprovalIsUsedUpOnceAndExpires) {
  CallerSession caller("127.0.0.1:5000");
  const auto t0 = CallerSession::Clock::now();
  EXPECT_FALSE(caller.takeApproval(t0, 5min));

  caller.grantApproval("GERENTE", t0);
  EXPECT_EQ(caller.takeApproval(t0 + 4min, 5min), "GERENTE");
  EXPECT_FALSE(caller.takeApproval(t0 + 4min, 5min)) << "an approval serves one undo";

  caller.grantApproval("GERENTE", t0);
  EXPECT_FALSE(caller.takeApproval(t0 + 5min + 1s, 5min));
  EXPECT_FALSE(caller.takeApproval(t0 + 1s, 5min)) << "an expired approval is gone, not kept for later";

  caller.grantApproval("SUPERVISOR", t0);
  caller.logIn("OPERADOR", "OPERADOR");
  EXPECT_FALSE(caller.takeApproval(t0, 5min)) << "logging in as someone else drops the approval";
}

TEST(CallerSessionTest, CurrentCallerFollowsTheScope) {
  EXPECT_EQ(CurrentCaller(), nullptr);
  CallerSession outer("a"), inner("b");
  {
    CallerScope s1(&outer);
    EXPECT_EQ(CurrentCaller(), &outer);
    {
      CallerScope s2(&inner);
      EXPECT_EQ(CurrentCaller(), &inner);
    }
    EXPECT_EQ(CurrentCaller(), &outer);
  }
  EXPECT_EQ(CurrentCaller(), nullptr);
}

TEST(OperatorPasswordTest, FullFormMatchesTheUpperCasedPasswordOnly) {
  const std::string stored = HashOperatorPassword("Distrato");
  EXPECT_EQ(stored.rfind("$argon2id$", 0), 0u);
  EXPECT_NE(stored, HashOperatorPassword("Distrato")) << "each value has its own salt";
  EXPECT_TRUE(OperatorPasswordMatches("DISTRATO", stored));
  EXPECT_TRUE(OperatorPasswordMatches("distrato", stored));
  EXPECT_FALSE(OperatorPasswordMatches("DISTRAT0", stored));
  EXPECT_FALSE(OperatorPasswordMatches("", stored));
  EXPECT_FALSE(OperatorPasswordMatches("DISTRATO", stored.substr(0, stored.size() - 2)));
  EXPECT_FALSE(OperatorPasswordNeedsRehash(stored));
}

TEST(OperatorPasswordTest, OlderShortDigestsStillMatchAndAskToBeRewritten) {
  const std::string legacy = DigestSenha("SEGREDO1");
  EXPECT_TRUE(OperatorPasswordMatches("segredo1", legacy));
  EXPECT_FALSE(OperatorPasswordMatches("SEGREDO2", legacy));
  EXPECT_TRUE(OperatorPasswordNeedsRehash(legacy));
  EXPECT_FALSE(OperatorPasswordMatches("", ""));
  EXPECT_FALSE(OperatorPasswordMatches("X", "$argon2id$garbage"));
}
