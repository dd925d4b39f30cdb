#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "net/net_connection.h"
#include "net/server_log.h"
#include "net_fixtures.h"
#include "test_handler.h"

namespace {

using wire::FrameChannel;

// A client speaking the wire by hand.
class RawClient {
 public:
  explicit RawClient(std::uint16_t port, std::uint32_t maxFrame = wire::kDefaultMaxFrameBytes) : ch_(maxFrame) {
    ch_.connect("127.0.0.1", port, Soon());
  }
  static wire::Clock::time_point Soon() { return wire::Clock::now() + std::chrono::seconds(5); }
  FrameChannel& channel() { return ch_; }

  wire::HelloReply hello(const std::string& name = "DXR10900.RDMDISTRATO") {
    ch_.writeFrame(wire::EncodeHello({name}), Soon());
    return wire::DecodeHelloReply(ch_.readFrame(Soon()));
  }
  void sendRaw(const std::string& bytes) { asio::write(ch_.socket(), asio::buffer(bytes)); }
  wire::Response call(std::uint64_t id, const std::string& method, std::vector<Variant> args) {
    ch_.writeFrame(wire::EncodeRequest({id, method, std::move(args)}), Soon());
    return wire::DecodeResponse(ch_.readFrame(Soon()));
  }
  // True when the server closed the connection (rather than answering).
  bool closedByServer() {
    try {
      ch_.readFrame(Soon());
      return false;
    } catch (const wire::ChannelError& e) {
      return e.reason == wire::ChannelError::Reason::Closed;
    }
  }

 private:
  FrameChannel ch_;
};

std::string Frame(const std::string& body) {
  char h[4];
  wire::PutFrameLength(h, static_cast<std::uint32_t>(body.size()));
  return std::string(h, 4) + body;
}

TEST(RpcServer, ListenOnPortZeroPicksAPort) {
  ServedRpc server{TestHandler};
  EXPECT_NE(server.port(), 0);
}

TEST(RpcServer, WrongServerNameIsToldThenClosed) {
  ServedRpc server{TestHandler};
  RawClient c(server.port());
  wire::HelloReply r = c.hello("XPTO");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Servidor desconhecido: XPTO");
  EXPECT_TRUE(c.closedByServer());
}

TEST(RpcServer, ServerNameIsMatchedWithoutRegardToCase) {
  ServedRpc server{TestHandler};
  RawClient c(server.port());
  EXPECT_TRUE(c.hello("dxr10900.rdmdistrato").ok);
}

TEST(RpcServer, AnswersCarryTheRequestId) {
  ServedRpc server{TestHandler};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  wire::Response r = c.call(77, "Count", {1, 2, 3});
  EXPECT_EQ(r.id, 77u);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.result, Variant(3));
  EXPECT_TRUE(r.updates.empty());
}

TEST(RpcServer, OnlyChangedArgumentsTravelBack) {
  ServedRpc server{TestHandler};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  wire::Response r = c.call(1, "MarkSecond", {"a", "N", "c"});
  ASSERT_EQ(r.updates.size(), 1u);
  EXPECT_EQ(r.updates[0].first, 1u);
  EXPECT_EQ(r.updates[0].second, Variant("S"));
}

TEST(RpcServer, RequestBeforeHelloIsDropped) {
  ServedRpc server{TestHandler};
  RawClient c(server.port());
  c.channel().writeFrame(wire::EncodeRequest({1, "Echo", {}}), RawClient::Soon());
  EXPECT_TRUE(c.closedByServer());
}

TEST(RpcServer, GarbageBodyClosesTheConnection) {
  ServedRpc server{TestHandler};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  c.sendRaw(Frame("\xc1\xc1 lixo"));
  EXPECT_TRUE(c.closedByServer());
}

