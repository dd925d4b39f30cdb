// The decoder that reads packets straight into columns: the same values as
// the general decoder for every input, columns for the common shape, clear
// refusals for bytes that are no value, and no large allocation for counts
// the bytes cannot hold. Its own program: it replaces operator new to see the
// largest block any decode asks for.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "data/client_dataset.h"
#include "data/packet.h"
#include "data/record_store.h"
#include "net/column_decoder.h"
#include "net/value_codec.h"
#include "net/wire_codec.h"

namespace {
std::atomic<std::size_t> largestBlock{0};
}  // namespace

void* operator new(std::size_t n) {
  std::size_t seen = largestBlock.load(std::memory_order_relaxed);
  while (n > seen && !largestBlock.compare_exchange_weak(seen, n, std::memory_order_relaxed)) {
  }
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using wire::DecodeValue;
using wire::DecodeValueInColumns;

// Every field type, a row of values and a row of nulls.
DataPacket EveryType() {
  DataPacket p({{"CDCLIENTE", FieldType::String, 21},
                {"NRSEQORCAEVE", FieldType::FixedString, 4},
                {"VRATUAREC", FieldType::Float, 0},
                {"DTATUAVENREC", FieldType::DateTime, 0},
                {"QTD", FieldType::Integer, 0},
                {"ATIVO", FieldType::Boolean, 0}});
  p.addRow({"0001", "01", 1234.56, DateTime{45000.5}, 7, true});
  p.addRow({Variant(), Variant(), Variant(), Variant(), Variant(), Variant()});
  p.addRow({"Zé da Silva Comércio", "", -0.01, DateTime{-1.25}, Variant(std::int64_t{-2147483648}), false});
  p.addRow({std::string("a\0b", 3), "ABCD", 1e300, DateTime{0.0}, Variant(std::int64_t{2147483647}), true});
  return p;
}

std::string Encode(const Variant& v) { return wire::EncodeValue(v); }

const DataPacket& PacketOf(const Variant& v) { return v.asPacket(); }

TEST(ColumnDecoder, EveryFieldTypeAndNullComesBackAsColumns) {
  const Variant sent(EveryType());
  const Variant back = DecodeValueInColumns(Encode(sent));
  ASSERT_TRUE(back.isPacket());
  ASSERT_NE(PacketOf(back).rows.Columns(), nullptr);
  EXPECT_EQ(PacketOf(back).fields, EveryType().fields);
  EXPECT_EQ(back, sent);
  // Kinds, not only values: an integer stays an integer, a date a date.
  const DataPacket& p = PacketOf(back);
  EXPECT_EQ(p.at(0, "QTD").kind(), Variant::Kind::Int);
  EXPECT_EQ(p.at(0, "DTATUAVENREC").kind(), Variant::Kind::Date);
  EXPECT_EQ(p.at(0, "ATIVO").kind(), Variant::Kind::Bool);
  EXPECT_EQ(p.at(0, "NRSEQORCAEVE"), Variant("01"));  // as sent: unpadded
  EXPECT_TRUE(p.at(1, "CDCLIENTE").isNull());
  EXPECT_EQ(p.at(3, "CDCLIENTE").textView().size(), 3u);
}

// A packet sent on as it came packs straight from its columns, byte for
// byte as its cells would (a whole number in a float column as an integer).
TEST(ColumnDecoder, APacketStillInColumnsEncodesAsItsCellsWould) {
  DataPacket sent = EveryType();
  sent.addRow({"x", "y", Variant(100.0), DateTime{1.0}, 0, false});
  const Variant columns = DecodeValueInColumns(Encode(Variant(sent)));
  DataPacket cells = PacketOf(columns);
  cells.rows[0];  // an edit: the copy's rows become cells
  ASSERT_EQ(cells.rows.Columns(), nullptr);
  EXPECT_EQ(Encode(columns), Encode(Variant(cells)));
  EXPECT_NE(PacketOf(columns).rows.Columns(), nullptr);
}

TEST(ColumnDecoder, EmptyPacketsKeepTheirFields) {
  for (const DataPacket& sent : {DataPacket(EveryType().fields), DataPacket()}) {
    const Variant back = DecodeValueInColumns(Encode(Variant(sent)));
    ASSERT_TRUE(back.isPacket());
    EXPECT_NE(PacketOf(back).rows.Columns(), nullptr);
    EXPECT_EQ(PacketOf(back).fields, sent.fields);
    EXPECT_EQ(PacketOf(back).rowCount(), 0u);
    EXPECT_EQ(back, Variant(sent));
  }
}

TEST(ColumnDecoder, PacketsInsideAnswersAndListsComeAsColumns) {
  const std::string body = wire::EncodeResponse({9, true, MakeArray({Variant(EveryType()), 3, Variant()}), "", {}});
  const wire::Response r = wire::DecodeResponse(body);
  EXPECT_EQ(r.id, 9u);
  ASSERT_TRUE(r.result[0].isPacket());
  EXPECT_NE(PacketOf(r.result[0]).rows.Columns(), nullptr);
  EXPECT_EQ(r.result[0], Variant(EveryType()));
  EXPECT_EQ(r.result[1], Variant(3));
}

// A packet written by hand: `rows` packs its rows' list after one field of `type`.
std::string OneFieldPacket(const char* type, const std::function<void(wire::Packer&)>& rows) {
  msgpack::sbuffer buf;
  wire::Packer pk(buf);
  pk.pack_map(2);
  pk.pack("fields");
  pk.pack_array(1);
  pk.pack_array(3);
  pk.pack("A");
  pk.pack(type);
  pk.pack(0);
  pk.pack("rows");
  rows(pk);
  return {buf.data(), buf.size()};
}

std::function<void(wire::Packer&)> OneCell(const std::function<void(wire::Packer&)>& cell) {
  return [cell](wire::Packer& pk) {
    pk.pack_array(1);
    pk.pack_array(1);
    cell(pk);
  };
}

// Shapes the columns do not take decode exactly as the general decoder has them.
TEST(ColumnDecoder, OtherShapesDecodeAsTheGeneralDecoderHasThem) {
  struct Case {
    const char* what;
    std::string bytes;
    bool inColumns;
  };
  const auto rowsFirst = [] {
    msgpack::sbuffer buf;
    wire::Packer pk(buf);
    pk.pack_map(2);
    pk.pack("rows");
    pk.pack_array(1);
    pk.pack_array(1);
    pk.pack("x");
    pk.pack("fields");
    pk.pack_array(1);
    pk.pack_array(3);
    pk.pack("A");
    pk.pack("string");
    pk.pack(0);
    return std::string(buf.data(), buf.size());
  };
  const std::vector<Case> cases = {
      {"integer in a float field", OneFieldPacket("float", OneCell([](wire::Packer& pk) { pk.pack(3); })), true},
      {"integer in a float field beyond a double's precision",
       OneFieldPacket("float", OneCell([](wire::Packer& pk) { pk.pack((std::int64_t{1} << 53) + 1); })), false},
      {"whole number in a float field, as the encoder sends it",
       Encode(Variant([] {
         DataPacket p({{"A", FieldType::Float, 0}});
         p.addRow({100.0});
         p.addRow({-0.0});
         p.addRow({0.25});
         return p;
       }())),
       true},
      {"whole float 64, as only another encoder sends it",
       // The null cell's byte becomes the float 64 of 2.0.
       [] {
         std::string bytes = OneFieldPacket("float", OneCell([](wire::Packer& pk) { pk.pack_nil(); }));
         bytes.pop_back();
         return bytes + std::string("\xcb\x40\0\0\0\0\0\0\0", 9);
       }(),
       false},
      {"float 32 in a float field", OneFieldPacket("float", OneCell([](wire::Packer& pk) { pk.pack(1.5f); })), true},
      {"integer beyond 32 bits", OneFieldPacket("integer", OneCell([](wire::Packer& pk) { pk.pack(std::int64_t{1} << 40); })), false},
      {"negative integer", OneFieldPacket("integer", OneCell([](wire::Packer& pk) { pk.pack(-70000); })), true},
      {"text in an integer field", OneFieldPacket("integer", OneCell([](wire::Packer& pk) { pk.pack("12"); })), false},
      {"list in a text field", OneFieldPacket("string", OneCell([](wire::Packer& pk) { pk.pack_array(0); })), false},
      {"date as ext 8", OneFieldPacket("datetime", OneCell([](wire::Packer& pk) {
         const char days[8] = {0x40, 0x20, 0, 0, 0, 0, 0, 0};
         pk.pack_ext(8, wire::kDateExtType);
         pk.pack_ext_body(days, 8);
       })), true},
      {"long text", OneFieldPacket("string", OneCell([](wire::Packer& pk) { pk.pack(std::string(70000, 'z')); })), true},
      {"rows before fields", rowsFirst(), false},
      {"scalars", Encode(MakeArray({Variant(), true, -5, 2.5, "x", DateTime{1.0}})), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Variant fast = DecodeValueInColumns(c.bytes), general = DecodeValue(c.bytes);
    EXPECT_EQ(fast, general);
    if (fast.isPacket()) {
      EXPECT_EQ(PacketOf(fast).rows.Columns() != nullptr, c.inColumns);
    }
  }
}

// What ProtocolError the bytes bring, or "" when they decode.
std::string Refusal(const std::string& bytes, Variant (*decode)(std::string_view)) {
  try {
    decode(bytes);
    return "";
  } catch (const wire::ProtocolError& e) {
    return e.what();
  }
}

TEST(ColumnDecoder, BytesThatAreNoValueAreRefusedWithTheGeneralDecodersError) {
  const std::string packet = Encode(Variant(EveryType()));
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"nothing", ""},
      {"binary", std::string("\xc4\x01\x00", 3)},
      {"unknown ext type", std::string("\xd7\x07" "12345678", 10)},
      {"trailing bytes", packet + "\x01"},
      {"map that is no packet", std::string("\x81\xa3" "abc\x01", 6)},
      {"unknown field type", OneFieldPacket("blob", [](wire::Packer& pk) { pk.pack_array(0); })},
      {"row of the wrong width", OneFieldPacket("string", [](wire::Packer& pk) {
         pk.pack_array(1);
         pk.pack_array(2);
         pk.pack("x");
         pk.pack("y");
       })},
      {"integer beyond int64", std::string("\xcf\xff\xff\xff\xff\xff\xff\xff\xff", 9)},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    const std::string refusal = Refusal(bytes, DecodeValueInColumns);
    EXPECT_NE(refusal, "");
    EXPECT_EQ(refusal, Refusal(bytes, DecodeValue));
  }
}

