// The substitution through the real dxr10900-server: a quota transfer and a
// plain substitution over TCP, and two operators confirming the same party
// at once, of whom exactly one succeeds.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "data/exceptions.h"
#include "data/packet.h"
#include "lib/consiste.h"
#include "net/net_connection.h"
#include "test_server.h"
#include "test_support.h"

namespace {

// The checked payload of one call, as the module reads it.
Variant Payload(TNetConnection& c, const std::string& method, std::initializer_list<Variant> args) {
  return CheckResultServ(c.AppServer(method, args), true, 0);
}

void ConnectTo(TNetConnection& c, int port) {
  c.SetHost("127.0.0.1");
  c.SetPort(port);
  c.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
  c.SetTimeoutMs(30000);
}

std::string SubstituteShownFor(TNetConnection& c, const std::string& client) {
  const Variant list = Payload(c, "GetContratante", {"0001", "0000000150"});
  const DataPacket& p = list.asPacket();
  for (std::size_t i = 0; i < p.rowCount(); ++i)
    if (p.at(i, "CDCLIENTE").asText() == client) return p.at(i, "NMFANTSUB").asText();
  return "(party not listed)";
}

class SubstitutionServerTest : public ::testing::TestWithParam<Backend> {};
INSTANTIATE_TEST_SUITE_P(Backends, SubstitutionServerTest, AllBackends(), BackendName);

TEST_P(SubstitutionServerTest, AQuotaTransferAndASubstitutionOverTheWire) {
  dx_test::DemoServer server(DemoOn(GetParam()));
  TNetConnection c;
  ConnectTo(c, server.port());

  const DataPacket offered = Payload(c, "GetContSub", {"0001", "0000000150", "seq", "3202"}).asPacket();
  ASSERT_GT(offered.rowCount(), 0u);
  EXPECT_TRUE(Payload(c, "GetRepetContrat", {"0001", "0000000150", "3202"}).asPacket().rowCount() == 0u);

  EXPECT_EQ(Payload(c, "TransfCotas", {"0001", "0000000150", "3202", "3001", "SUPERVISOR", "S", Variant(15000.0),
                                        Variant(30.0), Variant(18.0), "01", "1", "001", "01"})
                .asText(),
            "");
  EXPECT_EQ(SubstituteShownFor(c, "3202"), "Lucas Pereira Antunes");

  EXPECT_EQ(Payload(c, "SubstituirContratante",
                        {"0001", "0000000150", "", "3201", "1", "3101", "SUPERVISOR", "01", "01"})
                .asText(),
            "");
  EXPECT_EQ(SubstituteShownFor(c, "3201"), "Eventos Sul Produções");
  EXPECT_EQ(SubstituteShownFor(c, "3101"), "");
}

TEST_P(SubstitutionServerTest, TwoOperatorsSubstitutingTheSamePartyAtOnceOneWins) {
  dx_test::DemoServer server(DemoOn(GetParam()));
  std::atomic<int> succeeded{0};
  std::string refusals[2];
  const char* substitutes[2] = {"3001", "3002"};
  std::thread operators[2];
  for (int i = 0; i < 2; ++i) {
    operators[i] = std::thread([&, i] {
      TNetConnection c;
      ConnectTo(c, server.port());
      try {
        Payload(c, "SubstituirContratante",
                    {"0001", "0000000150", "", "3201", "1", substitutes[i], "SUPERVISOR", "01", "01"});
        ++succeeded;
      } catch (const Exception& e) {
        refusals[i] = e.Message();
      }
    });
  }
  for (std::thread& t : operators) t.join();
  EXPECT_EQ(succeeded.load(), 1);
  const std::string refusal = refusals[0].empty() ? refusals[1] : refusals[0];
  EXPECT_NE(refusal.find("já foi substituído por outro operador"), std::string::npos) << refusal;

  // Exactly one substitute came in.
  TNetConnection c;
  ConnectTo(c, server.port());
  const DataPacket list = Payload(c, "GetContratante", {"0001", "0000000150"}).asPacket();
  int substitutesIn = 0;
  for (std::size_t i = 0; i < list.rowCount(); ++i)
    if (list.at(i, "IDORIGEMINCLUSAO").asText() == "SUBSTITUICAO") ++substitutesIn;
  EXPECT_EQ(substitutesIn, 1);
}

}  // namespace
