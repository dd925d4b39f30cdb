#include <gtest/gtest.h>

#include "data/packet.h"
#include "net/wire_codec.h"

namespace {

TEST(FrameLength, BigEndianRoundTrip) {
  char h[4];
  for (std::uint32_t n : {0u, 1u, 255u, 256u, 0x01020304u, 0xFFFFFFFFu}) {
    wire::PutFrameLength(h, n);
    EXPECT_EQ(wire::FrameLength(h), n);
  }
  wire::PutFrameLength(h, 0x01020304u);
  EXPECT_EQ(h[0], 1);
  EXPECT_EQ(h[3], 4);
}

TEST(Messages, HelloAndReplyRoundTrip) {
  EXPECT_EQ(wire::DecodeHello(wire::EncodeHello({"DXR10900.RDMDISTRATO"})).serverName, "DXR10900.RDMDISTRATO");
  wire::HelloReply r = wire::DecodeHelloReply(wire::EncodeHelloReply({false, "Servidor desconhecido: X"}));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Servidor desconhecido: X");
}

TEST(Messages, RequestRoundTrip) {
  DataPacket p({{"A", FieldType::Integer, 0}});
  p.addRow({1});
  wire::Request in{42, "GetContas", {"0001", Variant(p), MakeArray({1, DateTime{2.0}}), Variant()}};
  wire::Request out = wire::DecodeRequest(wire::EncodeRequest(in));
  EXPECT_EQ(out.id, 42u);
  EXPECT_EQ(out.method, "GetContas");
  EXPECT_EQ(out.args, in.args);
}

TEST(Messages, SuccessAndRefusalResponsesRoundTrip) {
  wire::Response ok;
  ok.id = 7;
  ok.ok = true;
  ok.result = MakeArray({true, "x"});
  ok.updates.emplace_back(1, 2.5);
  ok.updates.emplace_back(3, "S");
  wire::Response back = wire::DecodeResponse(wire::EncodeResponse(ok));
  EXPECT_TRUE(back.ok);
  EXPECT_EQ(back.id, 7u);
  EXPECT_EQ(back.result, ok.result);
  ASSERT_EQ(back.updates.size(), 2u);
  EXPECT_EQ(back.updates[1].first, 3u);
  EXPECT_EQ(back.updates[1].second, Variant("S"));

  wire::Response refused;
  refused.id = 8;
  refused.error = "N_PARAM_TPCTREC|V";
  back = wire::DecodeResponse(wire::EncodeResponse(refused));
  EXPECT_FALSE(back.ok);
  EXPECT_EQ(back.error, "N_PARAM_TPCTREC|V");
}

TEST(Messages, OneMessageIsNotMistakenForAnother) {
  std::string hello = wire::EncodeHello({"X"});
  EXPECT_THROW(wire::DecodeRequest(hello), wire::ProtocolError);
  EXPECT_THROW(wire::DecodeResponse(hello), wire::ProtocolError);
  EXPECT_THROW(wire::DecodeHelloReply(hello), wire::ProtocolError);
  EXPECT_THROW(wire::DecodeHello(wire::EncodeRequest({1, "M", {}})), wire::ProtocolError);
}

TEST(Messages, RequestWithReadableIdButBadArgumentsNamesTheId) {
  msgpack::sbuffer buf;
  wire::Packer pk(buf);
  pk.pack_array(4);
  pk.pack(2);  // request
  pk.pack(99);
  pk.pack("Metodo");
  pk.pack("not a list");
  try {
    wire::DecodeRequest({buf.data(), buf.size()});
    FAIL() << "accepted";
  } catch (const wire::BadRequest& e) {
    EXPECT_EQ(e.id, 99u);
  }
}

TEST(Messages, GarbageIsAProtocolError) {
  for (std::string g : {std::string("hello world"), std::string("\x93\x03\x01", 3), std::string("\x94\x03\x01\xc3", 4)})
    EXPECT_THROW(wire::DecodeResponse(g), wire::ProtocolError);
}

// The request key is the optional fifth element: sent only when set, read
// back as sent, and refused (with the call's id, so the call is answered)
// when it is not a short text.
TEST(Messages, TheRequestKeyTravelsAsTheFifthElement) {
  EXPECT_EQ(wire::EncodeRequest({1, "Echo", {}}).front(), '\x94');
  const wire::Request keyed = wire::DecodeRequest(wire::EncodeRequest({7, "Distrato", {Variant(1)}, "acao-1"}));
  EXPECT_EQ(keyed.key, "acao-1");
  EXPECT_EQ(keyed.args, std::vector<Variant>{Variant(1)});
  for (const Variant& badKey : {Variant(""), Variant(std::string(wire::kMaxRequestKeyBytes + 1, 'k')), Variant(12)}) {
    const std::string body = wire::EncodeValue(MakeArray({Variant(2), Variant(9), Variant("Distrato"), MakeArray({}), badKey}));
    try {
      wire::DecodeRequest(body);
      ADD_FAILURE() << "accepted a key of kind " << Variant::kindName(badKey.kind());
    } catch (const wire::BadRequest& e) {
      EXPECT_EQ(e.id, 9u);
    }
  }
}

TEST(Messages, TheMethodIsReadFromTheFirstBytesAlone) {
  EXPECT_EQ(wire::PeekMethod(wire::EncodeRequest({1, "Login", {"SUPERVISOR", "x"}})), "Login");
  EXPECT_EQ(wire::PeekMethod(wire::EncodeRequest({70000, std::string(40, 'm'), {}})), std::string(40, 'm'));
  EXPECT_EQ(wire::PeekMethod(wire::EncodeRequest({std::uint64_t(1) << 40, "GetVdOrca", {}})), "GetVdOrca");
  EXPECT_EQ(wire::PeekMethod(wire::EncodeRequest({2, "Distrato", {}, "chave"})), "Distrato");
  // The arguments are not read: a body cut after the method still names it.
  const std::string whole = wire::EncodeRequest({3, "Echo", {std::string(1000, 'a')}});
  EXPECT_EQ(wire::PeekMethod(std::string_view(whole).substr(0, 10)), "Echo");
  for (const std::string& notARequest :
       {wire::EncodeHello({"DXR10900.RDMDISTRATO"}), std::string(), std::string("\x94\x02\x01\xa9Log", 7),
        std::string("\x94\x02\xff\xa5Login", 9), wire::EncodeResponse({1, true, Variant(), "", {}})})
    EXPECT_EQ(wire::PeekMethod(notARequest), "") << notARequest.size();
}

TEST(ChangedArgs, ReportsOnlyWhatTheHandlerChanged) {
  DataPacket p({{"A", FieldType::String, 1}});
  std::vector<Variant> before{"a", 1, Variant(p), 2.0};
  std::vector<Variant> after = before;
  after[1] = 5;
  after[3] = 2.0;
  auto changes = wire::ChangedArgs(before, after);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].first, 1u);
  EXPECT_EQ(changes[0].second, Variant(5));
  after[1] = Variant("1");  // same text, different kind
  EXPECT_EQ(wire::ChangedArgs(before, after).size(), 1u);
}

}  // namespace