TEST(ColumnDecoder, EveryTruncationIsRefused) {
  const std::string packet = Encode(MakeArray({Variant(EveryType()), "fim"}));
  for (std::size_t n = 0; n < packet.size(); ++n)
    EXPECT_NE(Refusal(packet.substr(0, n), DecodeValueInColumns), "") << n << " of " << packet.size() << " bytes";
}

// A packet header claiming `rows` rows of `fields` text fields, and nothing else.
std::string Claiming(std::uint32_t fields, std::uint32_t rows) {
  msgpack::sbuffer buf;
  wire::Packer pk(buf);
  pk.pack_map(2);
  pk.pack("fields");
  pk.pack_array(fields);
  for (std::uint32_t f = 0; f < std::min(fields, 3u); ++f) {
    pk.pack_array(3);
    pk.pack("F" + std::to_string(f));
    pk.pack("string");
    pk.pack(10);
  }
  pk.pack("rows");
  pk.pack_array(rows);
  pk.pack_array(fields);
  pk.pack("x");
  return {buf.data(), buf.size()};
}

TEST(ColumnDecoder, CountsTheBytesCannotHoldCostNoMemory) {
  std::string deepLists;
  for (int i = 0; i < 20; ++i) deepLists += std::string("\xdd\xff\xff\xff\xff", 5);
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"four billion rows", Claiming(3, 0xFFFFFFFFu)},
      {"four billion fields", Claiming(0xFFFFFFFFu, 1)},
      {"a million rows in a few bytes", Claiming(3, 1000000)},
      {"lists inside lists, each of four billion", deepLists},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    largestBlock = 0;
    EXPECT_NE(Refusal(bytes, DecodeValueInColumns), "");
    EXPECT_LT(largestBlock.load(), 64u * 1024u) << "the largest block asked for";
  }
}

