#include <gtest/gtest.h>

#include "data/data_source.h"
#include "test_packets.h"

namespace {

struct Recorder : TDataObserver {
  std::vector<std::string> heard;
  void RecordMoved() override { heard.push_back("moved"); }
  void DataSetChanged() override { heard.push_back("data"); }
  void StateChanged() override { heard.push_back("state"); }
  void FieldChanged(TField& f) override { heard.push_back("field " + f.FieldName()); }
};

struct Source : ::testing::Test {
  TClientDataSet ds{"cdsContratante"};
  TDataSource dts{"dtsPadrao", &ds};
  Recorder grid;
  void SetUp() override {
    DeclareParties(ds);
    dts.Subscribe(&grid);
  }
};

}  // namespace

TEST_F(Source, ObserversHearLoadsMovesEditsAndStates) {
  ds.SetData(PartiesPacket());
  EXPECT_EQ(grid.heard, (std::vector<std::string>{"state", "data"}));
  grid.heard.clear();
  ds.Next();
  ds.Edit();
  ds.FieldByName("NMFANTCLIE").SetAsString("X");
  ds.Post();
  EXPECT_EQ(grid.heard, (std::vector<std::string>{"moved", "state", "data", "field NMFANTCLIE", "state", "data"}));
  grid.heard.clear();
  ds.Close();
  EXPECT_EQ(grid.heard, (std::vector<std::string>{"state"}));
  EXPECT_EQ(dts.State(), dsInactive);
}

TEST_F(Source, FormHandlersFollowStateAndData) {
  std::vector<TDataSetState> states;
  std::vector<std::string> changes;
  dts.OnStateChange = [&](TDataSource& s) { states.push_back(s.State()); };
  dts.OnDataChange = [&](TDataSource&, TField* f) { changes.push_back(f ? f->FieldName() : "-"); };
  ds.SetData(PartiesPacket());
  ds.Edit();
  ds.FieldByName("CDCLIENTE").SetAsString("Z");
  ds.Cancel();
  EXPECT_EQ(states, (std::vector<TDataSetState>{dsBrowse, dsEdit, dsBrowse}));
  EXPECT_EQ(changes, (std::vector<std::string>{"-", "-", "CDCLIENTE", "-"}));
}

TEST_F(Source, DisableControlsSilencesObserversButNotDataSetEvents) {
  ds.SetData(PartiesPacket());
  int scrolls = 0;
  ds.AfterScroll = [&](TClientDataSet&) { ++scrolls; };
  grid.heard.clear();
  ds.DisableControls();
  ds.DisableControls();
  for (ds.First(); !ds.Eof(); ds.Next()) {
  }
  ds.Edit();
  ds.EnableControls();
  EXPECT_TRUE(grid.heard.empty());
  ds.EnableControls();
  EXPECT_EQ(grid.heard, (std::vector<std::string>{"state", "data"}));
  EXPECT_EQ(scrolls, 6);
  EXPECT_FALSE(ds.ControlsDisabled());
}

TEST_F(Source, DisabledSourceAndUnlinking) {
  ds.SetData(PartiesPacket());
  dts.SetEnabled(false);
  EXPECT_EQ(dts.State(), dsInactive);
  grid.heard.clear();
  ds.Next();
  EXPECT_TRUE(grid.heard.empty());
  dts.SetEnabled(true);
  EXPECT_EQ(grid.heard, (std::vector<std::string>{"state", "data"}));
  {
    TDataSource other("dtsContas", &ds);
  }  // a destroyed source unlinks itself
  ds.Next();
  auto ds2 = std::make_unique<TClientDataSet>("cdsTemp");
  dts.SetDataSet(ds2.get());
  ds2.reset();  // a destroyed dataset leaves its sources pointing nowhere
  EXPECT_EQ(dts.DataSet(), nullptr);
  dts.Unsubscribe(&grid);
  ds.Next();
}
