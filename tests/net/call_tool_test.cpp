#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

#include <fstream>
#include <memory>

#include "net/refusal.h"
#include "call_line.h"
#include "net_fixtures.h"
#include "test_handler.h"

namespace {

struct ToolRun {
  int status = -1;
  std::string out;
};

// Runs dxr10900-call with `args` (already shell-quoted), or the whole
// command line `args` when `whole`; stderr is discarded.
ToolRun Call(const std::string& args, bool whole = false) {
  std::string cmd = (whole ? args : std::string(DXR10900_CALL) + " " + args) + " 2>/dev/null";
  ToolRun r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

class CallToolTest : public ::testing::Test {
 protected:
  std::string server() { return "--server 127.0.0.1:" + std::to_string(rpc.port()); }
  ServedRpc rpc{TestHandler};
};

TEST_F(CallToolTest, PrintsTheResultAsJson) {
  ToolRun r = Call(server() + R"( Echo '[1,"dois",2.5,null,true]')");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "[1,\"dois\",2.5,null,true]\n");
}

TEST_F(CallToolTest, PlainTextArgumentsStayText) {
  ToolRun r = Call(server() + " Upper 0001abc");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "\"0001ABC\"\n");
}

TEST_F(CallToolTest, PacketArgumentTravelsAndPrints) {
  const std::string packet =
      R"({"fields":[{"name":"A","type":"string","size":3},{"name":"D","type":"datetime","size":0}],)"
      R"("rows":[["x","01/02/2024 08:00:00"]]})";
  ToolRun r = Call(server() + " Echo '" + packet + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, packet + "\n");
}

TEST_F(CallToolTest, RefsPrintTheArgumentsAsTheServerLeftThem) {
  ToolRun r = Call(server() + " --refs MarkSecond a N");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "{\"result\":true,\"args\":[\"a\",\"S\"]}\n");
}

TEST_F(CallToolTest, RefusalExitsWithOne) {
  ToolRun r = Call(server() + " Refuse");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
}

TEST_F(CallToolTest, UsageErrorsExitWith64) {
  EXPECT_EQ(Call("").status, 64);
  EXPECT_EQ(Call("Echo 1").status, 64);                      // no server
  EXPECT_EQ(Call("--server 127.0.0.1 Echo").status, 64);     // no port
  EXPECT_EQ(Call(server() + " Echo '{\"a\":1}'").status, 64);  // object that is no packet
}

// A mistake on the command line is told on standard error, above the usage,
// with status 64, and nothing is called.
TEST_F(CallToolTest, TellsWhatIsWrongWithTheCommandLine) {
  const struct {
    std::string args;
    std::string problem;
  } cases[] = {
      {"env -u DX_SERVER " DXR10900_CALL " Echo 1", "falta --server HOST:PORTA."},
      {"DX_SERVER=semporta " DXR10900_CALL " Echo 1",
       "--server deve ser HOST:PORTA (ou HOST:PORTA,HOST:PORTA...): semporta"},
      {DXR10900_CALL " --server 127.0.0.1 Echo", "--server deve ser HOST:PORTA (ou HOST:PORTA,HOST:PORTA...): 127.0.0.1"},
      {DXR10900_CALL " --server", "--server requer um valor."},
      {DXR10900_CALL " " + server() + " --timeout 0 Echo 1", "Tempo limite inválido: 0"},
      {DXR10900_CALL " " + server() + " --timeout=dez Echo 1", "Tempo limite inválido: dez"},
      {DXR10900_CALL " " + server() + " --frobnicate Echo 1", "opção desconhecida: --frobnicate"},
      {DXR10900_CALL " " + server(), "falta o método."},
      {DXR10900_CALL " " + server() + " --stdin Echo 1",
       "com --stdin, as chamadas vêm da entrada padrão, não da linha de comando."},
      {DXR10900_CALL " " + server() + " --ca ca.pem Echo 1", "--ca só vale com --tls."},
  };
  for (const auto& c : cases) {
    ToolRun r = Call("(" + c.args + " 2>&1)", true);
    EXPECT_EQ(r.status, 64) << c.args;
    EXPECT_EQ(r.out.rfind("dxr10900-call: " + c.problem + "\nuso: dxr10900-call", 0), 0u) << c.args << "\n" << r.out;
  }
}

