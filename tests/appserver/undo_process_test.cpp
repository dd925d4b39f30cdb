// The undo's approval through the real dxr10900-server: it holds on the
// connection that confirmed the password and nowhere else, serves one undo,
// and the audit trail printed by `--audit` names who undid and who approved.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "data/packet.h"
#include "lib/consiste.h"
#include "net/net_connection.h"
#include "test_server.h"
#include "test_support.h"

namespace {

Variant Payload(TNetConnection& c, const std::string& method, std::initializer_list<Variant> args) {
  return CheckResultServ(c.AppServer(method, args), true, 0);
}

std::string Refusal(TNetConnection& c, const std::string& method, std::initializer_list<Variant> args) {
  try {
    Payload(c, method, args);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no refusal)";
}

// Logged in as the demo's plain operator, who undoes only with an approval.
void ConnectTo(TNetConnection& c, int port) {
  c.SetHost("127.0.0.1");
  c.SetPort(port);
  c.SetTimeoutMs(30000);
  c.SetLogin("OPERADOR", "OPERADOR1");
}

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

class UndoServerTest : public ::testing::TestWithParam<Backend> {};
INSTANTIATE_TEST_SUITE_P(Backends, UndoServerTest, AllBackends(), BackendName);

TEST_P(UndoServerTest, TheApprovalHoldsOnTheConnectionThatConfirmedItForOneUndo) {
  dx_test::DemoServer server(DemoOn(GetParam()));
  TNetConnection approved, other;
  ConnectTo(approved, server.port());
  ConnectTo(other, server.port());
  auto undo = [](TNetConnection& c) {
    return Refusal(c, "DesfazerDistrato", {"CONTRATANTE", "0001", "171", "01", "01", "3301", "", "OPERADOR",
                                           Variant(DateTime{46364}), "1"});
  };
  const std::string refused = "Cancelamento do distrato só é possível";

  // The list of approvers carries a marker, never the stored digest.
  const DataPacket approvers = Payload(other, "GetOperador", {"T"}).asPacket();
  ASSERT_EQ(approvers.rowCount(), 2u);
  for (std::size_t r = 0; r < approvers.rowCount(); ++r) EXPECT_EQ(approvers.at(r, "CDSENHOPER").asText(), "S");

  EXPECT_TRUE(Payload(approved, "ConfirmaSenhaOperador", {"SUPERVISOR", "DISTRATO"}).asBool());
  EXPECT_EQ(undo(other).rfind(refused, 0), 0u) << "approved on the other connection";
  EXPECT_EQ(undo(approved), "(no refusal)");
  EXPECT_EQ(Payload(approved, "ConfirmaSenhaOperador", {"SUPERVISOR", "errada"}).asBool(), false);
  EXPECT_EQ(undo(approved).rfind(refused, 0), 0u) << "used up, and a wrong password approves nothing";

  const std::string trail =
      Output("'" + dx_test::ServerProgram() + "' --db '" + server.database() + "' --audit --since 2000-01-01");
  const std::string firstRow = trail.substr(trail.find('\n') + 1);
  EXPECT_NE(firstRow.find("DesfazerDistrato"), std::string::npos) << trail;
  EXPECT_NE(firstRow.find("OPERADOR"), std::string::npos) << trail;
  EXPECT_NE(firstRow.find("SUPERVISOR"), std::string::npos) << "the approver: " << trail;
  EXPECT_NE(firstRow.find("0000000171"), std::string::npos) << trail;
}

}  // namespace
