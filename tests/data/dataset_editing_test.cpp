#include <gtest/gtest.h>

#include "test_packets.h"

namespace {

struct Editing : ::testing::Test {
  TClientDataSet ds{"cdsFormaPgto"};
  std::vector<std::string> log;
  void SetUp() override {
    DeclareParties(ds);
    ds.SetData(PartiesPacket());
    auto note = [this](const char* what) { return [this, what](TClientDataSet&) { log.push_back(what); }; };
    ds.BeforeInsert = note("BeforeInsert");
    ds.AfterInsert = note("AfterInsert");
    ds.OnNewRecord = note("OnNewRecord");
    ds.BeforeEdit = note("BeforeEdit");
    ds.AfterEdit = note("AfterEdit");
    ds.BeforePost = note("BeforePost");
    ds.AfterPost = note("AfterPost");
    ds.BeforeCancel = note("BeforeCancel");
    ds.AfterCancel = note("AfterCancel");
    ds.BeforeDelete = note("BeforeDelete");
    ds.AfterDelete = note("AfterDelete");
    ds.BeforeScroll = note("BeforeScroll");
    ds.AfterScroll = note("AfterScroll");
  }
  TField& Code() { return ds.FieldByName("CDCLIENTE"); }
};

}  // namespace

TEST_F(Editing, AppendPostsAtTheEndInEventOrder) {
  ds.Append();
  EXPECT_EQ(ds.State(), dsInsert);
  EXPECT_TRUE(Code().IsNull());
  Code().SetAsString("C900");
  ds.Post();
  EXPECT_EQ(log, (std::vector<std::string>{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert",
                                           "AfterScroll", "BeforePost", "AfterPost"}));
  EXPECT_EQ(ds.State(), dsBrowse);
  EXPECT_EQ(ds.RecordCount(), 6);
  EXPECT_EQ(ds.RecNo(), 6);
  EXPECT_EQ(Code().AsString(), "C900");
  EXPECT_EQ(ds.ToPacket().rows.back()[0].asText(), "C900");
}

TEST_F(Editing, InsertGoesBeforeTheCurrentRecord) {
  ds.SetRecNo(2);
  ds.Insert();
  Code().SetAsString("NEW");
  ds.Post();
  EXPECT_EQ(ds.RecNo(), 2);
  EXPECT_EQ(Codes(ds), "C100 NEW c200 C100 C300 C400 ");
  EXPECT_EQ(ds.ToPacket().rows[1][0].asText(), "NEW");
}

TEST_F(Editing, EditPostAndCancel) {
  ds.SetRecNo(3);
  ds.Edit();
  Code().SetAsString("CHANGED");
  EXPECT_TRUE(ds.Modified());
  ds.Cancel();
  EXPECT_EQ(Code().AsString(), "C100");
  ds.Edit();
  Code().SetAsString("CHANGED");
  ds.Post();
  EXPECT_EQ(Code().AsString(), "CHANGED");
  EXPECT_EQ(ds.RecNo(), 3);
}

TEST_F(Editing, CancellingAnInsertReturnsToThePreviousRecord) {
  ds.SetRecNo(2);
  log.clear();
  ds.Append();
  ds.Cancel();
  EXPECT_EQ(ds.RecordCount(), 5);
  EXPECT_EQ(ds.RecNo(), 2);
  EXPECT_EQ(log.back(), "AfterScroll");
}

TEST_F(Editing, MovingAwayPostsAModifiedRecordAndDropsAnUntouchedOne) {
  ds.OnNewRecord = [](TClientDataSet& d) { d.FieldByName("NRSEQORCAEVE").SetAsString("01"); };
  ds.Append();
  ds.First();  // only the new-record defaults: nothing worth keeping
  EXPECT_EQ(ds.RecordCount(), 5);
  ds.Edit();
  Code().SetAsString("X");
  ds.Next();
  EXPECT_EQ(ds.RecordCount(), 5);
  ds.First();
  EXPECT_EQ(Code().AsString(), "X");
}

TEST_F(Editing, AnExceptionFromABeforeEventCancelsTheOperation) {
  ds.BeforePost = [](TClientDataSet&) { throw Exception("Data de vencimento deve ser informada."); };
  ds.Edit();
  Code().SetAsString("Y");
  EXPECT_THROW(ds.Post(), Exception);
  EXPECT_EQ(ds.State(), dsEdit);
  EXPECT_EQ(Code().AsString(), "Y");
  ds.Cancel();

  ds.BeforeEdit = [](TClientDataSet&) { throw EAbort(); };
  EXPECT_THROW(ds.Edit(), EAbort);
  EXPECT_EQ(ds.State(), dsBrowse);

  ds.BeforeInsert = [](TClientDataSet&) { throw EAbort(); };
  EXPECT_THROW(ds.Append(), EAbort);
  EXPECT_EQ(ds.State(), dsBrowse);

  ds.BeforeDelete = [](TClientDataSet&) { throw EAbort(); };
  EXPECT_THROW(ds.Delete(), EAbort);
  EXPECT_EQ(ds.RecordCount(), 5);

  ds.BeforeInsert = nullptr;
  ds.OnNewRecord = [](TClientDataSet&) { throw Exception("no"); };
  EXPECT_THROW(ds.Append(), Exception);
  EXPECT_EQ(ds.State(), dsBrowse);
  EXPECT_EQ(ds.RecordCount(), 5);
}

TEST_F(Editing, EditOnAnEmptyDataSetInserts) {
  ds.EmptyDataSet();
  ds.Edit();
  EXPECT_EQ(ds.State(), dsInsert);
  EXPECT_FALSE(ds.IsEmpty());
  Code().SetAsString("ONLY");
  ds.Post();
  EXPECT_EQ(ds.RecordCount(), 1);
}

TEST_F(Editing, DeleteMovesToTheNextRecordAndRefusesAnEmptyDataSet) {
  ds.SetRecNo(2);
  ds.Delete();
  EXPECT_EQ(Code().AsString(), "C100");
  EXPECT_EQ(ds.RecNo(), 2);
  ds.Last();
  ds.Delete();
  EXPECT_EQ(Code().AsString(), "C300");
  while (!ds.IsEmpty()) ds.Delete();
  EXPECT_THROW(ds.Delete(), Exception);
  EXPECT_TRUE(ds.ToPacket().rows.empty());
}