// Options come before the method; from it on every word is an argument, and
// "--" lets a method's name begin with dashes.
TEST_F(CallToolTest, EveryWordAfterTheMethodIsAnArgument) {
  EXPECT_EQ(Call(server() + " Echo --refs").out, "\"--refs\"\n");
  EXPECT_EQ(Call(server() + " Count --refs -3 -- --help").out, "4\n");
  EXPECT_EQ(Call("--server=127.0.0.1:" + std::to_string(rpc.port()) + " --refs --timeout=5000 MarkSecond a N").out,
            "{\"result\":true,\"args\":[\"a\",\"S\"]}\n");
  EXPECT_EQ(Call(server() + " -- --Upper x").status, 1) << "a method of that name is refused by the server";
}

// A server that logs in SUPERVISOR / DISTRATO only, counts the calls of
// each connection ("Seen") and tells who logged in ("Who").
Variant SessionHandler(RpcConnection& c, const std::string& method, std::vector<Variant>& args) {
  struct Session {
    int calls = 0;
    std::string who;
  };
  if (!c.state) c.state = std::make_shared<Session>();
  auto& session = *std::static_pointer_cast<Session>(c.state);
  ++session.calls;
  if (method == "Login") {
    if (args.at(0).asText() != "SUPERVISOR" || args.at(1).asText() != "DISTRATO")
      throw Refusal("Operador ou senha inválidos.");
    session.who = args.at(0).asText();
    return MakeArray({session.who});
  }
  if (method == "Seen") return Variant(static_cast<std::int64_t>(session.calls));
  if (method == "Who") return session.who;
  return TestHandler(method, args);
}

class CallToolSessionTest : public ::testing::Test {
 protected:
  std::string server() { return "--server 127.0.0.1:" + std::to_string(rpc.port()); }
  // Runs the tool with `input` as its standard input.
  ToolRun WithInput(const std::string& args, const std::string& input) {
    const std::string file = ::testing::TempDir() + "/chamadas-" + std::to_string(getpid());
    std::ofstream(file) << input;
    ToolRun r = Call(args + " <" + file);
    std::remove(file.c_str());
    return r;
  }
  ServedRpc rpc{RpcConnectionHandler(SessionHandler)};
};

TEST_F(CallToolSessionTest, ReadsOneCallPerLineOnOneConnection) {
  const std::string lines = "Seen\n# a comment\n\n  Refuse\nUpper 'duas palavras' \"e \\\"aspas\\\"\"\nSeen\n";
  ToolRun r = WithInput("--stdin " + server(), lines);
  EXPECT_EQ(r.out, "1\n\"DUAS PALAVRAS\"\n4\n");  // the refusal goes to standard error
  EXPECT_EQ(r.status, 1);                                // one call was refused
  ToolRun bad = WithInput("--stdin " + server(), "Seen\nUpper 'sem fim\n");
  EXPECT_EQ(bad.status, 64);
  EXPECT_EQ(Call("--stdin " + server() + " Seen </dev/null").status, 64);  // calls come from the input only
}

