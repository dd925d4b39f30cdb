#include <gtest/gtest.h>

#include "data/data_source.h"
#include "data/formats.h"
#include "lib/child_enabled.h"
#include "lib/grid_text.h"
#include "scripted_test.h"
#include "ui/containers.h"
#include "ui/db_grid.h"
#include "ui/edit.h"
#include "ui/form.h"

namespace {

class GridTextTest : public ScriptedTest {
 protected:
  void SetUp() override {
    ScriptedTest::SetUp();
    data.AddField("NRINSJURCLIESUB", FieldType::String, 20);
    data.AddField("VRORIGREC", FieldType::Float).SetDisplayFormat("#,##0.00");
    data.AddField("DTVENCIMENTO", FieldType::DateTime);
    data.CreateDataSet();
    data.Append();
    data.FieldByName("NRINSJURCLIESUB").SetAsString("12345678901");
    data.FieldByName("VRORIGREC").SetAsFloat(1234.5);
    data.FieldByName("DTVENCIMENTO").SetAsDateTime(EncodeDate(2027, 3, 1));
    data.Post();
    grid.SetParent(&form);
    grid.SetDataSource(&source);
    grid.AddColumn("NRINSJURCLIESUB");
    grid.AddColumn("VRORIGREC");
    grid.AddColumn("DTVENCIMENTO");
    form.Show();
    grid.SetFocus();
  }

  TClientDataSet data{"cdsVrContratantes"};
  TDataSource source{"dtsPadrao", &data};
  TForm form;
  TDBGrid grid;
};

TEST_F(GridTextTest, WithoutEditorItIsTheFieldsText) {
  EXPECT_EQ(GridText(grid, "NRINSJURCLIESUB", false), "12345678901");
  EXPECT_EQ(GridText(grid, "VRORIGREC", false), "1.234,50");
  EXPECT_EQ(GridText(grid, "DTVENCIMENTO", false), "01/03/2027");
}

TEST_F(GridTextTest, ForNumbersThousandsDotsGoAndTheCommaStays) {
  EXPECT_EQ(GridText(grid, "VRORIGREC", true), "1234,50");
  EXPECT_DOUBLE_EQ(StrToFloat(GridText(grid, "VRORIGREC", true)), 1234.5);
}

TEST_F(GridTextTest, WhileTheColumnIsBeingEditedItIsTheEditorsText) {
  grid.SetSelectedIndex(1);
  grid.UserKeyPress(U'9');
  grid.UserKeyPress(U',');
  grid.UserKeyPress(U'5');
  ASSERT_TRUE(grid.EditorOpen());
  EXPECT_EQ(GridText(grid, "vrorigrec", false), "9,5");
  // Another field of the row still reads from the record.
  EXPECT_EQ(GridText(grid, "NRINSJURCLIESUB", false), "12345678901");
  EXPECT_EQ(data.FieldByName("VRORIGREC").AsFloat(), 1234.5);
}

TEST_F(GridTextTest, AFieldTheDatasetLacksIsAnError) {
  EXPECT_THROW(GridText(grid, "NAOEXISTE", false), Exception);
}

TEST_F(GridTextTest, IndiceColFindsTheColumnByFieldName) {
  EXPECT_EQ(IndiceCol(grid, "NRINSJURCLIESUB"), 0);
  EXPECT_EQ(IndiceCol(grid, "dtvencimento"), 2);
  EXPECT_EQ(IndiceCol(grid, "CDCLIENTE"), -1);
}

TEST(SetChildEnabledTest, SwitchesTheDirectChildrenAndNestedOnesFollow) {
  TForm form;
  TPanel panel;
  TEdit first;
  TGroupBox group;
  TEdit inner;
  panel.SetParent(&form);
  first.SetParent(&panel);
  group.SetParent(&panel);
  inner.SetParent(&group);
  inner.SetEnabled(false);  // kept off by its screen

  SetChildEnabled(panel, false);
  EXPECT_FALSE(first.Enabled());
  EXPECT_FALSE(group.Enabled());
  EXPECT_FALSE(inner.EffectivelyEnabled());
  EXPECT_TRUE(panel.Enabled());

  SetChildEnabled(panel, true);
  EXPECT_TRUE(first.Enabled());
  EXPECT_TRUE(group.Enabled());
  EXPECT_FALSE(inner.Enabled());
}

}  // namespace
