#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "data/exceptions.h"
#include "data/packet.h"
#include "net/net_connection.h"
#include "net/net_wait_hook.h"
#include "net_fixtures.h"
#include "test_handler.h"

namespace {

class NetConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    net.SetServerName("DXR10900.RDMDISTRATO");
    net.SetThrowException(false);
    net.BeforeConnect = [this](TNetConnection& c) {
      ++connects;
      c.SetHost("127.0.0.1");
      c.SetPort(server.port());
    };
  }

  ServedRpc server{TestHandler};
  TNetConnection net;
  int connects = 0;
};

TEST_F(NetConnectionTest, BeforeConnectRunsOnEveryConnect) {
  net.SetConnected(true);
  EXPECT_TRUE(net.Connected());
  net.SetConnected(true);  // already connected: nothing to do
  EXPECT_EQ(connects, 1);
  net.SetConnected(false);
  EXPECT_FALSE(net.Connected());
  net.SetConnected(true);
  EXPECT_EQ(connects, 2);
}

TEST_F(NetConnectionTest, CallConnectsOnDemand) {
  Variant r = net.AppServer("Echo", {"olá"});
  EXPECT_EQ(connects, 1);
  EXPECT_TRUE(net.Connected());
  EXPECT_EQ(r, MakeArray({true, "olá"}));
}

TEST_F(NetConnectionTest, PacketsAndDatesComeBackWhole) {
  DataPacket p({{"DTATUAVENREC", FieldType::DateTime, 0}, {"VRATUAREC", FieldType::Float, 0}});
  p.addRow({DateTime{45000.25}, 10.5});
  Variant payload = MakeArray({Variant(p), 3, DateTime{1.0}});
  EXPECT_EQ(net.AppServer("Echo", {payload})[1], payload);
}

TEST_F(NetConnectionTest, ByReferenceArgumentsComeBackInPlace) {
  std::vector<Variant> args{"0001", "N", 3};
  Variant r = net.Call("MarkSecond", args);
  EXPECT_TRUE(r[0].asBool());
  EXPECT_EQ(args, (std::vector<Variant>{"0001", "S", 3}));
}

TEST_F(NetConnectionTest, RefusalIsReturnedWhenNotThrowing) {
  std::vector<Variant> args{"x", "N"};
  Variant r = net.Call("Refuse", args);
  EXPECT_EQ(r, MakeArray({false, "N_PARAM_TPCTREC|V"}));
  EXPECT_TRUE(net.Connected());  // a refusal is no transport failure
  EXPECT_EQ(net.AppServer("Echo", {1})[1], Variant(1));
}

TEST_F(NetConnectionTest, RefusalThrowsTheServerMessageUnchanged) {
  net.SetThrowException(true);
  try {
    net.AppServer("Refuse");
    FAIL() << "no exception";
  } catch (const ENetError&) {
    FAIL() << "a refusal is not a transport failure";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "N_PARAM_TPCTREC|V");
  }
}

TEST_F(NetConnectionTest, HandlerErrorsReachTheCaller) {
  EXPECT_EQ(net.AppServer("Nope")[1].asText(), "Método desconhecido: Nope");
  Variant wrongKind = net.AppServer("Upper", {MakeArray({1})});
  EXPECT_FALSE(wrongKind[0].asBool());
  EXPECT_FALSE(wrongKind[1].asText().empty());
  EXPECT_EQ(net.AppServer("Crash")[1].asText().rfind("Falha interna no servidor de aplicação (ocorrência ", 0), 0u);
  EXPECT_EQ(net.AppServer("Upper", {"abc"})[1], Variant("ABC"));
}

