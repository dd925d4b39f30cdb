// Writes applied once: a change sent again under its request key, to the same
// server or to another on the same database, is answered as the first time
// and changes nothing more; a key is never shared by two operators or two
// methods; keys older than a day are forgotten.

#include <gtest/gtest.h>

#include "methods/applied_requests.h"
#include "net/value_codec.h"
#include "test_support.h"

namespace {

class AppliedOnce : public DemoOnBackend {
 protected:
  // Ana Paula, free for a partial rescission in budget 101, priced as the
  // screen prices her.
  std::vector<Variant> Rescission() {
    LoggedInCaller caller;
    std::vector<Variant> price{"0001", "0000000101", "01", "1", "01", Variant(0.0), "1001", "", "N"};
    const DataPacket values = app_->call(caller, "ConfirmaValores", price)[0].asPacket();
    const double negotiated = values.at(0, "VRORIGREC").asDouble();
    const bool payable = values.at(0, "GERACTPAGAR").asText() == "CNTPAGAR";
    return {"0001", "0000000101", "01", "1", "SUPERVISOR", "1001", values.at(0, "VRMULTA"), "",
            Variant(negotiated), Variant(payable ? -negotiated : negotiated)};
  }
  std::string Recorded() {
    return Rows({"SELECT COUNT(*) FROM DISTRATOPARCIAL WHERE CDCLIENTE = '1001'",
                 "SELECT COUNT(*) FROM AUDITORIA WHERE NMMETODO = 'Distrato'",
                 "SELECT IDCONTPROCESDIST FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000101' AND CDCLIENTE = '1001'"
                 " AND NRSEQORCAEVE = '01'"});
  }
};

INSTANTIATE_TEST_SUITE_P(Backends, AppliedOnce, AllBackends(), BackendName);

TEST_P(AppliedOnce, AChangeRetriedWithItsKeyIsAppliedOnceOnWhicheverServerGetsIt) {
  const AppServer secondServer(target_);
  LoggedInCaller caller, afterFailover;
  const std::vector<Variant> rescission = Rescission();
  std::vector<Variant> first = rescission, onTheOtherServer = rescission, onTheSameServer = rescission;
  const Variant answer = app_->call(caller, "Distrato", first, "acao-1");
  EXPECT_EQ(secondServer.call(afterFailover, "Distrato", onTheOtherServer, "acao-1"), answer);
  EXPECT_EQ(app_->call(caller, "Distrato", onTheSameServer, "acao-1"), answer);
  EXPECT_EQ(Recorded(), "1;\n1;\nS;\n") << "one rescission, one audit row";
  // The same call under a new key is a new action: it runs, and is refused
  // because the party is in a rescission already.
  std::vector<Variant> newAction = rescission;
  EXPECT_NE(Refusal([&] { app_->call(caller, "Distrato", newAction, "acao-2"); }), "(no refusal)");

  // The by-reference arguments a change wrote come back from the record too.
  DataPacket parties({{"VRORIGREC", FieldType::Float, 0}, {"VRPERCMULTA", FieldType::Float, 0},
                      {"VRMULTA", FieldType::Float, 0}, {"GERACTPAGAR", FieldType::String, 20},
                      {"VRORIGRECNOEDIT", FieldType::Float, 0}, {"CDCLIENTE", FieldType::String, 21},
                      {"ERRO", FieldType::String, 100}, {"ERRORENEGFIN", FieldType::String, 25}});
  parties.addRow({Variant(1000.0), Variant(10.0), Variant(100.0), Variant("CNTPAGAR"), Variant(1000.0), Variant("1003"),
                  Variant(""), Variant("")});
  std::vector<Variant> review{Variant(parties), "0001", "0000000101"}, reviewAgain = review;
  app_->call(caller, "InsContratDistrato", review, "acao-3");
  ASSERT_NE(review[0], Variant(parties)) << "the server's version of the parties comes back";
  secondServer.call(afterFailover, "InsContratDistrato", reviewAgain, "acao-3");
  // As the client receives it.
  EXPECT_EQ(wire::EncodeValue(reviewAgain[0]), wire::EncodeValue(review[0]));
  // The review is read again rather than kept: no second audit row, and no answer recorded.
  EXPECT_EQ(Rows({"SELECT COUNT(*) FROM AUDITORIA WHERE NMMETODO = 'InsContratDistrato'",
                  "SELECT LENGTH(DSRESPOSTA) FROM REQUISICAOAPLICADA WHERE CDREQUISICAO = 'acao-3'"}),
            "1;\n0;\n");
}

TEST_P(AppliedOnce, AKeyIsNeverSharedByTwoOperatorsOrTwoMethods) {
  LoggedInCaller supervisor, manager("GERENTE", "GERENTE");
  std::vector<Variant> rescission = Rescission();
  app_->call(supervisor, "Distrato", rescission, "acao-1");
  const std::string before = Recorded();
  std::vector<Variant> byTheManager = rescission;
  byTheManager[4] = Variant("GERENTE");
  std::vector<Variant> anotherMethod{Variant(DataPacket()), "0001", "0000000101"};
  for (const std::string& refusal :
       {Refusal([&] { app_->call(manager, "Distrato", byTheManager, "acao-1"); }),
        Refusal([&] { app_->call(supervisor, "InsContratDistrato", anotherMethod, "acao-1"); })})
    EXPECT_EQ(refusal, "A chave de requisição acao-1 já foi usada por outro operador ou em outro método. Operação bloqueada.");
  EXPECT_EQ(Recorded(), before);
}

// An answer whose arguments were all recorded whole, as every answer once
// was, reads as it was recorded.
TEST_P(AppliedOnce, AnAnswerRecordedWithEveryArgumentWholeReads) {
  const std::string bytes = wire::EncodeValue(MakeArray({Variant(7), MakeArray({Variant(), Variant("volta")})}));
  std::string hex;
  for (const unsigned char c : bytes) hex += "0123456789abcdef"[c >> 4], hex += "0123456789abcdef"[c & 15];
  db_->prepare("INSERT INTO REQUISICAOAPLICADA (CDREQUISICAO, CDOPERADOR, NMMETODO, DSRESPOSTA, NRSEGUNDOSUTC)"
               " VALUES ('anterior', 'SUPERVISOR', 'Distrato', ?1, 2000000000)")
      .bindAll(hex)
      .run();
  const std::optional<RecordedAnswer> found = FindRecordedAnswer(*db_, {"anterior", "SUPERVISOR", "Distrato"});
  ASSERT_TRUE(found);
  EXPECT_EQ(found->result, Variant(7));
  EXPECT_EQ(found->args, (std::vector<Variant>{Variant(), Variant("volta")}));
}

TEST_P(AppliedOnce, KeysOlderThanADayAreForgotten) {
  const std::int64_t now = 2000000000;
  const RequestKey old{"antiga", "SUPERVISOR", "Distrato"}, recent{"recente", "SUPERVISOR", "Distrato"};
  {
    Transaction tx(*db_, true);
    RecordAnswer(*db_, old, {Variant(1), {}}, now - kRequestKeyLifetimeSeconds - 1);
    RecordAnswer(*db_, recent, {Variant(2), {}}, now - kRequestKeyLifetimeSeconds + 60);
    PruneRecordedAnswers(*db_, now);
    tx.commit();
  }
  EXPECT_FALSE(FindRecordedAnswer(*db_, old));
  ASSERT_TRUE(FindRecordedAnswer(*db_, recent));
  EXPECT_EQ(FindRecordedAnswer(*db_, recent)->result, Variant(2));
}

}  // namespace
