#include <gtest/gtest.h>

#include "test_packets.h"

namespace {

struct Navigation : ::testing::Test {
  TClientDataSet ds{"cdsContratante"};
  std::vector<std::string> scrolls;
  void SetUp() override {
    DeclareParties(ds);
    ds.SetData(PartiesPacket());
    ds.AfterScroll = [this](TClientDataSet& d) { scrolls.push_back(d.FieldByName("CDCLIENTE").AsString()); };
  }
  std::string Code() { return ds.FieldByName("CDCLIENTE").AsString(); }
};

}  // namespace

TEST_F(Navigation, WalksForwardAndBackWithEofAndBof) {
  EXPECT_TRUE(ds.Bof());
  EXPECT_FALSE(ds.Eof());
  int seen = 0;
  for (ds.First(); !ds.Eof(); ds.Next()) ++seen;
  EXPECT_EQ(seen, 5);
  EXPECT_EQ(Code(), "C400");  // stays on the last record
  EXPECT_EQ(ds.RecNo(), 5);
  ds.Prior();
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 4);
  EXPECT_EQ(ds.MoveBy(-10), -3);
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.MoveBy(-1), 0);
  ds.Last();
  EXPECT_TRUE(ds.Eof());
  ds.SetRecNo(2);
  EXPECT_EQ(Code(), "c200");
}

TEST_F(Navigation, LocateMatchesEveryKeyFieldIgnoringCase) {
  EXPECT_TRUE(ds.Locate("NRSEQORCAEVE;CDCLIENTE;NRENDCLIORCEVE", MakeArray({"02", "c100", "2"}), loCaseInsensitive));
  EXPECT_EQ(ds.FieldByName("NMFANTCLIE").AsString(), "Alfa Filial");
  EXPECT_EQ(scrolls, (std::vector<std::string>{"C100"}));
  EXPECT_TRUE(ds.Locate("CDCLIENTE", "C200", loCaseInsensitive));
  EXPECT_EQ(ds.RecNo(), 2);
  EXPECT_TRUE(ds.Locate("NMFANTCLIE", "AÇÃO LTDA", loCaseInsensitive));
  EXPECT_EQ(Code(), "C400");
}

TEST_F(Navigation, LocateWithoutAMatchStaysPut) {
  ds.SetRecNo(3);
  scrolls.clear();
  EXPECT_FALSE(ds.Locate("CDCLIENTE", "C200"));  // case matters without the option
  EXPECT_FALSE(ds.Locate("NRSEQORCAEVE;CDCLIENTE;NRENDCLIORCEVE", MakeArray({"01", "C100", "9"}), loCaseInsensitive));
  EXPECT_FALSE(ds.Locate("CDCLIENTE", "", loCaseInsensitive));
  EXPECT_EQ(ds.RecNo(), 3);
  EXPECT_TRUE(scrolls.empty());
  EXPECT_THROW(ds.Locate("CDCLIENTE;NRSEQORCAEVE", "C100"), Exception);
  EXPECT_THROW(ds.Locate("NOFIELD", "x"), Exception);
}

TEST_F(Navigation, LocateByNumberDateAndPartialKey) {
  EXPECT_TRUE(ds.Locate("VRRECECONTOREV", 250.5));
  EXPECT_EQ(Code(), "c200");
  EXPECT_TRUE(ds.Locate("DTCADASTRO", "09/07/2024"));
  EXPECT_EQ(Code(), "C400");
  EXPECT_TRUE(ds.Locate("VRRECECONTOREV", Variant()));
  EXPECT_EQ(Code(), "C300");
  EXPECT_TRUE(ds.Locate("NMFANTCLIE", "BETA", loCaseInsensitive | loPartialKey));
  EXPECT_EQ(Code(), "c200");
  EXPECT_FALSE(ds.Locate("NMFANTCLIE", "BETA", loPartialKey));
}

TEST_F(Navigation, BookmarksReturnToTheSameRecord) {
  ds.SetRecNo(4);
  TBookmark mark = ds.GetBookmark();
  ds.SetIndexFieldNames("NMFANTCLIE");
  ds.First();
  ds.GotoBookmark(mark);
  EXPECT_EQ(Code(), "C300");
  ds.Delete();
  EXPECT_FALSE(ds.BookmarkValid(mark));
  EXPECT_THROW(ds.GotoBookmark(mark), Exception);
}
