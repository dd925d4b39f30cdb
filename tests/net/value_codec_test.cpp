#include <gtest/gtest.h>

#include "data/packet.h"
#include "net/value_codec.h"

namespace {

Variant RoundTrip(const Variant& v) { return wire::DecodeValue(wire::EncodeValue(v)); }

DataPacket SamplePacket() {
  DataPacket p({{"CDCLIENTE", FieldType::String, 21},
                {"NRSEQORCAEVE", FieldType::FixedString, 2},
                {"VRATUAREC", FieldType::Float, 0},
                {"DTATUAVENREC", FieldType::DateTime, 0},
                {"QTD", FieldType::Integer, 0},
                {"ATIVO", FieldType::Boolean, 0}});
  p.addRow({"0001", "01", 1234.56, DateTime{45000.5}, 7, true});
  p.addRow({Variant(), "02", -0.01, Variant(), Variant(std::int64_t{-3}), false});
  return p;
}

TEST(ValueCodec, ScalarsKeepKindAndValue) {
  const Variant samples[] = {Variant(), Variant(true), Variant(false), Variant(0), Variant(std::int64_t{-1}),
                             Variant(std::int64_t{1} << 62), Variant(std::int64_t{INT64_MIN}), Variant(0.1),
                             Variant(-1e300), Variant(""), Variant("Orçamento não cadastrado.  "),
                             Variant(DateTime{45123.75}), Variant(DateTime{-1.25})};
  for (const Variant& v : samples) {
    Variant back = RoundTrip(v);
    EXPECT_EQ(back.kind(), v.kind()) << Variant::kindName(v.kind());
    EXPECT_EQ(back, v) << Variant::kindName(v.kind());
  }
}

TEST(ValueCodec, TextWithEmbeddedZeroSurvives) {
  std::string s("a\0b", 3);
  EXPECT_EQ(RoundTrip(Variant(s)).asText(), s);
}

TEST(ValueCodec, PacketKeepsFieldsAndRows) {
  DataPacket p = SamplePacket();
  Variant back = RoundTrip(Variant(p));
  ASSERT_TRUE(back.isPacket());
  EXPECT_EQ(back.asPacket().fields, p.fields);
  EXPECT_EQ(back.asPacket(), p);
  EXPECT_EQ(back.asPacket().at(0, "DTATUAVENREC").kind(), Variant::Kind::Date);
}

TEST(ValueCodec, EmptyPacketKeepsItsFields) {
  DataPacket p({{"A", FieldType::String, 5}});
  Variant back = RoundTrip(Variant(p));
  EXPECT_EQ(back.asPacket().fields, p.fields);
  EXPECT_EQ(back.asPacket().rowCount(), 0u);
}

TEST(ValueCodec, NestedArraysOfPacketsAndDates) {
  Variant v = MakeArray({Variant(SamplePacket()), 12, MakeArray({DateTime{1.5}, MakeArray({}), Variant(SamplePacket())}),
                         Variant(DataPacket())});
  Variant back = RoundTrip(v);
  EXPECT_EQ(back, v);
  EXPECT_TRUE(back[2][2].isPacket());
  EXPECT_EQ(back[2][0].kind(), Variant::Kind::Date);
}

TEST(ValueCodec, RejectsBytesThatAreNoValue) {
  const std::string bad[] = {
      "",                                   // nothing
      std::string("\x92\x01", 2),           // array of 2 with one element
      std::string("\xc4\x01\x00", 3),       // binary
      std::string("\xd4\x07\x00", 3),       // unknown ext type
      std::string("\xd4\x01\x00", 3),       // date ext of wrong size
      std::string("\x01\x02", 2),           // trailing bytes
      std::string("\xdd\xff\xff\xff\xff", 5),  // array claiming 4 billion elements
      std::string("\xcf\xff\xff\xff\xff\xff\xff\xff\xff", 9),  // integer beyond int64
      std::string("\x81\xa3" "abc\x01", 6),  // map that is no packet
  };
  for (const std::string& b : bad) EXPECT_THROW(wire::DecodeValue(b), wire::ProtocolError) << b.size();
}

TEST(ValueCodec, RejectsMalformedPackets) {
  msgpack::sbuffer buf;
  wire::Packer pk(buf);
  auto start = [&](std::uint32_t fields) {
    buf.clear();
    pk.pack_map(2);
    pk.pack("fields");
    pk.pack_array(fields);
  };
  // A row narrower than the fields.
  start(2);
  for (const char* n : {"A", "B"}) {
    pk.pack_array(3);
    pk.pack(n);
    pk.pack("string");
    pk.pack(5);
  }
  pk.pack("rows");
  pk.pack_array(1);
  pk.pack_array(1);
  pk.pack("x");
  EXPECT_THROW(wire::DecodeValue({buf.data(), buf.size()}), wire::ProtocolError);

  // An unknown field type.
  start(1);
  pk.pack_array(3);
  pk.pack("A");
  pk.pack("blob");
  pk.pack(0);
  pk.pack("rows");
  pk.pack_array(0);
  EXPECT_THROW(wire::DecodeValue({buf.data(), buf.size()}), wire::ProtocolError);

  // A negative size.
  start(1);
  pk.pack_array(3);
  pk.pack("A");
  pk.pack("string");
  pk.pack(-4);
  pk.pack("rows");
  pk.pack_array(0);
  EXPECT_THROW(wire::DecodeValue({buf.data(), buf.size()}), wire::ProtocolError);
}

// A packet's map written by hand: `body` packs its two pairs.
template <class Body>
std::string PacketBytes(Body body) {
  msgpack::sbuffer buf;
  wire::Packer pk(buf);
  pk.pack_map(2);
  body(pk);
  return std::string(buf.data(), buf.size());
}

void OneTextField(wire::Packer& pk) {
  pk.pack("fields");
  pk.pack_array(1);
  pk.pack_array(3);
  pk.pack("A");
  pk.pack("string");
  pk.pack(5);
}

TEST(ValueCodec, RowsMayComeBeforeTheFieldsAndHoldAnyValue) {
  const std::string bytes = PacketBytes([](wire::Packer& pk) {
    pk.pack("rows");
    pk.pack_array(3);
    pk.pack_array(1);
    pk.pack("x");
    pk.pack_array(1);
    pk.pack_nil();
    pk.pack_array(1);
    pk.pack_array(2);  // an array in a cell is a value like any other
    pk.pack(1);
    pk.pack("y");
    OneTextField(pk);
  });
  const Variant v = wire::DecodeValue(bytes);
  ASSERT_TRUE(v.isPacket());
  const DataPacket& p = v.asPacket();
  ASSERT_EQ(p.rowCount(), 3u);
  EXPECT_EQ(p.rows[0][0], Variant("x"));
  EXPECT_TRUE(p.rows[1][0].isNull());
  EXPECT_EQ(p.rows[2][0], MakeArray({1, "y"}));
  EXPECT_EQ(RoundTrip(v), v);
}

TEST(ValueCodec, RejectsRowsThatDoNotFitTheFields) {
  using Rows = void (*)(wire::Packer&);
  const std::pair<const char*, Rows> cases[] = {
      {"second row wider", [](wire::Packer& pk) {
         pk.pack_array(2);
         pk.pack_array(1);
         pk.pack("x");
         pk.pack_array(2);
         pk.pack("x");
         pk.pack("y");
       }},
      {"second row narrower", [](wire::Packer& pk) {
         pk.pack_array(2);
         pk.pack_array(1);
         pk.pack("x");
         pk.pack_array(0);
       }},
      {"every row wider than the fields", [](wire::Packer& pk) {
         pk.pack_array(1);
         pk.pack_array(2);
         pk.pack("x");
         pk.pack("y");
       }},
      {"a row that is no list", [](wire::Packer& pk) {
         pk.pack_array(1);
         pk.pack("x");
       }},
      {"a row that is a map", [](wire::Packer& pk) {
         pk.pack_array(1);
         pk.pack_map(0);
       }},
      {"rows that are no list", [](wire::Packer& pk) { pk.pack_nil(); }},
  };
  for (const auto& [name, rows] : cases) {
    const std::string bytes = PacketBytes([rows = rows](wire::Packer& pk) {
      OneTextField(pk);
      pk.pack("rows");
      rows(pk);
    });
    EXPECT_THROW(wire::DecodeValue(bytes), wire::ProtocolError) << name;
  }
  // The last "rows" counts, as it always did: a list followed by a null is refused.
  msgpack::sbuffer buf;
  wire::Packer pk(buf);
  pk.pack_map(3);
  OneTextField(pk);
  pk.pack("rows");
  pk.pack_array(0);
  pk.pack("rows");
  pk.pack_nil();
  EXPECT_THROW(wire::DecodeValue({buf.data(), buf.size()}), wire::ProtocolError);
}

TEST(ValueCodec, DeepNestingIsRefusedNotOverflowed) {
  std::string deep(100000, '\x91');
  deep += '\xc0';
  EXPECT_THROW(wire::DecodeValue(deep), wire::ProtocolError);
}

}  // namespace
