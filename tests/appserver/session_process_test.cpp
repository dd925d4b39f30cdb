// The real server program on the network: a connection logs in before any
// method, calls run as the operator logged in, TLS when the server has a
// certificate, several calls of dxr10900-call on one connection, and a stop
// that still answers the write in flight.

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "data/exceptions.h"
#include "data/packet.h"
#include "net/net_connection.h"
#include "test_certificate.h"
#include "test_server.h"
#include "variant_json.h"

namespace {

using dx_test::DemoServer;

void Point(TNetConnection& c, const DemoServer& server, bool logIn = true) {
  c.SetHost("127.0.0.1");
  c.SetPort(server.port());
  c.SetTimeoutMs(30000);
  if (logIn) c.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
}

// The message a call or its connect ends with; "" when it succeeded.
std::string Failure(TNetConnection& c, const std::string& method, std::vector<Variant> args) {
  try {
    c.Call(method, args);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

TEST(SessionProcessTest, ACallerLogsInBeforeAnythingAndCallsAsItsOperator) {
  DemoServer server;
  TNetConnection anonymous;
  Point(anonymous, server, false);
  EXPECT_EQ(Failure(anonymous, "GetVdOrca", {"0001", "0000000101"}),
            "Conexão sem login: entre com operador e senha antes de chamar GetVdOrca.");

  TNetConnection wrong;
  Point(wrong, server, false);
  wrong.SetLogin("SUPERVISOR", "errada");
  const std::string refused = Failure(wrong, "GetVdOrca", {"0001", "0000000101"});
  EXPECT_NE(refused.find("Login recusado"), std::string::npos) << refused;
  EXPECT_NE(refused.find("Operador ou senha inválidos."), std::string::npos) << refused;
  EXPECT_FALSE(wrong.Connected());

  TNetConnection supervisor;
  Point(supervisor, server);
  EXPECT_EQ(Failure(supervisor, "GetVdOrca", {"0001", "0000000101"}), "");
  // The review of budget 104 as another operator is refused before it is read.
  EXPECT_EQ(Failure(supervisor, "ConfValTodosCont",
                    {"0001", "104", "GERENTE", "01", Variant(DataPacket()), Variant(0.0), "N"}),
            "O operador informado (GERENTE) difere do operador desta conexão (SUPERVISOR). Operação bloqueada.");
  EXPECT_EQ(Failure(supervisor, "ConfValTodosCont",
                    {"0001", "104", "SUPERVISOR", "01", Variant(DataPacket()), Variant(0.0), "N"}),
            "");
  EXPECT_EQ(server.stop(), 0);
}

TEST(SessionProcessTest, TlsRoundTripAndAPlainClientRefused) {
  dx_test::TestCertificate certificate;
  dx_test::DemoOptions options;
  options.serveArgs = {"--tls-cert", certificate.cert(), "--tls-key", certificate.key()};
  DemoServer server(options);
  TNetConnection secure;
  Point(secure, server);
  secure.SetTls(true);
  secure.SetCaFile(certificate.cert());
  Variant found = secure.AppServer("GetVdOrca", {"0001", "0000000101"});
  ASSERT_TRUE(found[0].asBool());
  EXPECT_EQ(found[1].asPacket().rowCount(), 2u);

  TNetConnection plain;
  Point(plain, server);
  plain.SetConnectTimeoutMs(5000);
  const std::string refused = Failure(plain, "GetVdOrca", {"0001", "0000000101"});
  EXPECT_NE(refused.find("Não foi possível conectar"), std::string::npos) << refused;
  // The server goes on serving its TLS clients.
  EXPECT_TRUE(secure.AppServer("GetPesqOrca", {"0001"})[0].asBool());
  EXPECT_EQ(server.stop(), 0);
}

// Budget 104's parties priced for a total rescission and put under review on
// `c`: the working set as stored.
DataPacket OpenReview(TNetConnection& c) {
  Variant priced = c.AppServer("ConfValTodosCont", {"0001", "104", "SUPERVISOR", "01", Variant(DataPacket()),
                                                    Variant(0.0), "N"});
  std::vector<Variant> args{priced[1], "0001", "104"};
  return c.Call("InsContratDistrato", args)[1].asPacket();
}

// The party with the largest negotiated value: one that can be lowered.
std::size_t Richest(const DataPacket& parties) {
  std::size_t best = 0;
  for (std::size_t r = 1; r < parties.rowCount(); ++r)
    if (parties.at(r, "VRORIGREC").asDouble() > parties.at(best, "VRORIGREC").asDouble()) best = r;
  return best;
}

// The working set with that party's negotiated value lowered by `by`.
DataPacket LoweredParty(DataPacket parties, double by) {
  const auto field = static_cast<std::size_t>(parties.fieldIndex("VRORIGREC"));
  Variant& value = parties.rows.at(Richest(parties))[field];
  value = Variant(value.asDouble() - by);
  return parties;
}

DataPacket EmptyPlan() {
  return DataPacket({{"DTVENCIMENTO", FieldType::DateTime, 0}, {"CDFILIAL", FieldType::String, 4},
                     {"NRORCAEVENTO", FieldType::String, 10}, {"CDCLIENTE", FieldType::String, 21},
                     {"VRPARCELA", FieldType::Float, 0}});
}

std::string ShellQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

TEST(SessionProcessTest, TheCallToolMakesTheCallsOfItsInputOnOneConnection) {
  DemoServer server;
  TNetConnection reviewer;
  Point(reviewer, server);
  const DataPacket stored = OpenReview(reviewer);
  ASSERT_GT(stored.rowCount(), 0u);

  // The confirmation is accepted only on a connection that read the working
  // set, so it passes only when both lines travel on one connection.
  const std::string input = "/tmp/dxr10900-calls-" + std::to_string(getpid()) + ".txt";
  {
    FILE* f = std::fopen(input.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "# read, then confirm on the same connection\n");
    std::fprintf(f, "GetContratDistrato 0001 104\n\n");
    std::fprintf(f, "Distrato 0001 0000000101 01 1 GERENTE 1001 0 \"\" 0 0\n");
    std::fprintf(f, "SetConfirmar %s %s 0001 104\n",
                 ShellQuoted(VariantToJson(Variant(LoweredParty(stored, 1.0)))).c_str(),
                 ShellQuoted(VariantToJson(Variant(EmptyPlan()))).c_str());
    std::fclose(f);
  }
  const std::string command = std::string("DX_PASSWORD=DISTRATO ") + DXR10900_CALL + " --server " +
                              server.address() + " --operator SUPERVISOR --stdin <" + input + " 2>&1";
  FILE* p = popen(command.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int status = pclose(p);
  std::remove(input.c_str());

  // Three answers, one per call, in order; the refused one in the middle.
  std::vector<std::string> lines;
  for (std::size_t at = 0, nl; (nl = out.find('\n', at)) != std::string::npos; at = nl + 1)
    lines.push_back(out.substr(at, nl - at));
  ASSERT_EQ(lines.size(), 3u) << out;
  EXPECT_EQ(lines[0].rfind("{\"fields\":", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "O operador informado (GERENTE) difere do operador desta conexão (SUPERVISOR). Operação bloqueada.");
  EXPECT_EQ(lines[2].rfind("{\"fields\":", 0), 0u) << lines[2];
  EXPECT_EQ(WEXITSTATUS(status), 1);  // one call was refused

  // The connection that read before the tool's change must read again.
  EXPECT_NE(Failure(reviewer, "SetConfirmar", {Variant(LoweredParty(stored, 2.0)), Variant(EmptyPlan()), "0001", "104"})
                .find("foram alterados por outro operador"),
            std::string::npos);
  EXPECT_EQ(server.stop(), 0);
}

TEST(SessionProcessTest, AStopDuringALongWriteStillAnswersItAndTheChangeIsKept) {
  DemoServer server;
  TNetConnection writer;
  Point(writer, server);
  const DataPacket stored = OpenReview(writer);
  const DataPacket lowered = LoweredParty(stored, 10.0);
  const std::size_t row = Richest(stored);
  ASSERT_GT(stored.at(row, "VRORIGREC").asDouble(), 10.0);
  const double expected = lowered.at(row, "VRORIGREC").asDouble();

  // Another program holds the database's write lock: the server's write
  // waits for it, a long write as far as the stop is concerned.
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(server.database().c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

  std::string outcome = "(sem resposta)";
  std::thread call([&] {
    outcome = Failure(writer, "SetConfirmar", {Variant(lowered), Variant(EmptyPlan()), "0001", "104"});
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ASSERT_EQ(kill(server.pid(), SIGTERM), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
  call.join();
  sqlite3_close(holder);

  EXPECT_EQ(outcome, "") << "the client was not told of a change the server made";
  EXPECT_EQ(server.stop(), 0);

  sqlite3* check = nullptr;
  ASSERT_EQ(sqlite3_open(server.database().c_str(), &check), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(check,
                               "SELECT VRORIGREC FROM CONTRATDISTRATO WHERE CDFILIAL = '0001'"
                               " AND NRORCAEVENTO = '0000000104' AND CDCLIENTE = ?1",
                               -1, &st, nullptr),
            SQLITE_OK);
  const std::string client = stored.at(row, "CDCLIENTE").asText();
  sqlite3_bind_text(st, 1, client.c_str(), -1, SQLITE_TRANSIENT);
  ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int64(st, 0), static_cast<sqlite3_int64>(expected * 100 + 0.5));  // cents
  sqlite3_finalize(st);
  sqlite3_close(check);
}

}  // namespace
