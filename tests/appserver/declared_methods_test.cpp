// Every declared remote method against the server that answers it: the
// server serves exactly the declared methods with the declared argument
// kinds, and a declaration travels in its declared order and comes back
// through its by-reference arguments only.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "protocol/distrato_methods.h"
#include "test_support.h"

namespace {

TEST(DeclaredMethodsTest, TheServerServesEveryDeclaredMethodAndNothingElse) {
  const Dispatcher& served = DemoServer::Get().dispatcher();
  std::set<std::string> declared;
  protocol::DistratoMethods::ForEach([&]<class M>() {
    const std::string name(M::kName);
    SCOPED_TRACE(name);
    EXPECT_TRUE(declared.insert(name).second) << "declared twice";
    ASSERT_TRUE(served.has(name)) << "declared but not served";
    std::vector<ArgKind> kinds;
    std::set<std::string_view> argNames;
    for (const protocol::ArgInfo& arg : protocol::Describe<M>()) {
      kinds.push_back(arg.kind);
      EXPECT_FALSE(arg.name.empty());
      EXPECT_TRUE(argNames.insert(arg.name).second) << "argument named twice: " << arg.name;
    }
    EXPECT_EQ(served.kinds(name), kinds);
  });
  const std::vector<std::string> names = served.names();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), declared) << "served but not declared";
}

TEST(DeclaredMethodsTest, EveryDeclaredCallIsAcceptedAsTheServerChecksIt) {
  // Default arguments are wrong for the business, never for the count or kinds.
  const AppServer& app = DemoServer::Get();
  protocol::DistratoMethods::ForEach([&]<class M>() {
    SCOPED_TRACE(std::string(M::kName));
    std::vector<Variant> args = protocol::Encode(M{});
    ASSERT_EQ(args.size(), protocol::ArgCount<M>());
    try {
      app.call(std::string(M::kName), args);
    } catch (const std::exception& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.find(" espera "), std::string::npos) << message;
      EXPECT_EQ(message.find("o argumento"), std::string::npos) << message;
    }
  });
}

TEST(DeclaredMethodsTest, ACallTravelsInDeclaredOrderWithItsKinds) {
  const protocol::ConfirmaValores call{.filial = "0001",
                                       .orcamento = "0000000101",
                                       .NRSEQORCAEVE = "01",
                                       .NRENDCLIORCEVE = "1",
                                       .empresa = "01",
                                       .vrTotalOrca = 1500.5,
                                       .CDCLIENTE = "1001",
                                       .CDCLICONTSUBORE = "",
                                       .modo = "N"};
  const std::vector<Variant> args = protocol::Encode(call);
  ASSERT_EQ(args.size(), 9u);
  EXPECT_EQ(args[0].asText(), "0001");
  EXPECT_EQ(args[4].asText(), "01");
  EXPECT_EQ(args[5].kind(), Variant::Kind::Double);
  EXPECT_DOUBLE_EQ(args[5].asDouble(), 1500.5);
  EXPECT_EQ(args[6].asText(), "1001");
  EXPECT_EQ(args[8].asText(), "N");

  // The server reads what arrives as the declared kind: an integer code as text.
  std::vector<Variant> received = args;
  received[6] = Variant(1001);
  received[5] = Variant("1500,5");
  const protocol::ConfirmaValores decoded = protocol::Decode<protocol::ConfirmaValores>(received);
  EXPECT_EQ(decoded.CDCLIENTE, "1001");
  EXPECT_DOUBLE_EQ(decoded.vrTotalOrca, 1500.5);
  EXPECT_EQ(decoded.modo, "N");
}

TEST(DeclaredMethodsTest, OnlyByReferenceArgumentsComeBack) {
  protocol::InsContratDistrato call{.contratantes = Variant("enviado"), .filial = "0001", .orcamento = "0000000101"};
  std::vector<Variant> wire = protocol::Encode(call);
  protocol::InsContratDistrato onServer = protocol::Decode<protocol::InsContratDistrato>(wire);
  onServer.contratantes = Variant("gravado");
  onServer.filial = "9999";  // by value: the caller's copy is not the server's business
  protocol::WriteBack(onServer, wire);
  EXPECT_EQ(wire[0].asText(), "gravado");
  EXPECT_EQ(wire[1].asText(), "0001");

  wire[2] = Variant("alterado");
  protocol::ReadBack(call, wire);
  EXPECT_EQ(call.contratantes.asText(), "gravado");
  EXPECT_EQ(call.orcamento, "0000000101");
}

// The shapes the methods still to come take: a number and a text by
// reference, a date, and an argument that is a text or a packet.
struct Sample {
  static constexpr std::string_view kName = "Sample";
  std::string filial;
  double valor = 0;
  std::string tipo;
  DateTime data;
  Variant formaPgto;
  static constexpr auto Arguments() {
    return std::tuple{protocol::Arg{"filial", &Sample::filial},
                      protocol::Arg{"valor", &Sample::valor, protocol::Passing::ByRef},
                      protocol::Arg{"tipo", &Sample::tipo, protocol::Passing::ByRef},
                      protocol::Arg{"data", &Sample::data}, protocol::Arg{"formaPgto", &Sample::formaPgto}};
  }
};

TEST(DeclaredMethodsTest, NumbersTextsAndDatesTravelAndComeBackByReference) {
  using protocol::ArgKind;
  std::vector<ArgKind> kinds;
  for (const protocol::ArgInfo& arg : protocol::Describe<Sample>()) kinds.push_back(arg.kind);
  EXPECT_EQ(kinds, (std::vector<ArgKind>{ArgKind::Text, ArgKind::Number, ArgKind::Text, ArgKind::Date, ArgKind::Any}));

  Dispatcher d;
  d.add(DeclaredMethod<Sample>([](Sample& call) {
    call.valor *= 2;
    call.tipo = "C";
    call.filial = "9999";  // by value: stays on the server
    return Variant(call.data.days);
  }));
  Sample call{.filial = "0001", .valor = 10.5, .tipo = "", .data = DateTime{46000}, .formaPgto = Variant("E")};
  std::vector<Variant> wire = protocol::Encode(call);
  EXPECT_DOUBLE_EQ(d.call("Sample", wire).asDouble(), 46000);
  protocol::ReadBack(call, wire);
  EXPECT_DOUBLE_EQ(call.valor, 21.0);
  EXPECT_EQ(call.tipo, "C");
  EXPECT_EQ(call.filial, "0001");
  EXPECT_EQ(call.formaPgto.asText(), "E");
}

}  // namespace