TEST(RpcServer, RequestWithBadArgumentsIsAnsweredWithAnError) {
  ServedRpc server{TestHandler};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  msgpack::sbuffer buf;
  wire::Packer pk(buf);
  pk.pack_array(4);
  pk.pack(2);
  pk.pack(5);
  pk.pack("Echo");
  pk.pack(17);  // arguments must be a list
  c.sendRaw(Frame(std::string(buf.data(), buf.size())));
  wire::Response r = wire::DecodeResponse(c.channel().readFrame(RawClient::Soon()));
  EXPECT_EQ(r.id, 5u);
  EXPECT_FALSE(r.ok);
  // The connection stays usable.
  EXPECT_TRUE(c.call(6, "Echo", {"ok"}).ok);
}

// A refusal reaches the client as it stands and is logged as one; anything
// else a handler throws is logged at ERRO with its detail, and the client
// reads only our text with the incident's number.
TEST(RpcServer, RefusalsReachTheClientAndFaultsOnlyTheLog) {
  struct Case {
    const char* method;
    std::vector<Variant> args;
    const char* answerStart;  // of the client's error text
    const char* logged;       // in the log line of the call
    const char* level;
  };
  const Case cases[] = {
      {"Refuse", {}, "N_PARAM_TPCTREC|V", "recusada: N_PARAM_TPCTREC|V", " INFO "},
      {"FailInTheDatabase", {}, "Falha interna no servidor de aplicação (ocorrência ", "no such table: CONTRATANTE",
       " ERRO "},
      {"Upper", {}, "Falha interna no servidor de aplicação (ocorrência ", "chamada Upper de ", " ERRO "},
      {"Crash", {}, "Falha interna no servidor de aplicação (ocorrência ", "falha desconhecida", " ERRO "},
  };
  ServerLog log(ServerLog::Level::Info);
  RpcServerOptions o;
  o.log = &log;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    testing::internal::CaptureStderr();
    std::string error;
    {
      ServedRpc server{TestHandler, o};
      RawClient client(server.port());
      ASSERT_TRUE(client.hello().ok);
      wire::Response r = client.call(1, c.method, c.args);
      EXPECT_FALSE(r.ok);
      error = r.error;
    }
    const std::string logged = testing::internal::GetCapturedStderr();
    EXPECT_EQ(error.rfind(c.answerStart, 0), 0u) << error;
    EXPECT_EQ(error.find("banco"), std::string::npos) << error;
    const std::size_t at = logged.find(c.logged);
    ASSERT_NE(at, std::string::npos) << logged;
    const std::size_t line = logged.rfind('\n', at) + 1;
    EXPECT_NE(logged.substr(line, logged.find('\n', at) - line).find(c.level), std::string::npos) << logged;
  }
}

TEST(RpcServer, LengthOverTheLimitClosesBeforeReadingTheBody) {
  RpcServerOptions o;
  o.maxFrameBytes = 1000;
  ServedRpc server{TestHandler, o};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  c.sendRaw(std::string("\x7f\xff\xff\xff", 4));
  EXPECT_TRUE(c.closedByServer());
}

TEST(RpcServer, AnswerTooBigForAFrameBecomesAnError) {
  RpcServerOptions o;
  o.maxFrameBytes = 1000;
  ServedRpc server{TestHandler, o};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  wire::Response r = c.call(3, "Repeat", {2000});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.id, 3u);
  EXPECT_NE(r.error.find("excede o limite"), std::string::npos) << r.error;
}

TEST(RpcServer, HalfSentFrameIsDroppedAfterTheReadTimeLimit) {
  RpcServerOptions o;
  o.readTimeoutMs = 150;
  ServedRpc server{TestHandler, o};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  std::string frame = Frame(wire::EncodeRequest({1, "Echo", {"x"}}));
  c.sendRaw(frame.substr(0, 2));  // not even the whole length
  EXPECT_TRUE(c.closedByServer());

  RawClient d(server.port());
  ASSERT_TRUE(d.hello().ok);
  d.sendRaw(frame.substr(0, frame.size() - 1));  // all but the last byte
  EXPECT_TRUE(d.closedByServer());
}