// A dataset loads the same records whether the packet came as columns or as
// cells: padded fixed texts, declared fields in another order, nulls.
TEST(ColumnDecoder, DatasetsLoadColumnsAsTheyLoadCells) {
  const std::string bytes = Encode(Variant(EveryType()));
  const Variant columns = DecodeValueInColumns(bytes), cells = DecodeValue(bytes);
  ASSERT_NE(PacketOf(columns).rows.Columns(), nullptr);
  ASSERT_EQ(PacketOf(cells).rows.Columns(), nullptr);
  const auto declare = [](TClientDataSet& ds) {
    ds.AddField("ATIVO", FieldType::Boolean);
    ds.AddField("NRSEQORCAEVE", FieldType::FixedString, 4);
    ds.AddField("CDCLIENTE", FieldType::String, 21);
    ds.AddField("QTD", FieldType::Integer);
  };
  TClientDataSet fromColumns, fromCells, undeclared;
  declare(fromColumns);
  declare(fromCells);
  fromColumns.SetData(columns);
  fromCells.SetData(cells);
  undeclared.SetData(columns);
  EXPECT_EQ(fromColumns.ToPacket(), fromCells.ToPacket());
  EXPECT_EQ(undeclared.ToPacket(), DecodeValue(Encode(Variant(undeclared.ToPacket()))).asPacket());
  fromColumns.First();
  EXPECT_EQ(fromColumns.FieldByName("NRSEQORCAEVE").AsString(), "01  ");
  undeclared.Last();
  EXPECT_EQ(undeclared.FieldByName("NRSEQORCAEVE").AsString(), "ABCD");
  EXPECT_EQ(undeclared.FieldByName("QTD").AsInteger(), 2147483647);
  // A declared type the packet's field does not have is converted cell by cell.
  TClientDataSet converted;
  converted.AddField("QTD", FieldType::Float);
  converted.SetData(columns);
  converted.First();
  EXPECT_EQ(converted.FieldByName("QTD").AsFloat(), 7.0);
}

