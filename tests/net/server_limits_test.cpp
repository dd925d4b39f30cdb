// The server's limits: connection cap, time limits before and after the
// greeting, what a connection may do before it logs in, the count of values a request may hold, and a stop that lets the
// calls in flight answer.

#include <gtest/gtest.h>

#include <future>

#include "net/refusal.h"
#include "net/net_connection.h"
#include "net/value_count.h"
#include "net_fixtures.h"
#include "test_handler.h"

namespace {

using wire::Clock;
using wire::FrameChannel;

Clock::time_point Soon() { return Clock::now() + std::chrono::seconds(5); }

// A connection speaking the wire by hand.
struct Client {
  explicit Client(std::uint16_t port) : ch(wire::kDefaultMaxFrameBytes) { ch.connect("127.0.0.1", port, Soon()); }
  wire::HelloReply hello() {
    ch.writeFrame(wire::EncodeHello({"DXR10900.RDMDISTRATO"}), Soon());
    return wire::DecodeHelloReply(ch.readFrame(Soon()));
  }
  // True when the server closed the connection within `wait`.
  bool closedWithin(std::chrono::milliseconds wait) {
    try {
      ch.readFrame(Clock::now() + wait);
      return false;
    } catch (const wire::ChannelError& e) {
      return e.reason == wire::ChannelError::Reason::Closed;
    }
  }
  FrameChannel ch;
};

TEST(CountValues, CountsEveryValueOfARequest) {
  // The envelope, kind, id, method, argument array and three arguments.
  std::string body = wire::EncodeRequest({7, "Echo", {Variant(1), Variant("texto"), Variant()}});
  EXPECT_EQ(wire::CountValues(body, 100), 8u);
  EXPECT_GT(wire::CountValues(body, 3), 3u);  // stops once past the limit
  // A string's bytes are skipped, not read as values.
  EXPECT_EQ(wire::CountValues(wire::EncodeRequest({7, "Echo", {Variant(std::string(300, '\xc0'))}}), 100), 6u);
  // A body cut short is counted as far as it goes, never past its end.
  EXPECT_LE(wire::CountValues(body.substr(0, body.size() - 3), 100), 8u);
  EXPECT_EQ(wire::CountValues(std::string("\xdb\xff\xff\xff\xff", 5), 100), 1u);
}

TEST(ServerLimits, RequestOfTooManyValuesIsDroppedUndecoded) {
  RpcServerOptions o;
  o.maxValuesPerRequest = 1000;
  ServedRpc server{TestHandler, o};
  Client c(server.port());
  ASSERT_TRUE(c.hello().ok);
  std::vector<Variant> many(999);
  c.ch.writeFrame(wire::EncodeRequest({1, "Count", many}), Soon());
  EXPECT_TRUE(c.closedWithin(std::chrono::seconds(5)));

  Client d(server.port());
  ASSERT_TRUE(d.hello().ok);
  std::vector<Variant> fewer(990);
  d.ch.writeFrame(wire::EncodeRequest({2, "Count", fewer}), Soon());
  EXPECT_EQ(wire::DecodeResponse(d.ch.readFrame(Soon())).result, Variant(std::int64_t(990)));
}

TEST(ServerLimits, ClientBeyondTheCapIsToldAndLaterOnesAreServed) {
  RpcServerOptions o;
  o.maxConnections = 2;
  ServedRpc server{TestHandler, o};
  // Greeted: without logins, a connection holds its place from its hello.
  auto a = std::make_unique<Client>(server.port());
  ASSERT_TRUE(a->hello().ok);
  Client b(server.port());
  ASSERT_TRUE(b.hello().ok);

  TNetConnection third;
  third.SetHost("127.0.0.1");
  third.SetPort(server.port());
  try {
    third.AppServer("Echo", {1});
    ADD_FAILURE() << "a third connection was served";
  } catch (const ENetError& e) {
    EXPECT_NE(std::string(e.what()).find(RpcServer::BusyMessage(2)), std::string::npos) << e.what();
  }

  a.reset();  // a place frees up
  for (int attempt = 0;; ++attempt) {
    try {
      EXPECT_EQ(third.AppServer("Echo", {3})[1], Variant(3));
      break;
    } catch (const ENetError&) {
      ASSERT_LT(attempt, 100) << "the freed place was never given";
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
}

TEST(ServerLimits, SilentConnectionIsClosedAfterTheGreetingTimeLimit) {
  RpcServerOptions o;
  o.greetingTimeoutMs = 150;
  ServedRpc server{TestHandler, o};
  Client silent(server.port());
  EXPECT_TRUE(silent.closedWithin(std::chrono::seconds(5)));
}

TEST(ServerLimits, FrameBeforeTheGreetingIsHeldToTheSmallLimit) {
  RpcServerOptions o;
  o.maxGreetingFrameBytes = 1024;
  ServedRpc server{TestHandler, o};
  Client c(server.port());
  char header[4];
  wire::PutFrameLength(header, 1025);
  asio::write(c.ch.socket(), asio::buffer(header, 4));
  EXPECT_TRUE(c.closedWithin(std::chrono::seconds(5)));

  // Once greeted, the full limit applies.
  Client d(server.port());
  ASSERT_TRUE(d.hello().ok);
  d.ch.writeFrame(wire::EncodeRequest({1, "Echo", {std::string(4000, 'a')}}), Soon());
  EXPECT_EQ(wire::DecodeResponse(d.ch.readFrame(Soon())).result, Variant(std::string(4000, 'a')));
}

// A handler whose connections log in with Login("ok"); any other login
// fails, and a failed login leaves the connection anonymous.
Variant LoginHandler(RpcConnection& connection, const std::string& method, std::vector<Variant>& args) {
  if (method == "Login") {
    connection.loggedIn = !args.empty() && args[0] == Variant("ok");
    if (!args.empty() && args[0] == Variant("lento")) std::this_thread::sleep_for(std::chrono::milliseconds(600));
    if (!connection.loggedIn) throw Refusal("Operador ou senha inválidos.");
    return Variant(true);
  }
  if (!connection.loggedIn) throw Refusal("Conexão sem login.");
  return TestHandler(method, args);
}

RpcServerOptions LoginOptions() {
  RpcServerOptions o;
  o.loginRequired = true;
  return o;
}

bool LogIn(Client& c, const char* password = "ok") {
  c.ch.writeFrame(wire::EncodeRequest({1, "Login", {password}}), Soon());
  return wire::DecodeResponse(c.ch.readFrame(Soon())).ok;
}

// A call that must be answered: the echo of `n`.
bool Echoes(Client& c, int n) {
  c.ch.writeFrame(wire::EncodeRequest({2, "Echo", {n}}), Soon());
  return wire::DecodeResponse(c.ch.readFrame(Soon())).result == Variant(n);
}

TEST(AnonymousLimits, AConnectionThatDoesNotLogInInTimeIsClosed) {
  RpcServerOptions o = LoginOptions();
  o.loginTimeoutMs = 300;
  ServedRpc server{LoginHandler, o};
  Client idle(server.port());
  ASSERT_TRUE(idle.hello().ok);
  EXPECT_TRUE(idle.closedWithin(std::chrono::seconds(5)));

  // Failed logins do not buy time: the limit counts from the hello.
  Client guesser(server.port());
  ASSERT_TRUE(guesser.hello().ok);
  const auto begun = Clock::now();
  bool closed = false;
  while (!closed && Clock::now() - begun < std::chrono::seconds(5)) {
    try {
      EXPECT_FALSE(LogIn(guesser, "errada"));
    } catch (const wire::ChannelError&) {
      closed = true;
    }
  }
  EXPECT_TRUE(closed);
  EXPECT_LT(Clock::now() - begun, std::chrono::seconds(2));

  Client member(server.port());
  ASSERT_TRUE(member.hello().ok);
  ASSERT_TRUE(LogIn(member));
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  EXPECT_TRUE(Echoes(member, 7)) << "a logged-in connection has the idle limit";
}

TEST(AnonymousLimits, FramesStaySmallUntilLogin) {
  RpcServerOptions o = LoginOptions();
  o.maxGreetingFrameBytes = 1024;
  ServedRpc server{LoginHandler, o};
  Client anonymous(server.port());
  ASSERT_TRUE(anonymous.hello().ok);
  anonymous.ch.writeFrame(wire::EncodeRequest({1, "Echo", {std::string(4000, 'a')}}), Soon());
  EXPECT_TRUE(anonymous.closedWithin(std::chrono::seconds(5)));

  Client member(server.port());
  ASSERT_TRUE(member.hello().ok);
  ASSERT_TRUE(LogIn(member));
  member.ch.writeFrame(wire::EncodeRequest({1, "Echo", {std::string(4000, 'a')}}), Soon());
  EXPECT_EQ(wire::DecodeResponse(member.ch.readFrame(Soon())).result, Variant(std::string(4000, 'a')));
}

TEST(AnonymousLimits, AnAddressHoldsFewAnonymousConnectionsAndTheOldestMakesRoom) {
  RpcServerOptions o = LoginOptions();
  o.maxAnonymousPerAddress = 3;
  ServedRpc server{LoginHandler, o};
  std::vector<std::unique_ptr<Client>> held;
  for (int i = 0; i < 3; ++i) {
    held.push_back(std::make_unique<Client>(server.port()));
    ASSERT_TRUE(held.back()->hello().ok);
  }
  Client newcomer(server.port());
  ASSERT_TRUE(newcomer.hello().ok);
  EXPECT_TRUE(held[0]->closedWithin(std::chrono::seconds(5))) << "the oldest made room";
  // The others are still open: they log in.
  ASSERT_TRUE(LogIn(*held[1]));
  ASSERT_TRUE(LogIn(newcomer));
  // Logged-in connections of the address are not counted: two more fit
  // beside held[2] without displacing it.
  Client another(server.port());
  ASSERT_TRUE(another.hello().ok);
  Client yetAnother(server.port());
  ASSERT_TRUE(yetAnother.hello().ok);
  EXPECT_TRUE(LogIn(*held[2]));
  EXPECT_TRUE(Echoes(newcomer, 1));
  EXPECT_TRUE(Echoes(*held[1], 2));
}

TEST(AnonymousLimits, AnonymousConnectionsNeverTakeThePlacesKeptForLoggedInOnes) {
  RpcServerOptions o = LoginOptions();
  o.maxConnections = 6;
  o.reservedForLoggedIn = 2;  // anonymous ones hold at most 4
  ServedRpc server{LoginHandler, o};
  Client member(server.port());
  ASSERT_TRUE(member.hello().ok);
  ASSERT_TRUE(LogIn(member));
  std::vector<std::unique_ptr<Client>> flood;
  for (int i = 0; i < 20; ++i) flood.push_back(std::make_unique<Client>(server.port()));
  // However many came, an operator still gets in and logs in, and the one
  // logged in is served.
  Client operatorClient(server.port());
  ASSERT_TRUE(operatorClient.hello().ok);
  ASSERT_TRUE(LogIn(operatorClient));
  EXPECT_TRUE(Echoes(operatorClient, 3));
  EXPECT_TRUE(Echoes(member, 4));
  std::size_t open = 0;
  for (auto& c : flood) open += c->closedWithin(std::chrono::milliseconds(20)) ? 0 : 1;
  EXPECT_LE(open, 3u) << "of the flood, at most the anonymous places less the newcomer's";
}

TEST(AnonymousLimits, LoginsRunApartFromTheLoggedInClientsCalls) {
  RpcServerOptions o = LoginOptions();
  o.workerThreads = 1;
  o.loginThreads = 1;
  ServedRpc server{LoginHandler, o};
  Client member(server.port());
  ASSERT_TRUE(member.hello().ok);
  ASSERT_TRUE(LogIn(member));
  Client slow(server.port());
  ASSERT_TRUE(slow.hello().ok);
  slow.ch.writeFrame(wire::EncodeRequest({1, "Login", {"lento"}}), Soon());  // holds the login pool 600 ms
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const auto begun = Clock::now();
  EXPECT_TRUE(Echoes(member, 5));
  EXPECT_LT(Clock::now() - begun, std::chrono::milliseconds(300)) << "the worker did not wait for the login";
  EXPECT_FALSE(wire::DecodeResponse(slow.ch.readFrame(Soon())).ok);
}

TEST(ServerLimits, GreetedClientIsClosedAfterTheIdleTimeLimit) {
  RpcServerOptions o;
  o.idleTimeoutMs = 200;
  ServedRpc server{TestHandler, o};
  Client c(server.port());
  ASSERT_TRUE(c.hello().ok);
  c.ch.writeFrame(wire::EncodeRequest({1, "Echo", {1}}), Soon());
  EXPECT_TRUE(wire::DecodeResponse(c.ch.readFrame(Soon())).ok);
  EXPECT_TRUE(c.closedWithin(std::chrono::seconds(5)));
}

TEST(ServerShutdown, CallInFlightIsAnsweredBeforeTheConnectionCloses) {
  auto server = std::make_unique<ServedRpc>(TestHandler);
  Client busy(server->port());
  ASSERT_TRUE(busy.hello().ok);
  Client idle(server->port());
  ASSERT_TRUE(idle.hello().ok);
  busy.ch.writeFrame(wire::EncodeRequest({5, "Sleep", {400}}), Soon());
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the call is running
  auto stopping = std::async(std::launch::async, [&] { server.reset(); });
  EXPECT_TRUE(idle.closedWithin(std::chrono::seconds(5)));  // nothing in flight: closed at once
  wire::Response r = wire::DecodeResponse(busy.ch.readFrame(Soon()));
  EXPECT_EQ(r.id, 5u);
  EXPECT_EQ(r.result, Variant("acordei"));
  EXPECT_TRUE(busy.closedWithin(std::chrono::seconds(5)));
  EXPECT_EQ(stopping.wait_for(std::chrono::seconds(5)), std::future_status::ready);
}

TEST(ServerShutdown, CallOutlivingTheGracePeriodIsCutOff) {
  RpcServerOptions o;
  o.shutdownGraceMs = 100;
  auto server = std::make_unique<ServedRpc>(TestHandler, o);
  Client busy(server->port());
  ASSERT_TRUE(busy.hello().ok);
  busy.ch.writeFrame(wire::EncodeRequest({5, "Sleep", {1500}}), Soon());
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const auto begun = Clock::now();
  auto stopping = std::async(std::launch::async, [&] { server.reset(); });
  EXPECT_TRUE(busy.closedWithin(std::chrono::seconds(1)));
  EXPECT_LT(Clock::now() - begun, std::chrono::milliseconds(1000));
  stopping.get();  // waits for the handler to end, never for its connection
}

}  // namespace
