#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

#include "net_fixtures.h"
#include "test_handler.h"

namespace {

struct ToolRun {
  int status = -1;
  std::string out;
};

// Runs dxr10900-call with `args` (already shell-quoted); stderr is discarded.
ToolRun Call(const std::string& args) {
  std::string cmd = std::string(DXR10900_CALL) + " " + args + " 2>/dev/null";
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
