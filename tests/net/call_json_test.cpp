#include <gtest/gtest.h>

#include <cmath>

#include "data/packet.h"
#include "declared_arguments.h"
#include "variant_json.h"

namespace {

TEST(Json, ScalarsAndNumbersKeepIntegerOrDouble) {
  EXPECT_EQ(ArgumentValue("true"), Variant(true));
  EXPECT_EQ(ArgumentValue("null"), Variant());
  EXPECT_EQ(ArgumentValue("12").kind(), Variant::Kind::Int);
  EXPECT_EQ(ArgumentValue("-12"), Variant(-12));
  EXPECT_EQ(ArgumentValue("12.0").kind(), Variant::Kind::Double);
  EXPECT_EQ(ArgumentValue("1e2"), Variant(100.0));
  EXPECT_EQ(ArgumentValue("9223372036854775807"), Variant(std::int64_t{INT64_MAX}));
  EXPECT_EQ(ArgumentValue("9223372036854775808").kind(), Variant::Kind::Double);
}

TEST(Json, WhatIsNotJsonIsText) {
  for (const char* s : {"0001", "abc", "", "1,5", "12a", "[1,", "\"sem fim", "tru", "--x", "01", "1."})
    EXPECT_EQ(ArgumentValue(s), Variant(s)) << s;
}

TEST(Json, StringsDecodeEscapesAndUtf8) {
  EXPECT_EQ(ArgumentValue(R"("a\"b\\c\/d\n\t")"), Variant("a\"b\\c/d\n\t"));
  EXPECT_EQ(ArgumentValue(R"("\u00e7\u00E3o")"), Variant("ção"));
  EXPECT_EQ(ArgumentValue(R"("\ud83d\ude00")"), Variant("\xF0\x9F\x98\x80"));
  EXPECT_EQ(ArgumentValue("\"Orçamento\""), Variant("Orçamento"));
  // A lone surrogate is not JSON, so it stays the text typed.
  EXPECT_EQ(ArgumentValue(R"("\ud83d")"), Variant(R"("\ud83d")"));
}

TEST(Json, ArraysNest) {
  EXPECT_EQ(ArgumentValue(R"([1, "a", [true, null], []])"),
            MakeArray({1, "a", MakeArray({true, Variant()}), MakeArray({})}));
}

TEST(Json, PacketObjectsBecomePackets) {
  Variant v = ArgumentValue(
      R"({"fields":[{"name":"CDCLIENTE","type":"string","size":21},{"name":"DT","type":"datetime"},)"
      R"({"name":"VR","type":"float"}],"rows":[["0001","31/12/2024 10:30:00",1.5],[null,null,2]]})");
  ASSERT_TRUE(v.isPacket());
  const DataPacket& p = v.asPacket();
  ASSERT_EQ(p.fields.size(), 3u);
  EXPECT_EQ(p.fields[0], (FieldDef{"CDCLIENTE", FieldType::String, 21}));
  EXPECT_EQ(p.fields[1].type, FieldType::DateTime);
  ASSERT_EQ(p.rowCount(), 2u);
  EXPECT_EQ(p.at(0, "DT").kind(), Variant::Kind::Date);
  EXPECT_EQ(FormatDateTime(p.at(0, "DT").asDate()), "31/12/2024 10:30:00");
}

TEST(Json, OtherObjectsAndRaggedRowsAreErrors) {
  EXPECT_THROW(ArgumentValue(R"({"a":1})"), JsonError);
  EXPECT_THROW(ArgumentValue(R"({"fields":[{"name":"A"}],"rows":[[1,2]]})"), JsonError);
  EXPECT_THROW(ArgumentValue(R"({"fields":[{"name":"A","type":"blob"}],"rows":[]})"), JsonError);
  EXPECT_THROW(ArgumentValue(R"({"fields":[{"type":"string"}],"rows":[]})"), JsonError);
}

