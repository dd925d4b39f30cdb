#include <gtest/gtest.h>

#include "test_packets.h"

namespace {

struct View : ::testing::Test {
  TClientDataSet ds{"cdsContratante"};
  void SetUp() override {
    DeclareParties(ds);
    ds.SetData(PartiesPacket());
  }
  std::string Code() { return ds.FieldByName("CDCLIENTE").AsString(); }
};

}  // namespace

TEST_F(View, IndexFieldNamesSortsStablyByTextNumberAndDate) {
  ds.SetIndexFieldNames("CDCLIENTE");  // case aside: C100, C100 (load order kept), c200, C300, C400
  EXPECT_EQ(Codes(ds), "C100 C100 c200 C300 C400 ");
  ds.First();
  EXPECT_EQ(ds.FieldByName("NRSEQORCAEVE").AsString(), "01");
  ds.SetIndexFieldNames("VRRECECONTOREV");  // null first, then by value; equal values keep their order
  EXPECT_EQ(Codes(ds), "C300 C400 c200 C100 C100 ");
  ds.SetIndexFieldNames("DTCADASTRO");
  EXPECT_EQ(Codes(ds), "C300 C400 c200 C100 C100 ");
  ds.SetIndexFieldNames("IDCONTPROCESDIST;NMFANTCLIE");  // accents aside: Ação, Alfa, Buffet
  EXPECT_EQ(Codes(ds), "C300 c200 C400 C100 C100 ");
  ds.SetIndexFieldNames("");
  EXPECT_EQ(Codes(ds), "C100 c200 C100 C300 C400 ");
  EXPECT_THROW(ds.SetIndexFieldNames("NOFIELD"), Exception);
}

TEST_F(View, SortingKeepsTheCurrentRecordWithoutScrolling) {
  ds.SetRecNo(4);  // C300
  int scrolls = 0;
  ds.AfterScroll = [&](TClientDataSet&) { ++scrolls; };
  ds.SetIndexFieldNames("VRRECECONTOREV");
  EXPECT_EQ(Code(), "C300");
  EXPECT_EQ(ds.RecNo(), 1);
  EXPECT_EQ(scrolls, 0);
}

TEST_F(View, SortedInsertTakesItsPlace) {
  ds.SetIndexFieldNames("CDCLIENTE");
  ds.Append();
  ds.FieldByName("CDCLIENTE").SetAsString("C250");
  ds.Post();
  EXPECT_EQ(Code(), "C250");
  EXPECT_EQ(ds.RecNo(), 4);
}

TEST_F(View, FilterOnAndOffWithTextComparisons) {
  ds.SetFilter("IDTPDISTRATOREALI = 'TOTAL' AND IDCONTPROCESDIST = 'S'");
  EXPECT_EQ(ds.RecordCount(), 5);  // not switched on yet
  int scrolls = 0;
  ds.AfterScroll = [&](TClientDataSet&) { ++scrolls; };
  ds.SetFiltered(true);
  EXPECT_EQ(Codes(ds), "C100 C400 ");
  EXPECT_GT(scrolls, 0);
  ds.SetFilter("IDTPDISTRATOREALI <> 'TOTAL'");
  EXPECT_EQ(Codes(ds), "c200 C100 ");
  ds.SetFilter("(IDCONTPROCESDIST = 'C' OR IDCONTPROCESDIST = 'N') AND NOT IDTPDISTRATOREALI = 'TOTAL'");
  EXPECT_EQ(Codes(ds), "c200 ");
  ds.SetFiltered(false);
  EXPECT_EQ(ds.RecordCount(), 5);
  EXPECT_EQ(ds.RecNo(), 1);
}

TEST_F(View, FilterComparesNumbersAndDates) {
  ds.SetFiltered(true);
  ds.SetFilter("VRRECECONTOREV >= 250.5");
  EXPECT_EQ(Codes(ds), "C100 c200 C100 ");
  ds.SetFilter("VRRECECONTOREV < 0 OR VRRECECONTOREV IS NULL");
  EXPECT_EQ(Codes(ds), "C300 C400 ");
  ds.SetFilter("DTCADASTRO = '01/03/2026'");
  EXPECT_EQ(Codes(ds), "C100 C100 ");
  ds.SetFilter("DTCADASTRO < '01/01/2026'");
  EXPECT_EQ(Codes(ds), "c200 C400 ");
  ds.SetFilter("NMFANTCLIE = 'Ação Ltda'");
  EXPECT_EQ(Codes(ds), "C400 ");
  ds.SetFilter("NMFANTCLIE = 'O''Brien'");
  EXPECT_TRUE(ds.IsEmpty());
  EXPECT_TRUE(ds.Eof());
}

TEST_F(View, AFilterItCannotReadFailsClearlyAndChangesNothing) {
  ds.SetFiltered(true);
  ds.SetFilter("IDCONTPROCESDIST = 'S'");
  for (const char* bad : {"IDCONTPROCESDIST = 'S", "NOFIELD = 'S'", "IDCONTPROCESDIST 'S'",
                          "(IDCONTPROCESDIST = 'S'", "DTCADASTRO = '31/02/2026'", "VRRECECONTOREV = 'abc'",
                          "IDCONTPROCESDIST = 'S' AND"}) {
    try {
      ds.SetFilter(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.what()).find("filtro"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ds.Filter(), "IDCONTPROCESDIST = 'S'");
    EXPECT_EQ(ds.RecordCount(), 3);
  }
  ds.SetFiltered(false);
  ds.SetFilter("NOFIELD = 1");  // read only when switched on
  EXPECT_THROW(ds.SetFiltered(true), Exception);
  EXPECT_FALSE(ds.Filtered());
  EXPECT_EQ(ds.RecordCount(), 5);
}

TEST_F(View, AFilterAppliesToEveryLoadAndToPostedRecords) {
  ds.SetFilter("IDCONTPROCESDIST = 'S'");
  ds.SetFiltered(true);
  ds.SetData(PartiesPacket());
  EXPECT_EQ(ds.RecordCount(), 3);
  ds.Edit();
  ds.FieldByName("IDCONTPROCESDIST").SetAsString("N");
  ds.Post();  // the record leaves the view but stays in the content
  EXPECT_EQ(ds.RecordCount(), 2);
  EXPECT_EQ(ds.ToPacket().rows.size(), 5u);
}
