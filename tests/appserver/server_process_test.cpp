// The real dxr10900-server program: demo database, serving over TCP, several
// clients, a client that sends garbage, and a clean stop.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "data/exceptions.h"
#include "data/packet.h"
#include "net/net_connection.h"
#include "storage/database.h"
#include "test_server.h"
#include "test_support.h"
#include "version3_database.h"

namespace {

int RunTool(const std::string& args) {
  int status = std::system((dx_test::ServerProgram() + " " + args + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using dx_test::ServerProcess;

void ConnectTo(TNetConnection& c, int port) {
  c.SetHost("127.0.0.1");
  c.SetPort(port);
  c.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
  c.SetTimeoutMs(30000);
}

std::string ErrorOf(TNetConnection& c, const std::string& method, std::vector<Variant> args) {
  try {
    c.Call(method, args);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(sem erro)";
}

class ServingTheDemo : public ::testing::TestWithParam<Backend> {};
INSTANTIATE_TEST_SUITE_P(Backends, ServingTheDemo, AllBackends(), BackendName);

TEST_P(ServingTheDemo, ServesTheDemoDatabaseAndStopsCleanly) {
  ScratchDir dir;
  std::string db = FreshDatabase(GetParam(), dir);
  ASSERT_EQ(RunTool("--db '" + db + "' --init-demo --parties 5"), 0);

  ServerProcess server(db);
  ASSERT_EQ(server.firstLine().rfind("listening on 127.0.0.1:", 0), 0u) << server.firstLine();
  ASSERT_GT(server.port(), 0);

  TNetConnection first, second;
  ConnectTo(first, server.port());
  ConnectTo(second, server.port());

  Variant found = first.AppServer("GetVdOrca", {"0001", "0000000101"});
  ASSERT_TRUE(found[0].asBool());
  EXPECT_EQ(found[1].asPacket().rowCount(), 2u);
  Variant bulk = second.AppServer("GetContratante", {"0001", demo::kBulkBudget});
  EXPECT_EQ(bulk[1].asPacket().rowCount(), 5u);

  // Refused calls come back as messages and the connection goes on.
  EXPECT_EQ(ErrorOf(first, "GetNada", {}), "Método desconhecido: GetNada");
  EXPECT_EQ(ErrorOf(first, "GetVdOrca", {"0001"}), "GetVdOrca espera 2 argumentos, recebeu 1.");
  Variant array = first.AppServer("GetExisContOrca", {"0001", "0000000101", "01", "", "1001"});
  EXPECT_EQ(array[1].asArray().size(), 5u);
  // Packets with dates and numbers, inside an array, cross the wire intact.
  std::vector<Variant> args{"01", "0000000101", "01", "1001", "1", "N", "ORCAMENTO", "N", ""};
  Variant remote = first.Call("GetContas", args);
  AppServer local(db);
  std::vector<Variant> same = args;
  Variant expected = local.call("GetContas", same);
  ASSERT_EQ(remote[1].asArray().size(), 3u);
  EXPECT_EQ(remote[1][1].asInt(), expected[1].asInt());
  for (std::size_t k : {0u, 2u}) {
    const DataPacket& got = remote[1][k].asPacket();
    const DataPacket& want = expected[k].asPacket();
    EXPECT_EQ(got.fields, want.fields);
    ASSERT_EQ(got.rowCount(), want.rowCount());
    for (std::size_t r = 0; r < got.rowCount(); ++r)
      for (std::size_t f = 0; f < got.fields.size(); ++f) {
        // The wire may carry a whole float as an integer; the field type says what it is.
        if (got.fields[f].type == FieldType::Float)
          EXPECT_DOUBLE_EQ(got.rows[r][f].asDouble(), want.rows[r][f].asDouble()) << got.fields[f].name;
        else
          EXPECT_EQ(got.rows[r][f], want.rows[r][f]) << got.fields[f].name;
      }
  }

  // A client that sends garbage is dropped without disturbing the others.
  int raw = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(server.port()));
  inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
  ASSERT_EQ(connect(raw, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  const char garbage[] = "\x00\x00\x00\x05\xc1\xc1\xc1\xc1\xc1GET / HTTP/1.0\r\n\r\n";
  ASSERT_GT(send(raw, garbage, sizeof garbage - 1, 0), 0);
  Variant still = second.AppServer("GetPesqOrca", {"0002"});
  EXPECT_EQ(still[1].asPacket().rowCount(), 1u);
  close(raw);

  EXPECT_EQ(server.stop(SIGTERM), 0);
}

TEST(ServerProcessTest, ADatabaseOfThePreviousVersionServesTheSameAmountsOverTheWire) {
  ScratchDir dir;
  std::string db = dir.file("v3.db");
  WriteVersion3(db);
  RegisterDemoSupervisor(db);
  ServerProcess server(db);
  server.requireListening();
  TNetConnection c;
  ConnectTo(c, server.port());
  Variant answer = c.AppServer("GetContratante", {"0001", "0000000101"});
  const DataPacket& parties = answer[1].asPacket();
  ASSERT_EQ(parties.rowCount(), 2u);
  for (std::size_t i = 0; i < parties.rowCount(); ++i)
    EXPECT_EQ(parties.at(i, "VRRECECONTOREV").asDouble(),
              parties.at(i, "CDCLIENTE").asText() == "1001" ? 1234567.01 : 0.30);
  Variant recorded =
      c.AppServer("ConfirmaValores", {"0001", "0000000101", "01", "1", "01", Variant(0.0), "1001", "", "S"});
  EXPECT_EQ(recorded[1][0].asPacket().at(0, "VRMULTA").asDouble(), 2400.00);
  EXPECT_EQ(server.stop(), 0);
}

// A table the server cannot read is a fault, not a refusal: the operator
// reads our text with the incident's number, the log has the database's
// words at ERRO under the same number.
TEST(ServerProcessTest, ADatabaseErrorReachesTheClientAsOurTextAndTheLogAtError) {
  ScratchDir dir;
  std::string db = dir.file("demo.db");
  ASSERT_EQ(RunTool("--db '" + db + "' --init-demo --parties 5"), 0);
  const std::string logFile = dir.file("server.log");
  ServerProcess server(db, "", {}, logFile);
  server.requireListening();
  TNetConnection c;
  ConnectTo(c, server.port());
  ASSERT_GT(c.AppServer("GetPesqOrca", {"0001"})[1].asPacket().rowCount(), 0u);
  Database(db).exec("ALTER TABLE ORCAEVENTO RENAME TO ORCAEVENTO_FORA");

  const std::string error = ErrorOf(c, "GetPesqOrca", {"0001"});
  EXPECT_EQ(error.rfind("Falha interna no servidor de aplicação (ocorrência 1)", 0), 0u) << error;
  EXPECT_EQ(error.find("ORCAEVENTO"), std::string::npos) << error;
  EXPECT_EQ(server.stop(), 0);
  std::ifstream in(logFile);
  const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t at = log.find(" ERRO chamada GetPesqOrca de 127.0.0.1");
  ASSERT_NE(at, std::string::npos) << log;
  const std::string line = log.substr(at, log.find('\n', at) - at);
  EXPECT_NE(line.find("(ocorrência 1)"), std::string::npos) << line;
  EXPECT_NE(line.find("ORCAEVENTO"), std::string::npos) << line;
  EXPECT_EQ(log.find("recusada"), std::string::npos) << log;
}

TEST(ServerProcessTest, StopsOnInterruptToo) {
  ScratchDir dir;
  std::string db = dir.file("empty.db");
  // A new file gets the schema; its first operator is registered from the
  // command line, the password read from standard input.
  ASSERT_EQ(RunTool("--db " + db + " --add-operator supervisor --name Supervisora --role SUPERVISOR"), 0);
  const std::string password = dir.file("senha.txt");
  std::ofstream(password) << "DISTRATO\n";
  ASSERT_EQ(RunTool("--db " + db + " --set-password SUPERVISOR < " + password), 0);
  EXPECT_EQ(RunTool("--db " + db + " --set-password NINGUEM < " + password), 1);
  EXPECT_EQ(RunTool("--db " + db + " --add-operator X --name Xis --role CHEFE"), 1);
  ServerProcess server(db);  // and serves empty answers
  ASSERT_EQ(server.firstLine().rfind("listening on ", 0), 0u) << server.firstLine();
  TNetConnection c;
  ConnectTo(c, server.port());
  EXPECT_EQ(c.AppServer("GetPesqOrca", {"0001"})[1].asPacket().rowCount(), 0u);
  EXPECT_EQ(server.stop(SIGINT), 0);
}

// Asked for, the usage goes to standard output (status 0); after a mistake,
// to standard error below what is wrong (status 2).
TEST(ServerProcessTest, UsageErrorsExitWithStatusTwo) {
  ScratchDir dir;
  // Nothing at all when nothing is expected.
  const auto Begins = [](const std::string& text, const std::string& start) {
    return start.empty() ? text.empty() : text.rfind(start, 0) == 0;
  };
  const struct {
    std::string args;
    int status;
    std::string out;  // how standard output begins
    std::string err;  // how standard error begins
  } cases[] = {
      {"", 2, "", "Informe o banco de dados com --db ARQUIVO.\nUso:"},
      {"--db x.db --listen 127.0.0.1", 2, "", "Endereço inválido: \"127.0.0.1\" (esperado HOST:PORTA).\nUso:"},
      {"--db x.db --init-demo --parties zero", 2, "", "Número de contratantes: valor inválido \"zero\""},
      {"--db x.db --listen 127.0.0.1:0 --frobnicate", 2, "", "Opção desconhecida: --frobnicate\nUso:"},
      {"--db x.db --listen", 2, "", "Falta o valor de --listen.\nUso:"},
      {"--help", 0, "Uso:\n  dxr10900-server --db ARQUIVO --listen HOST:PORTA", ""},
      {"-h", 0, "Uso:\n", ""},
      {"--version", 0, "dxr10900-server ", ""},
  };
  for (const auto& c : cases) {
    const std::string out = dir.file("out.txt"), err = dir.file("err.txt");
    const int raw = std::system((dx_test::ServerProgram() + " " + c.args + " >" + out + " 2>" + err).c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.args;
    EXPECT_TRUE(Begins(ReadAll(out), c.out)) << c.args << "\n" << ReadAll(out);
    EXPECT_TRUE(Begins(ReadAll(err), c.err)) << c.args << "\n" << ReadAll(err);
  }
}

}  // namespace