TEST(Json, PrintsEveryKind) {
  DataPacket p({{"A", FieldType::String, 3}, {"D", FieldType::DateTime, 0}});
  p.addRow({"x\"y", DateTime{2.5}});
  Variant v = MakeArray({Variant(), true, 3, 2.0, 0.1, "é\n", DateTime{0.0}, Variant(p)});
  EXPECT_EQ(VariantToJson(v),
            R"([null,true,3,2.0,0.1,"é\n","30/12/1899 00:00:00",)"
            R"({"fields":[{"name":"A","type":"string","size":3},{"name":"D","type":"datetime","size":0}],)"
            R"("rows":[["x\"y","01/01/1900 12:00:00"]]}])");
  EXPECT_EQ(VariantToJson(Variant(std::string("\x01", 1))), R"("\u0001")");
}

TEST(Json, PrintedValuesReadBackTheSame) {
  DataPacket p({{"A", FieldType::String, 3}, {"D", FieldType::DateTime, 0}, {"V", FieldType::Float, 0}});
  p.addRow({"a", DateTime{45291.4375}, 1234.5});
  Variant v = MakeArray({1, 2.0, 1e-7, "\\ \" \t", MakeArray({Variant(p)})});
  EXPECT_EQ(ArgumentValue(VariantToJson(v)), v);
}

TEST(DateText, KnownDates) {
  EXPECT_EQ(FormatDateTime(DateTime{45658.0}), "01/01/2025 00:00:00");
  EXPECT_EQ(FormatDateTime(DateTime{36526.75}), "01/01/2000 18:00:00");
  EXPECT_EQ(FormatDateTime(DateTime{60.0}), "28/02/1900 00:00:00");
  EXPECT_EQ(FormatDateTime(DateTime{0.99999999}), "31/12/1899 00:00:00");  // rounds to the next second
  EXPECT_EQ(FormatDateTime(DateTime{-693593.0}), "01/01/0001 00:00:00");
  EXPECT_EQ(FormatDateTime(DateTime{2958465.5}), "31/12/9999 12:00:00");
  for (double outside : {-693593.5, 2958466.0, 1e300, -1e300, std::nan("")})
    EXPECT_EQ(FormatDateTime(DateTime{outside}), "") << outside;
  DateTime d;
  ASSERT_TRUE(ParseDateTime("29/02/2024", d));
  EXPECT_EQ(d.days, 45351.0);
  EXPECT_FALSE(ParseDateTime("29/02/2023", d));
  EXPECT_FALSE(ParseDateTime("31/04/2024", d));
  EXPECT_FALSE(ParseDateTime("01/01/2024 24:00", d));
  EXPECT_FALSE(ParseDateTime("01/01/2024x", d));
}

// The ninth argument of DesfazerDistrato is declared a date; the first is text.
TEST(DeclaredArguments, ADeclaredDateReadsEitherWayAndNothingElseChanges) {
  const Variant day(DateTime{46364.0});  // 08/12/2026
  EXPECT_EQ(CallArgument("DesfazerDistrato", 8, "08/12/2026"), day);
  EXPECT_EQ(CallArgument("DesfazerDistrato", 8, "2026-12-08"), day);
  EXPECT_EQ(CallArgument("DesfazerDistrato", 8, "46364"), Variant(46364));  // the serial still works
  EXPECT_EQ(CallArgument("DesfazerDistrato", 8, "31/02/2026"), Variant("31/02/2026"));  // no such day: the server says so
  EXPECT_EQ(CallArgument("DesfazerDistrato", 8, "8/12/2026"), Variant("8/12/2026"));
  EXPECT_EQ(CallArgument("DesfazerDistrato", 1, "08/12/2026"), Variant("08/12/2026"));
  EXPECT_EQ(CallArgument("Echo", 0, "08/12/2026"), Variant("08/12/2026"));
  EXPECT_EQ(CallArgument("DesfazerDistrato", 20, "08/12/2026"), Variant("08/12/2026"));
  const std::vector<Variant> args =
      CallArguments("DesfazerDistrato", {"CONTRATANTE", "0001", "101", "01", "01", "3302", "", "OPERADOR",
                                         "2026-12-08", "1"});
  ASSERT_EQ(args.size(), 10u);
  EXPECT_EQ(args[8], day);
  EXPECT_EQ(args[2], Variant(101));
}

}  // namespace
