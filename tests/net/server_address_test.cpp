// The one reading of "host:port" and of lists of them, for every program and
// the environment.

#include <gtest/gtest.h>

#include "net/server_address.h"

namespace {

TEST(ServerAddress, ListsReadAsWritten) {
  using List = std::vector<ServerAddress>;
  struct Case {
    const char* text;
    std::optional<List> expected;
  } cases[] = {
      {"127.0.0.1:7100", List{{"127.0.0.1", 7100}}},
      {"srv.local:1", List{{"srv.local", 1}}},
      {"[::1]:7001", List{{"::1", 7001}}},
      {"a:7100,b:7101", List{{"a", 7100}, {"b", 7101}}},
      {" a:7100 , [fe80::1]:65535 ", List{{"a", 7100}, {"fe80::1", 65535}}},
      {"", std::nullopt},
      {"localhost", std::nullopt},
      {":7100", std::nullopt},
      {"a:", std::nullopt},
      {"a:0", std::nullopt},
      {"a:70000", std::nullopt},
      {"a:71x", std::nullopt},
      {"a:+71", std::nullopt},
      {"[]:7100", std::nullopt},
      {"a:7100,", std::nullopt},
      {"a:7100,,b:7101", std::nullopt},
      {"a:7100,b", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseServerList(c.text), c.expected) << '"' << c.text << '"';
    if (c.expected) {
      EXPECT_EQ(ParseServerList(FormatServerList(*c.expected)), c.expected) << c.text;
    }
  }
}

TEST(ServerAddress, AListeningAddressMayAskForAnyFreePort) {
  std::string host = "antes";
  int port = -1;
  EXPECT_FALSE(ParseServerAddress("127.0.0.1:0", host, port));
  EXPECT_EQ(host, "antes") << "left alone when refused";
  EXPECT_TRUE(ParseServerAddress("127.0.0.1:0", host, port, 0));
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 0);
}

}  // namespace
