#include <gtest/gtest.h>

#include "test_packets.h"

TEST(LoadPacket, DeclaredFieldsTakeThePacketInAnyOrder) {
  TClientDataSet ds("cdsContratante");
  DeclareParties(ds);
  DataPacket p = PartiesPacket();
  p.fields.push_back({"EXTRA", FieldType::String, 5});
  PacketRows wider;
  for (PacketRows::ConstRowRef row : p.rows) {
    DataPacket::Row r(row.begin(), row.end());
    r.push_back("x");
    wider.push_back(std::move(r));
  }
  p.rows = std::move(wider);
  ds.SetData(Variant(p));
  EXPECT_EQ(ds.State(), dsBrowse);
  EXPECT_EQ(ds.RecordCount(), 5);
  EXPECT_EQ(ds.RecNo(), 1);
  EXPECT_EQ(ds.FieldByName("CDCLIENTE").AsString(), "C100");
  EXPECT_EQ(ds.FieldByName("NRSEQORCAEVE").AsString(), "01");
  EXPECT_EQ(ds.FindField("EXTRA"), nullptr);

  // Reading back gives the declared fields in their order, every record.
  DataPacket back = ds.ToPacket();
  ASSERT_EQ(back.fields.size(), 8u);
  EXPECT_EQ(back.fields[0].name, "CDCLIENTE");
  ASSERT_EQ(back.rows.size(), 5u);
  EXPECT_EQ(back.at(3, "CDCLIENTE").asText(), "C300");
  EXPECT_TRUE(back.at(3, "VRRECECONTOREV").isNull());
  EXPECT_EQ(back.at(4, "DTCADASTRO").asDate(), EncodeDate(2024, 7, 9));
}

TEST(LoadPacket, AMissingFieldFailsAndLeavesTheDataSetAsItWas) {
  TClientDataSet ds("cdsContratante");
  DeclareParties(ds);
  ds.SetData(PartiesPacket());
  ds.Next();
  int scrolls = 0;
  ds.AfterScroll = [&](TClientDataSet&) { ++scrolls; };

  DataPacket lacking = PartiesPacket();
  lacking.fields.erase(lacking.fields.begin() + 3);  // NMFANTCLIE
  PacketRows narrower;
  for (PacketRows::ConstRowRef row : lacking.rows) {
    DataPacket::Row r(row.begin(), row.end());
    r.erase(r.begin() + 3);
    narrower.push_back(std::move(r));
  }
  lacking.rows = std::move(narrower);
  try {
    ds.SetData(lacking);
    FAIL() << "loaded a packet without NMFANTCLIE";
  } catch (const Exception& e) {
    std::string m = e.what();
    EXPECT_NE(m.find("NMFANTCLIE"), std::string::npos);
    EXPECT_NE(m.find("cdsContratante"), std::string::npos);
  }
  EXPECT_EQ(ds.RecordCount(), 5);
  EXPECT_EQ(ds.RecNo(), 2);
  EXPECT_EQ(ds.FieldByName("CDCLIENTE").AsString(), "c200");
  EXPECT_EQ(scrolls, 0);
}

TEST(LoadPacket, AValueAFieldCannotTakeFailsWithoutLoading) {
  TClientDataSet ds("cdsContas");
  ds.AddField("VRATUAREC", FieldType::Float);
  DataPacket p({{"VRATUAREC", FieldType::String, 10}});
  p.addRow({"12,5"});
  ds.SetData(p);
  EXPECT_DOUBLE_EQ(ds.FieldByName("VRATUAREC").AsFloat(), 12.5);
  p.addRow({"doze"});
  EXPECT_THROW(ds.SetData(p), Exception);
  EXPECT_EQ(ds.RecordCount(), 1);
}

TEST(LoadPacket, WithoutDeclaredFieldsThePacketBringsItsOwn) {
  TClientDataSet ds("cdsNewContrRepete");
  ds.SetData(PartiesPacket());
  EXPECT_EQ(ds.FieldCount(), 8);
  TField& code = ds.FieldByName("cdcliente");
  EXPECT_EQ(code.AsString(), "C100");
  DataPacket other({{"CDCLIENTE", FieldType::String, 21}, {"QTCOTAS", FieldType::Integer, 0}});
  other.addRow({"Z9", 3});
  ds.SetData(other);
  EXPECT_EQ(ds.FieldCount(), 2);
  EXPECT_EQ(code.AsString(), "Z9");  // same field kept across loads
  EXPECT_EQ(ds.FieldByName("QTCOTAS").AsInteger(), 3);
  EXPECT_EQ(ds.FindField("NMFANTCLIE"), nullptr);
}