// A client calling again the moment it has its answer: whatever shape the
// next request comes in (small, large, in pieces, two at once, invalid), it
// is answered in order, and a half-sent one is still dropped in time.
TEST(RpcServer, CallsInQuickSuccessionAreAnsweredWhateverShapeTheyCome) {
  RpcServerOptions o;
  o.readTimeoutMs = 300;
  ServedRpc server{TestHandler, o};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  const std::string large(200 * 1024, 'x');
  auto request = [](std::uint64_t id, const Variant& v) { return Frame(wire::EncodeRequest({id, "Echo", {v}})); };
  auto answer = [&](std::uint64_t id, const Variant& expected) {
    const wire::Response r = wire::DecodeResponse(c.channel().readFrame(RawClient::Soon()));
    EXPECT_EQ(r.id, id);
    EXPECT_EQ(r.result, expected) << id;
  };
  const struct {
    const char* what;
    std::function<void(std::uint64_t)> step;
  } steps[] = {
      {"small", [&](std::uint64_t id) { c.sendRaw(request(id, "a")); answer(id, "a"); }},
      {"large", [&](std::uint64_t id) { c.sendRaw(request(id, large)); answer(id, large); }},
      {"in two pieces", [&](std::uint64_t id) {
         const std::string frame = request(id, "partes");
         c.sendRaw(frame.substr(0, 3));
         std::this_thread::sleep_for(std::chrono::milliseconds(20));
         c.sendRaw(frame.substr(3));
         answer(id, "partes");
       }},
      {"two at once", [&](std::uint64_t id) {
         c.sendRaw(request(id, "um") + request(id + 1000, "dois"));
         answer(id, "um");
         answer(id + 1000, "dois");
       }},
      {"refused", [&](std::uint64_t id) {
         c.sendRaw(Frame(wire::EncodeRequest({id, "Upper", {}})));
         const wire::Response r = wire::DecodeResponse(c.channel().readFrame(RawClient::Soon()));
         EXPECT_EQ(r.id, id);
         EXPECT_FALSE(r.ok);
       }},
  };
  std::uint64_t id = 1;
  for (int round = 0; round < 3; ++round)
    for (const auto& s : steps) {
      SCOPED_TRACE(s.what);
      s.step(id++);
    }
  const std::string frame = request(id, "meio");
  c.sendRaw(frame.substr(0, frame.size() - 1));
  const auto begun = std::chrono::steady_clock::now();
  EXPECT_TRUE(c.closedByServer());
  EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(2));
}

// A client that sends many requests before reading any answer: the answers
// fill the socket, so requests already read wait on the server side while it
// writes; every one is answered, in order.
TEST(RpcServer, RequestsSentAheadOfTheirAnswersAreAllAnsweredInOrder) {
  ServedRpc server{TestHandler};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  constexpr std::uint64_t kRequests = 200;
  constexpr std::int64_t kAnswerBytes = 100000;
  std::string requests;
  for (std::uint64_t id = 1; id <= kRequests; ++id)
    requests += Frame(wire::EncodeRequest({id, "Repeat", {Variant(kAnswerBytes)}}));
  c.sendRaw(requests);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the answers fill the socket meanwhile
  for (std::uint64_t id = 1; id <= kRequests; ++id) {
    const wire::Response r = wire::DecodeResponse(c.channel().readFrame(RawClient::Soon()));
    ASSERT_EQ(r.id, id);
    ASSERT_EQ(r.result.asText().size(), static_cast<std::size_t>(kAnswerBytes)) << id;
  }
  EXPECT_TRUE(c.call(kRequests + 1, "Echo", {"depois"}).ok);
}

TEST(RpcServer, IdleClientIsNotDropped) {
  RpcServerOptions o;
  o.readTimeoutMs = 100;
  ServedRpc server{TestHandler, o};
  RawClient c(server.port());
  ASSERT_TRUE(c.hello().ok);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(c.call(1, "Echo", {1}).ok);
}

