// The per-connection caller and the stored form of operators' passwords.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>

#include "session/caller_session.h"
#include "session/failed_attempts.h"
#include "session/operator_password.h"
#include "session/stamp_table.h"
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

// The table against a plain map, through every way a stamp changes: set
// anew, replaced shorter and longer, lengthened while last and while not,
// erased and set again, with enough keys to make the index grow.
TEST(StampTableTest, AnswersAsAMapWouldThroughEveryChange) {
  StampTable table;
  std::map<std::string, std::string> model;
  auto set = [&](const std::string& k, const std::string& v) { table.set(k, v), model[k] = v; };
  auto append = [&](const std::string& k, const std::string& more) {
    EXPECT_EQ(table.append(k, more), model.count(k) == 1) << k;
    if (model.count(k)) model[k] += more;
  };
  auto erase = [&](const std::string& k) { table.erase(k), model.erase(k); };

  for (int i = 0; i < 300; ++i) set("01|" + std::to_string(i) + "|1", std::string(i % 7, 'a' + i % 26));
  set("01|5|1", "x");                         // shorter: in place
  set("01|6|1", "a much longer stamp now");   // longer: moves to the end
  append("01|6|1", "+1");                     // the last one written grows in place
  append("01|7|1", "+2");                     // another moves to the end first
  append("01|7|1", "+3");
  append("01|9999|1", "+4");                  // no such key
  erase("01|8|1");
  append("01|8|1", "+5");                     // erased: nothing to lengthen
  erase("01|10|1");
  set("01|10|1", "back");
  set(std::string("01|\0|1", 6), "a key with a NUL");
  for (int i = 300; i < 1000; ++i) set("02|" + std::to_string(i) + "|1", std::to_string(i * i));

  EXPECT_EQ(table.size(), model.size());
  for (const auto& [k, v] : model) EXPECT_EQ(table.find(k), std::optional<std::string_view>(v)) << k;
  EXPECT_EQ(table.find("01|8|1"), std::nullopt);
  EXPECT_EQ(table.find("01|9999|1"), std::nullopt);
  EXPECT_EQ(StampTable{}.find("01|1|1"), std::nullopt);
  EXPECT_FALSE(StampTable{}.append("01|1|1", "x"));
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