TEST(LoadPacket, OpenEventsAndTheFirstRecordsScroll) {
  TClientDataSet ds("cdsContratante");
  DeclareParties(ds);
  std::vector<std::string> log;
  ds.BeforeClose = [&](TClientDataSet&) { log.push_back("BeforeClose"); };
  ds.AfterClose = [&](TClientDataSet&) { log.push_back("AfterClose"); };
  ds.BeforeOpen = [&](TClientDataSet&) { log.push_back("BeforeOpen"); };
  ds.AfterOpen = [&](TClientDataSet&) { log.push_back("AfterOpen"); };
  ds.AfterScroll = [&](TClientDataSet& d) { log.push_back("AfterScroll " + d.FieldByName("CDCLIENTE").AsString()); };
  ds.SetData(PartiesPacket());
  EXPECT_EQ(log, (std::vector<std::string>{"BeforeOpen", "AfterOpen", "AfterScroll C100"}));
  log.clear();
  DataPacket empty = PartiesPacket();
  empty.rows.clear();
  ds.SetData(empty);  // an empty load has no record to scroll to
  EXPECT_EQ(log, (std::vector<std::string>{"BeforeClose", "AfterClose", "BeforeOpen", "AfterOpen"}));
  EXPECT_TRUE(ds.IsEmpty());
}

TEST(LoadPacket, ContentRoundTripsThroughDataAndNullClosesTheDataSet) {
  TClientDataSet a("cdsFormaPgto"), b("cdsAuxFormaPgto");
  DeclareParties(a);
  DeclareParties(b);
  a.SetData(PartiesPacket());
  a.SetFiltered(true);
  a.SetFilter("IDCONTPROCESDIST = 'N'");
  b.SetData(a.Data());  // every record, whatever the filter
  EXPECT_EQ(b.RecordCount(), 5);
  EXPECT_EQ(b.ToPacket(), a.ToPacket());
  b.SetData(Variant());
  EXPECT_FALSE(b.Active());
  EXPECT_THROW(b.SetData(Variant("not a packet")), Exception);
}

TEST(LoadPacket, CreateDataSetOpensEmptyAndEmptyDataSetKeepsItOpen) {
  TClientDataSet ds("cdsFormaPgto");
  EXPECT_THROW(ds.CreateDataSet(), Exception);
  ds.AddField("VRPARCELA", FieldType::Float);
  ds.CreateDataSet();
  EXPECT_TRUE(ds.Active());
  EXPECT_TRUE(ds.IsEmpty());
  ds.Append();
  ds.FieldByName("VRPARCELA").SetAsFloat(10);
  ds.Post();
  EXPECT_EQ(ds.RecordCount(), 1);
  ds.EmptyDataSet();
  EXPECT_TRUE(ds.Active());
  EXPECT_EQ(ds.RecordCount(), 0);
  EXPECT_THROW(ds.AddField("X", FieldType::String, 1), Exception);
}

TEST(LoadPacket, FixedTextsArePaddedAndLongTextsKeptIntact) {
  TClientDataSet ds("cdsContas");
  ds.AddField("IDORIGNFORCA", FieldType::FixedString, 3);
  ds.AddField("DOCUMENTO", FieldType::String, 4);
  DataPacket p({{"IDORIGNFORCA", FieldType::String, 1}, {"DOCUMENTO", FieldType::String, 26}});
  p.addRow({"T", "DOC-123456"});
  p.addRow({"I", "D2"});
  ds.SetData(p);
  EXPECT_EQ(ds.FieldByName("IDORIGNFORCA").AsString(), "T  ");
  EXPECT_EQ(ds.FieldByName("DOCUMENTO").AsString(), "DOC-123456");  // what the server sent reads back
  EXPECT_TRUE(ds.Locate("IDORIGNFORCA", "I"));
  ds.SetFilter("IDORIGNFORCA = 'T'");
  ds.SetFiltered(true);
  EXPECT_EQ(ds.RecordCount(), 1);
  EXPECT_EQ(ds.ToPacket().at(0, "DOCUMENTO").asText(), "DOC-123456");
}

