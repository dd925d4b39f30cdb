// The server refuses what the screen would not offer, whoever calls: a
// partial rescission on a locked budget, on a budget rescinded only as a
// whole, of a party whose contract is not generated or that has a substitute
// recorded, or of a quota holder who kept her quotas; and every other
// writing method on a locked budget. Nothing is written when it refuses.

#include <gtest/gtest.h>

#include "demo/demo_database.h"
#include "methods/eligibility_checks.h"
#include "test_support.h"

namespace {

class Eligibility : public DemoOnBackend {
 protected:
  // A direct Distrato with values of the right shape: the eligibility
  // rules come before any value is checked.
  std::string DistratoRefusal(const std::string& budget, const std::string& client) {
    return Refusal([&] {
      Call("Distrato", {"0001", budget, "01", "1", "SUPERVISOR", client, Variant(0.0), "", Variant(0.0), Variant(0.0)});
    });
  }
  std::string Written() {
    return Rows({"SELECT COUNT(*) FROM ORCAEVENTO", "SELECT COUNT(*) FROM DISTRATOPARCIAL",
                 "SELECT CDCLIENTE, IDSITUCONTOREV, IDCONTPROCESDIST FROM CONTRATANTE ORDER BY 1"});
  }
};

INSTANTIATE_TEST_SUITE_P(Backends, Eligibility, AllBackends(), BackendName);

TEST_P(Eligibility, APartialRescissionTheScreenWouldNotOfferIsRefused) {
  db_->exec("UPDATE CONTRATANTE SET CDCLICONTSUBORE = '1002' WHERE NRORCAEVENTO = '0000000101' AND CDCLIENTE = '1001'");
  struct Case {
    const char* budget;
    const char* client;
    const char* refusal;
  } cases[] = {
      {demo::kLockedBudget, "1016", kBudgetLockedMessage},
      {demo::kFixedCostBudget, "1018", kOnlyTotalRescissionMessage},
      {"0000000101", "1007", kNotGeneratedMessage},          // launched
      {"0000000101", "1012", kNotGeneratedMessage},          // returned
      {"0000000101", "1001", kSubstituteRecordedMessage},    // a substitute recorded above
      {"0000000101", "1010", kQuotasNotTransferredMessage},  // holds the quotas alone
  };
  const std::string before = Written();
  for (const Case& c : cases) EXPECT_EQ(DistratoRefusal(c.budget, c.client), c.refusal) << c.budget << "/" << c.client;
  EXPECT_EQ(Written(), before);
}

TEST_P(Eligibility, AQuotaHolderInAnotherSequenceToo) {
  // Once she holds another sequence of the budget, her quotas no longer stop
  // the rescission of this contract: what refuses it now is its values.
  db_->exec("INSERT INTO CONTRATANTE (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, VRRECECONTOREV,"
            " IDSITUCONTOREV, IDCONTPROCESDIST) VALUES ('0001', '0000000101', '02', '1010', '1', 0, 'CNTGERADA', 'N')");
  EXPECT_NE(DistratoRefusal("0000000101", "1010"), kQuotasNotTransferredMessage);
}

TEST_P(Eligibility, EveryWriterOfAPartyRefusesALockedBudget) {
  db_->exec("UPDATE CONTRATANTE SET IDSITUCONTOREV = 'CANCELADO', IDCONTPROCESDIST = 'S', IDTPDISTRATOREALI = 'PARCIAL'"
            " WHERE NRORCAEVENTO = '0000000102' AND CDCLIENTE = '1017'");
  const char* b = demo::kLockedBudget;
  const std::vector<std::pair<std::string, std::vector<Variant>>> calls = {
      {"ConsolidaDistrato", {"0001", b, "01", "1", Variant(), Variant(0.0), "SUPERVISOR", "1", "1017", Variant(0.0),
                             "CNTPAGAR", ""}},
      {"SubstituirContratante", {"0001", b, "1", "1016", "1", "1018", "SUPERVISOR", "01", "01"}},
      {"TransfCotas", {"0001", b, "1016", "1018", "SUPERVISOR", "S", Variant(0.0), Variant(0), Variant(0), "01", "1",
                       "1", "01"}},
  };
  const std::string before = Written();
  for (const auto& [method, args] : calls)
    EXPECT_EQ(Refusal([&] { Call(method, args); }), kBudgetLockedMessage) << method;
  EXPECT_EQ(Written(), before);
}

}  // namespace