TEST(RpcServer, ClientLeavingMidRequestDoesNotDisturbOthers) {
  ServedRpc server{TestHandler};
  {
    RawClient leaver(server.port());
    ASSERT_TRUE(leaver.hello().ok);
    leaver.channel().writeFrame(wire::EncodeRequest({1, "Sleep", {200}}), RawClient::Soon());
  }  // gone before the answer
  RawClient stayer(server.port());
  ASSERT_TRUE(stayer.hello().ok);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(stayer.call(i, "Echo", {i}).result, Variant(i));
  std::this_thread::sleep_for(std::chrono::milliseconds(250));  // the leaver's answer fails to go out
  EXPECT_EQ(stayer.call(99, "Echo", {"ainda aqui"}).result, Variant("ainda aqui"));
}

TEST(RpcServer, SlowHandlerDoesNotBlockOtherClients) {
  ServedRpc server{TestHandler};
  auto slow = std::async(std::launch::async, [&] {
    TNetConnection net;
    net.SetHost("127.0.0.1");
    net.SetPort(server.port());
    return net.AppServer("Sleep", {400});
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  TNetConnection net;
  net.SetHost("127.0.0.1");
  net.SetPort(server.port());
  EXPECT_EQ(net.AppServer("Echo", {"rápido"})[1], Variant("rápido"));
  EXPECT_EQ(slow.wait_for(std::chrono::seconds(0)), std::future_status::timeout);  // still sleeping
  EXPECT_EQ(slow.get()[1], Variant("acordei"));
}

TEST(RpcServer, ManyClientsAtOnce) {
  ServedRpc server{TestHandler};
  std::vector<std::future<bool>> clients;
  for (int k = 0; k < 8; ++k)
    clients.push_back(std::async(std::launch::async, [&, k] {
      TNetConnection net;
      net.SetHost("127.0.0.1");
      net.SetPort(server.port());
      for (int i = 0; i < 50; ++i)
        if (!(net.AppServer("Echo", {k * 1000 + i})[1] == Variant(k * 1000 + i))) return false;
      return true;
    }));
  for (auto& c : clients) EXPECT_TRUE(c.get());
}

TEST(RpcServer, StopsCleanlyWithClientsConnected) {
  auto server = std::make_unique<ServedRpc>(TestHandler);
  RawClient a(server->port());
  ASSERT_TRUE(a.hello().ok);
  RawClient b(server->port());  // never says hello
  server.reset();               // stop() and join while both are connected
  EXPECT_TRUE(a.closedByServer());
}

TEST(RpcServer, StopBeforeRunAndDestroyWithoutRun) {
  {
    RpcServer s(TestHandler);
    s.listen("127.0.0.1", 0);
  }
  RpcServer s(TestHandler);
  s.listen("127.0.0.1", 0);
  s.stop();
  auto run = std::async(std::launch::async, [&] { s.run(); });
  EXPECT_EQ(run.wait_for(std::chrono::seconds(5)), std::future_status::ready);
}

TEST(RpcServer, EachWorkerIsPreparedOnceBeforeServingAndAFailedPreparationDoesNotStopIt) {
  std::mutex mu;
  std::set<std::thread::id> prepared;
  int preparations = 0;
  RpcServerOptions options;
  options.workerThreads = 3;
  options.prepareWorker = [&] {
    std::lock_guard lock(mu);
    prepared.insert(std::this_thread::get_id());
    if (++preparations == 1) throw std::runtime_error("banco sem resposta");
  };
  ServedRpc server(
      [&](const std::string&, std::vector<Variant>&) {
        std::lock_guard lock(mu);
        return Variant(prepared.count(std::this_thread::get_id()) == 1);
      },
      options);
  TNetConnection net;
  net.SetHost("127.0.0.1");
  net.SetPort(server.port());
  for (int i = 0; i < 6; ++i) EXPECT_EQ(net.AppServer("Qualquer", {})[1], Variant(true)) << "served by a prepared worker";
  std::lock_guard lock(mu);
  EXPECT_EQ(preparations, 3);
  EXPECT_EQ(prepared.size(), 3u) << "one preparation per worker thread";
}

}  // namespace
