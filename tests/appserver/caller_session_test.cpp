// The per-connection caller and the stored form of operators' passwords.

#include <gtest/gtest.h>

#include <chrono>

#include "session/caller_session.h"
#include "session/failed_attempts.h"
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

TEST(FailedAttemptsTest, LocksOutAfterTooManyFailuresWithinTheWindow) {
  FailedAttempts attempts(3, 15min, 10min);
  const auto t0 = FailedAttempts::Clock::now();
  EXPECT_FALSE(attempts.recordFailure("GERENTE", t0));
  EXPECT_FALSE(attempts.recordFailure("GERENTE", t0 + 1min));
  EXPECT_EQ(attempts.lockedFor("GERENTE", t0 + 1min), FailedAttempts::Clock::duration::zero());
  EXPECT_TRUE(attempts.recordFailure("GERENTE", t0 + 2min));
  EXPECT_EQ(attempts.lockedFor("GERENTE", t0 + 2min), 10min);
  EXPECT_EQ(attempts.lockedFor("SUPERVISOR", t0 + 2min), FailedAttempts::Clock::duration::zero())
      << "one operator's failures do not lock another";
  EXPECT_EQ(attempts.lockedFor("GERENTE", t0 + 12min), FailedAttempts::Clock::duration::zero());
}

TEST(FailedAttemptsTest, FailuresOutsideTheWindowAndSuccessesDoNotAddUp) {
  FailedAttempts attempts(3, 15min, 10min);
  const auto t0 = FailedAttempts::Clock::now();
  attempts.recordFailure("A", t0);
  attempts.recordFailure("A", t0 + 1min);
  EXPECT_FALSE(attempts.recordFailure("A", t0 + 16min)) << "the first two are out of the window";
  attempts.recordFailure("A", t0 + 17min);
  attempts.recordSuccess("A");
  EXPECT_FALSE(attempts.recordFailure("A", t0 + 18min));
  EXPECT_EQ(attempts.lockedFor("A", t0 + 18min), FailedAttempts::Clock::duration::zero());
}