TEST_F(NetConnectionTest, TimeLimitFiresAndTheNextCallReconnects) {
  net.SetTimeoutMs(150);
  try {
    net.AppServer("Sleep", {1000});
    FAIL() << "no time-out";
  } catch (const ENetError& e) {
    EXPECT_NE(std::string(e.what()).find("não respondeu"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(net.Connected());
  net.SetTimeoutMs(5000);
  EXPECT_EQ(net.AppServer("Echo", {"de volta"})[1], Variant("de volta"));
  EXPECT_EQ(connects, 2);
}

TEST_F(NetConnectionTest, WaitHookRunsWhileACallBlocks) {
  int ticks = 0;
  SetNetWaitHook([&] { ++ticks; });
  Variant r = net.AppServer("Sleep", {300});
  SetNetWaitHook(nullptr);
  EXPECT_EQ(r[1], Variant("acordei"));
  EXPECT_GE(ticks, 2);
}

// The user closing the screen during a long call: the hook disconnects, the
// call ends at once as interrupted, and the next call connects again.
TEST_F(NetConnectionTest, DisconnectingFromTheWaitHookEndsTheCallAtOnce) {
  SetNetWaitHook([&] { net.SetConnected(false); });
  const auto begun = std::chrono::steady_clock::now();
  try {
    net.AppServer("Sleep", {2000});
    FAIL() << "the call outlived its connection";
  } catch (const ENetError& e) {
    EXPECT_NE(std::string(e.what()).find("interrompida"), std::string::npos) << e.what();
  }
  SetNetWaitHook(nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(1));
  EXPECT_FALSE(net.Connected());
  EXPECT_EQ(net.AppServer("Echo", {"de novo"})[1], Variant("de novo"));
  EXPECT_EQ(connects, 2);
}

TEST(NetConnection, ServerThatClosedAnIdleConnectionIsReachedAgain) {
  std::atomic<bool> closed{false};
  ScriptedServer first([&](wire::FrameChannel& ch) {
    ScriptedServer::Greet(ch);
    wire::Request r = wire::DecodeRequest(ch.readFrame(ScriptedServer::Soon()));
    ch.writeFrame(wire::EncodeResponse({r.id, true, Variant("primeiro"), "", {}}), ScriptedServer::Soon());
    ch.close();
    closed = true;
  });
  ServedRpc restarted{TestHandler};
  TNetConnection net;
  int connects = 0;
  net.BeforeConnect = [&](TNetConnection& c) {
    c.SetHost("127.0.0.1");
    c.SetPort(++connects == 1 ? first.port() : restarted.port());
  };
  EXPECT_EQ(net.AppServer("Echo", {1})[1], Variant("primeiro"));
  while (!closed) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let the FIN arrive
  EXPECT_EQ(net.AppServer("Echo", {2})[1], Variant(2));
  EXPECT_EQ(connects, 2);
}

TEST(NetConnection, RefusedConnectionIsANetErrorNamingTheAddress) {
  std::uint16_t freePort;
  {
    asio::io_context io;
    asio::ip::tcp::acceptor a(io, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    freePort = a.local_endpoint().port();
  }
  TNetConnection net;
  net.SetHost("127.0.0.1");
  net.SetPort(freePort);
  try {
    net.SetConnected(true);
    FAIL() << "connected to nobody";
  } catch (const ENetError& e) {
    std::string expected = "Não foi possível conectar ao servidor de aplicação 127.0.0.1:" + std::to_string(freePort);
    EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
  }
  EXPECT_FALSE(net.Connected());
}

TEST(NetConnection, BadPortIsRefusedBeforeConnecting) {
  TNetConnection net;
  net.SetPort(70000);
  EXPECT_THROW(net.SetConnected(true), ENetError);
}

TEST(NetConnection, WrongServerNameIsRefusedWithTheServersMessage) {
  ServedRpc server{TestHandler};
  TNetConnection net;
  net.SetServerName("OUTRO.SERVIDOR");
  net.SetHost("127.0.0.1");
  net.SetPort(server.port());
  try {
    net.SetConnected(true);
    FAIL() << "accepted";
  } catch (const ENetError& e) {
    EXPECT_NE(std::string(e.what()).find("Servidor desconhecido: OUTRO.SERVIDOR"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(net.Connected());
}

TEST(NetConnection, BeforeConnectFailureLeavesItDisconnected) {
  TNetConnection net;
  net.BeforeConnect = [](TNetConnection&) { throw Exception("sem ambiente"); };
  EXPECT_THROW(net.SetConnected(true), Exception);
  EXPECT_FALSE(net.Connected());
}

// Misbehaving servers.

Variant CallScripted(std::function<void(wire::FrameChannel&)> script, int timeoutMs = 2000,
                     std::uint32_t maxFrame = wire::kDefaultMaxFrameBytes) {
  ScriptedServer server(std::move(script));
  TNetConnection net;
  net.SetHost("127.0.0.1");
  net.SetPort(server.port());
  net.SetTimeoutMs(timeoutMs);
  net.SetMaxFrameBytes(maxFrame);
  try {
    Variant r = net.AppServer("Echo", {1});
    return r;
  } catch (...) {
    EXPECT_FALSE(net.Connected());
    throw;
  }
}

std::string ErrorOf(std::function<void(wire::FrameChannel&)> script, int timeoutMs = 2000,
                    std::uint32_t maxFrame = wire::kDefaultMaxFrameBytes) {
  try {
    CallScripted(std::move(script), timeoutMs, maxFrame);
  } catch (const ENetError& e) {
    return e.what();
  }
  return "(no ENetError)";
}

TEST(NetConnectionTransport, DroppedMidCall) {
  std::string e = ErrorOf([](wire::FrameChannel& ch) {
    ScriptedServer::Greet(ch);
    ch.readFrame(ScriptedServer::Soon());
    ch.close();
  });
  EXPECT_NE(e.find("foi interrompida"), std::string::npos) << e;
}

TEST(NetConnectionTransport, GarbledAnswer) {
  std::string e = ErrorOf([](wire::FrameChannel& ch) {
    ScriptedServer::Greet(ch);
    ch.readFrame(ScriptedServer::Soon());
    ch.writeFrame("isto não é msgpack", ScriptedServer::Soon());
  });
  EXPECT_EQ(e, "Resposta inválida do servidor de aplicação.");
}

TEST(NetConnectionTransport, AnswerToAnotherCall) {
  std::string e = ErrorOf([](wire::FrameChannel& ch) {
    ScriptedServer::Greet(ch);
    wire::Request r = wire::DecodeRequest(ch.readFrame(ScriptedServer::Soon()));
    ch.writeFrame(wire::EncodeResponse({r.id + 1, true, Variant(), "", {}}), ScriptedServer::Soon());
  });
  EXPECT_EQ(e, "Resposta inválida do servidor de aplicação.");
}

TEST(NetConnectionTransport, UpdateOfAnArgumentThatWasNotSent) {
  std::string e = ErrorOf([](wire::FrameChannel& ch) {
    ScriptedServer::Greet(ch);
    wire::Request r = wire::DecodeRequest(ch.readFrame(ScriptedServer::Soon()));
    ch.writeFrame(wire::EncodeResponse({r.id, true, Variant(), "", {{5, Variant(1)}}}), ScriptedServer::Soon());
  });
  EXPECT_EQ(e, "Resposta inválida do servidor de aplicação.");
}

TEST(NetConnectionTransport, AnswerOverTheFrameLimit) {
  std::string e = ErrorOf(
      [](wire::FrameChannel& ch) {
        ScriptedServer::Greet(ch);
        wire::Request r = wire::DecodeRequest(ch.readFrame(ScriptedServer::Soon()));
        ch.writeFrame(wire::EncodeResponse({r.id, true, Variant(std::string(4000, 'x')), "", {}}),
                      ScriptedServer::Soon());
      },
      2000, 1024);
  EXPECT_NE(e.find("excede o limite de 1024 bytes"), std::string::npos) << e;
}

TEST(NetConnectionTransport, ServerThatNeverAnswers) {
  std::string e = ErrorOf(
      [](wire::FrameChannel& ch) {
        ScriptedServer::Greet(ch);
        ch.readFrame(ScriptedServer::Soon());
        try {
          ch.readFrame(ScriptedServer::Soon());  // until the client gives up
        } catch (...) {
        }
      },
      200);
  EXPECT_NE(e.find("não respondeu a Echo em 0,2 segundos"), std::string::npos) << e;
}

TEST(NetConnectionTransport, HandshakeNeverAnswered) {
  ScriptedServer server([](wire::FrameChannel& ch) {
    try {
      ch.readFrame(ScriptedServer::Soon());
      ch.readFrame(ScriptedServer::Soon());
    } catch (...) {
    }
  });
  TNetConnection net;
  net.SetHost("127.0.0.1");
  net.SetPort(server.port());
  net.SetConnectTimeoutMs(200);
  EXPECT_THROW(net.SetConnected(true), ENetError);
  EXPECT_FALSE(net.Connected());
}

// Several servers: a call whose server drops it midway is sent again, with
// the same request key, to the next server; an unreachable server is passed
// over; and when none answers, the message says so.

std::uint16_t PortNobodyListensOn() {
  asio::io_context io;
  asio::ip::tcp::acceptor a(io, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
  return a.local_endpoint().port();
}

TEST(NetConnectionFailover, ACallLostMidwayGoesToTheNextServerWithItsKey) {
  std::string keyLost;
  ScriptedServer dying([&](wire::FrameChannel& ch) {
    ScriptedServer::Greet(ch);
    keyLost = wire::DecodeRequest(ch.readFrame(ScriptedServer::Soon())).key;
    ch.close();
  });
  std::vector<std::string> keysServed;
  ServedRpc alive{[&](RpcConnection& connection, const std::string& method, std::vector<Variant>& args) {
    keysServed.push_back(connection.requestKey);
    return TestHandler(method, args);
  }};
  TNetConnection net;
  net.SetServers({{"127.0.0.1", PortNobodyListensOn()}, {"127.0.0.1", dying.port()}, {"127.0.0.1", alive.port()}});
  EXPECT_EQ(net.AppServer("Echo", {"feito"})[1], Variant("feito"));
  EXPECT_EQ(net.Port(), alive.port());
  ASSERT_EQ(keysServed.size(), 1u);
  EXPECT_EQ(keysServed[0], keyLost);
  EXPECT_EQ(keyLost.size(), 32u);
  // The next call is a new action, on the server that answered.
  net.AppServer("Echo", {"outra"});
  ASSERT_EQ(keysServed.size(), 2u);
  EXPECT_NE(keysServed[1], keysServed[0]);
}

TEST(NetConnectionFailover, WhenNoServerAnswersTheMessageSaysSo) {
  const std::uint16_t a = PortNobodyListensOn(), b = PortNobodyListensOn();
  TNetConnection net;
  net.SetServers({{"127.0.0.1", a}, {"127.0.0.1", b}});
  try {
    net.AppServer("Echo", {1});
    FAIL() << "answered by nobody";
  } catch (const ENetError& e) {
    const std::string expected = "Nenhum dos servidores de aplicação (127.0.0.1:" + std::to_string(a) +
                                 ",127.0.0.1:" + std::to_string(b) + ") pôde ser alcançado. Último erro: " +
                                 "Não foi possível conectar ao servidor de aplicação 127.0.0.1:" + std::to_string(b);
    EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
  }
  EXPECT_FALSE(net.Connected());
}

}  // namespace