TEST_F(CallToolSessionTest, LogsInWithTheOperatorAndAPasswordNeverOnTheCommandLine) {
  EXPECT_EQ(Call("DX_PASSWORD=DISTRATO " + std::string(DXR10900_CALL) + " --operator SUPERVISOR " + server() + " Who",
                 true).out,
            "\"SUPERVISOR\"\n");
  EXPECT_EQ(Call("DX_OPERATOR=SUPERVISOR DX_PASSWORD=DISTRATO " + std::string(DXR10900_CALL) + " " + server() + " Who",
                 true).out,
            "\"SUPERVISOR\"\n");
  const std::string file = ::testing::TempDir() + "/senha-" + std::to_string(getpid());
  std::ofstream(file) << "DISTRATO\n";
  EXPECT_EQ(Call("--operator SUPERVISOR --password-file " + file + " " + server() + " Who").out, "\"SUPERVISOR\"\n");
  std::remove(file.c_str());
  // A refused login is a failure to connect; nothing is called.
  ToolRun wrong = Call("DX_PASSWORD=errada " + std::string(DXR10900_CALL) + " --operator SUPERVISOR " + server() +
                           " Who",
                       true);
  EXPECT_EQ(wrong.status, 2);
  EXPECT_EQ(wrong.out, "");
  // Without an operator the connection stays anonymous.
  EXPECT_EQ(Call("env -u DX_OPERATOR " + std::string(DXR10900_CALL) + " " + server() + " Who", true).out, "\"\"\n");
}

// A day typed where the protocol declares a date travels as that date, on
// the command line and on standard input; --help says so.
TEST(CallTool, TypedDaysTravelAsDatesWhereTheMethodDeclaresOne) {
  ServedRpc rpc{[](const std::string&, std::vector<Variant>& args) { return args.at(8); }};
  const std::string server = "--server 127.0.0.1:" + std::to_string(rpc.port());
  const std::string call = " DesfazerDistrato CONTRATANTE 0001 101 01 01 3302 '' OPERADOR ";
  EXPECT_EQ(Call(server + call + "08/12/2026 1").out, "\"08/12/2026 00:00:00\"\n");
  EXPECT_EQ(Call(server + call + "2026-12-08 1").out, "\"08/12/2026 00:00:00\"\n");
  EXPECT_EQ(Call("echo \"DesfazerDistrato CONTRATANTE 0001 101 01 01 3302 '' OPERADOR 08/12/2026 1\" | " +
                     std::string(DXR10900_CALL) + " --stdin " + server,
                 true)
                .out,
            "\"08/12/2026 00:00:00\"\n");
  EXPECT_NE(Call("--help").out.find("dd/mm/aaaa ou aaaa-mm-dd"), std::string::npos);
}

TEST(CallLine, SplitsAsAShellWould) {
  struct Case {
    const char* line;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"", {}},
      {"   # nada", {}},
      {"GetVdOrca 0001 101", {"GetVdOrca", "0001", "101"}},
      {"  M   a\tb  ", {"M", "a", "b"}},
      {"M '{\"fields\":[],\"rows\":[]}'", {"M", "{\"fields\":[],\"rows\":[]}"}},
      {"M \"\" ''", {"M", "", ""}},
      {"M \"a \\\"b\\\" \\\\\"", {"M", "a \"b\" \\"}},
      {"M ab'c d'\"e\"", {"M", "abc de"}},
      {"M # not a comment here", {"M", "#", "not", "a", "comment", "here"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCallLine(c.line), c.words) << c.line;
  EXPECT_THROW(SplitCallLine("M 'aberta"), CallLineError);
  EXPECT_THROW(SplitCallLine("M \"aberta"), CallLineError);
}

TEST(CallTool, HelpAndVersionAnswerOnStandardOutput) {
  ToolRun help = Call("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("uso: dxr10900-call --server HOST:PORTA"), std::string::npos) << help.out;
  ToolRun version = Call("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("dxr10900-call ") + DX_VERSION + "\n");
}

TEST(CallTool, ConnectionFailureExitsWithTwo) {
  std::uint16_t freePort;
  {
    asio::io_context io;
    asio::ip::tcp::acceptor a(io, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    freePort = a.local_endpoint().port();
  }
  EXPECT_EQ(Call("--server 127.0.0.1:" + std::to_string(freePort) + " Echo 1").status, 2);
}

}  // namespace