// A dataset without declared fields takes its fields from each packet; a packet
// that lacks the sort field or a field the filter names is refused before
// anything changes, as a missing declared field is.
TEST(LoadPacket, APacketWithoutTheSortOrFilterFieldLeavesTheDataSetAsItWas) {
  TClientDataSet ds("cdsContas");
  ds.SetIndexFieldNames("NMFANTCLIE");
  ds.SetData(PartiesPacket());
  ds.Next();
  const std::string current = ds.FieldByName("NMFANTCLIE").AsString();
  DataPacket other({{"CDCLIENTE", FieldType::String, 21}});
  other.addRow({"C900"});

  EXPECT_THROW(ds.SetData(other), Exception);
  EXPECT_TRUE(ds.Active());
  EXPECT_EQ(ds.RecordCount(), 5);
  EXPECT_EQ(ds.RecNo(), 2);
  ASSERT_NE(ds.FindField("NMFANTCLIE"), nullptr);
  EXPECT_EQ(ds.FieldByName("NMFANTCLIE").AsString(), current);

  ds.SetIndexFieldNames("");
  ds.SetFilter("IDCONTPROCESDIST = 'S'");
  ds.SetFiltered(true);
  EXPECT_THROW(ds.SetData(other), Exception);
  EXPECT_TRUE(ds.Active());
  EXPECT_EQ(ds.RecordCount(), 3);
  EXPECT_NE(ds.FindField("IDCONTPROCESDIST"), nullptr);
}

TEST(LoadPacket, AFieldOfAnEarlierPacketShapeIsTakenBackNotMadeAgain) {
  TClientDataSet ds("cdsContas");
  DataPacket narrow({{"CDCLIENTE", FieldType::String, 21}});
  narrow.addRow({"C900"});
  ds.SetData(PartiesPacket());
  TField& name = ds.FieldByName("NMFANTCLIE");
  name.SetDisplayLabel("Nome");
  // Switching shapes back and forth, as the screens do, keeps one field per
  // name and type: the one a holder already has, labels included.
  for (int i = 0; i < 3; ++i) {
    ds.SetData(narrow);
    EXPECT_EQ(ds.FindField("NMFANTCLIE"), nullptr);
    ds.SetData(PartiesPacket());
    ASSERT_EQ(&ds.FieldByName("NMFANTCLIE"), &name);
  }
  EXPECT_EQ(name.DisplayLabel(), "Nome");
  EXPECT_EQ(name.AsString(), "Buffet Alfa");
}

// A large packet whose texts are short where the load samples them and long
// elsewhere, or the other way round, reads back whole: the reserved blocks
// grow when the sample was too small.
TEST(LoadPacket, LargePacketsReadBackWhateverTheirTextsSizes) {
  const struct {
    const char* what;
    bool longEvery64th;  // the rows a sample of 64 would see
  } cases[] = {{"long texts where sampled", true}, {"long texts between the samples", false}};
  constexpr int kRows = 4096;
  for (const auto& c : cases) {
    auto text = [&](int i) {
      const bool sampled = i % 64 == 0;
      return std::string(sampled == c.longEvery64th ? 200 : 1, static_cast<char>('a' + i % 26)) + std::to_string(i);
    };
    DataPacket p({{"NOME", FieldType::String, 0}, {"FIXO", FieldType::String, 0}});
    for (int i = 0; i < kRows; ++i) p.addRow({text(i), i % 3 == 0 ? Variant() : Variant(std::to_string(i % 10))});
    TClientDataSet ds("cdsGrande");
    ds.AddField("NOME", FieldType::String, 300);
    ds.AddField("FIXO", FieldType::FixedString, 4);
    ds.SetData(p);
    ASSERT_EQ(ds.RecordCount(), kRows) << c.what;
    int i = 0;
    for (ds.First(); !ds.Eof(); ds.Next(), ++i) {
      ASSERT_EQ(ds.FieldByName("NOME").AsString(), text(i)) << c.what << " row " << i;
      ASSERT_EQ(ds.FieldByName("FIXO").AsString(), i % 3 == 0 ? "" : std::to_string(i % 10) + "   ")
          << c.what << " row " << i;
    }
  }
}