// A packet decoded for one load gives its columns to the dataset; one that
// another value or packet still holds is copied and stays whole.
TEST(ColumnDecoder, ADatasetTakesTheColumnsOfAPacketNoOneElseHolds) {
  DataPacket wide({{"NMCLIENTE", FieldType::String, 200}});
  for (int i = 0; i < 2000; ++i) wide.addRow({std::string(100, char('a' + i % 26))});
  const std::string bytes = Encode(Variant(wide));
  const auto load = [](TClientDataSet& ds, auto&& packet) {
    largestBlock = 0;
    ds.SetData(std::forward<decltype(packet)>(packet));
    return largestBlock.load();
  };
  const std::size_t textBlock = 2000 * 100;  // what a copy of the column allocates at once

  TClientDataSet taken;
  Variant alone = DecodeValueInColumns(bytes);
  EXPECT_LT(load(taken, std::move(alone)), textBlock);
  EXPECT_TRUE(alone.isNull());
  EXPECT_EQ(taken.ToPacket(), wide);

  Variant shared = DecodeValueInColumns(bytes);
  const Variant sameValue = shared;
  TClientDataSet fromShared;
  EXPECT_GE(load(fromShared, std::move(shared)), textBlock);
  EXPECT_EQ(fromShared.ToPacket(), wide);
  EXPECT_EQ(sameValue.asPacket(), wide);

  Variant copied = DecodeValueInColumns(bytes);
  const DataPacket samePacket = copied.asPacket();  // shares the columns
  TClientDataSet fromCopied;
  EXPECT_GE(load(fromCopied, std::move(copied)), textBlock);
  EXPECT_EQ(samePacket, wide);
}

TEST(ColumnDecoder, ColumnsReadAsCellsFromSeveralThreadsAtOnce) {
  DataPacket many(EveryType().fields);
  for (int i = 0; i < 3000; ++i) many.addRow({std::to_string(i), "x", double(i), DateTime{double(i)}, i, i % 2 == 0});
  const Variant back = DecodeValueInColumns(Encode(Variant(many)));
  ASSERT_NE(PacketOf(back).rows.Columns(), nullptr);
  std::vector<std::thread> readers;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t)
    readers.emplace_back([&] {
      const DataPacket& p = PacketOf(back);
      for (std::size_t r = 0; r < p.rowCount(); ++r)
        if (!(p.rows[r][0] == Variant(std::to_string(r)))) ++wrong;
    });
  for (std::thread& t : readers) t.join();
  EXPECT_EQ(wrong.load(), 0);
  // A copy reads the same and may change on its own.
  DataPacket copy = PacketOf(back);
  copy.rows[0][0] = Variant("mudou");
  EXPECT_EQ(copy.rows.Columns(), nullptr);
  EXPECT_EQ(PacketOf(back).rows[0][0], Variant("0"));
}

}  // namespace
