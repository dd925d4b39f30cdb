#include <gtest/gtest.h>

#include "data/data_source.h"
#include "ui/db_grid.h"
#include "ui/db_text.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/scripted_ui.h"

namespace {

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui);
    data.AddField("CDCLIENTE", FieldType::String, 10);
    data.AddField("IDCONTPROCESDIST", FieldType::String, 1);
    data.AddField("VRRECECONTOREV", FieldType::Float);
    data.CreateDataSet();
    Row("001", "S", 10.5);
    Row("002", "N", 1234.56);
    Row("003", "C", 0);
    data.First();
    data.AfterScroll = [this](TClientDataSet&) { ++scrolls; };
    grid.SetParent(&form);
    grid.SetDataSource(&source);
    grid.AddColumn("CDCLIENTE");
    grid.AddColumn("IDCONTPROCESDIST");
    grid.AddColumn("VRRECECONTOREV");
    form.Show();
  }
  void TearDown() override { SetUi(nullptr); }
  void Row(const char* code, const char* proc, double value) {
    data.Append();
    data.FieldByName("CDCLIENTE").SetAsString(code);
    data.FieldByName("IDCONTPROCESDIST").SetAsString(proc);
    data.FieldByName("VRRECECONTOREV").SetAsFloat(value);
    data.Post();
  }

  ScriptedUi ui;
  TClientDataSet data{"cdsContratante"};
  TDataSource source{"dtsPadrao", &data};
  TForm form;
  TDBGrid grid;
  int scrolls = 0;
};

TEST_F(GridTest, DefaultStyleShowsDisplayTextWithNumbersRight) {
  TCellStyle code = grid.CellStyle(2, 0);
  EXPECT_EQ(code.text, "002");
  EXPECT_EQ(code.alignment, taLeftJustify);
  EXPECT_EQ(code.background, clWindow);
  TCellStyle value = grid.CellStyle(2, 2);
  EXPECT_EQ(value.alignment, taRightJustify);
  EXPECT_EQ(value.text, "1234,56");
  // Reading other rows neither scrolls nor moves the current record.
  EXPECT_EQ(scrolls, 0);
  EXPECT_EQ(data.RecNo(), 1);
  EXPECT_EQ(grid.CellStyle(9, 0).text, "");
}

TEST_F(GridTest, ColumnsWithoutAWidthFitTheirFieldAndTitle) {
  // Every character 6 pixels wide, 7 in bold.
  SetTextWidthMeasure([](const TFont& font, const std::string& text) {
    return static_cast<int>(text.size()) * (font.bold ? 7 : 6);
  });
  data.FieldByName("CDCLIENTE").SetDisplayLabel("Cliente");
  data.FieldByName("VRRECECONTOREV").SetDisplayLabel("Valor");
  EXPECT_EQ(grid.Columns(0).Width(), 10 * 6 + 4);  // a text field: its size in characters
  EXPECT_EQ(grid.Columns(2).Width(), 10 * 6 + 4);  // a number: ten characters
  // Never narrower than the title.
  EXPECT_EQ(grid.Columns(1).Width(), static_cast<int>(std::string("IDCONTPROCESDIST").size()) * 6 + 10);
  TFont bold;
  bold.bold = true;
  grid.SetTitleFont(bold);
  grid.Columns(0).SetTitleCaption("Código do cliente");
  EXPECT_EQ(grid.Columns(0).Width(), TextWidth(bold, "Código do cliente") + 10);
  // A width given stays as given.
  grid.Columns(2).SetWidth(40);
  EXPECT_EQ(grid.Columns(2).Width(), 40);
  EXPECT_TRUE(grid.Columns(2).WidthSet());
  EXPECT_FALSE(grid.Columns(1).WidthSet());
  // A column without a field keeps the old default.
  EXPECT_EQ(grid.AddColumn("NOFIELD").Width(), 64);
  SetTextWidthMeasure(nullptr);
}

TEST_F(GridTest, DrawHandlerOverridesTheStylePerRow) {
  grid.OnDrawColumnCell = [](TDBGrid& g, const TRect&, int, TColumn& column, TGridDrawState state,
                             TCellStyle& style) {
    style.background = clInfoBk;
    std::string proc = g.DataSet()->FieldByName("IDCONTPROCESDIST").AsString();
    style.font_color = proc == "S" ? clRed : proc == "C" ? clOlive : clWindowText;
    if (column.FieldName() == "VRRECECONTOREV") style.offset_y = 3;
    if (state & gdSelected) style.background = clHighlight;
  };
  EXPECT_EQ(grid.CellStyle(1, 0).font_color, clRed);
  EXPECT_EQ(grid.CellStyle(2, 0).font_color, clWindowText);
  EXPECT_EQ(grid.CellStyle(3, 1).font_color, clOlive);
  EXPECT_EQ(grid.CellStyle(3, 2).offset_y, 3);
  EXPECT_EQ(grid.CellStyle(2, 0).background, clInfoBk);
  grid.SetFocus();
  EXPECT_EQ(grid.CellStyle(1, 0).background, clHighlight);  // current row, selected column
  EXPECT_EQ(grid.CellStyle(1, 1).background, clInfoBk);
  EXPECT_EQ(scrolls, 0);
}

TEST_F(GridTest, KeyHandlerSwallowsDelete) {
  grid.SetFocus();
  ui.AnswerMessage(mrOk);
  grid.UserKeyDown(VK_DELETE, ssCtrl);
  EXPECT_EQ(data.RecordCount(), 2);
  EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Excluir registro?"}));
  grid.OnKeyDown = [](TComponent*, int& key, TShiftState) {
    if (key == VK_DELETE) key = 0;
  };
  EXPECT_EQ(grid.UserKeyDown(VK_DELETE, ssCtrl), 0);
  EXPECT_EQ(data.RecordCount(), 2);
  EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST_F(GridTest, TitleClickHandsOverTheColumn) {
  grid.OnTitleClick = [](TColumn& column) {
    column.Grid().DataSet()->SetIndexFieldNames(column.FieldName());
  };
  data.Last();
  grid.UserTitleClick(1);
  EXPECT_EQ(data.IndexFieldNames(), "IDCONTPROCESDIST");
  data.First();
  EXPECT_EQ(data.FieldByName("IDCONTPROCESDIST").AsString(), "C");
  grid.ExcludeOptions(dgTitles);
  grid.UserTitleClick(0);
  EXPECT_EQ(data.IndexFieldNames(), "IDCONTPROCESDIST");
}

TEST_F(GridTest, ColumnExitCanRefuseAndCellSelectionMovesTheRecord) {
  std::vector<std::string> log;
  grid.OnColExit = [&](TComponent*) {
    log.push_back("exit " + grid.SelectedColumn()->FieldName());
    if (grid.SelectedIndex() == 1) throw Exception("Inscrição inválida.");
  };
  grid.OnColEnter = [&](TComponent*) { log.push_back("enter " + grid.SelectedColumn()->FieldName()); };
  grid.UserSelectCell(2, 1);
  EXPECT_EQ(data.RecNo(), 2);
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(grid.SelectedIndex(), 1);
  grid.UserSelectCell(3, 2);
  EXPECT_EQ(grid.SelectedIndex(), 1);
  EXPECT_EQ(data.RecNo(), 2);  // the refused column exit stopped the whole move
  EXPECT_EQ(ui.Exceptions(), (std::vector<std::string>{"Inscrição inválida."}));
  EXPECT_EQ(log, (std::vector<std::string>{"exit CDCLIENTE", "enter IDCONTPROCESDIST", "exit IDCONTPROCESDIST"}));
}

TEST_F(GridTest, UserEditingWritesTheFieldThroughTheDataSet) {
  grid.SetFocus();
  grid.SetSelectedIndex(2);
  grid.UserKeyPress(U'7');
  grid.UserKeyPress(U',');
  grid.UserKeyPress(U'5');
  EXPECT_TRUE(grid.EditorOpen());
  EXPECT_EQ(grid.EditorText(), "7,5");
  EXPECT_EQ(data.State(), dsBrowse);
  grid.UserKeyDown(VK_RETURN);
  EXPECT_EQ(data.State(), dsEdit);
  EXPECT_DOUBLE_EQ(data.FieldByName("VRRECECONTOREV").AsFloat(), 7.5);

  grid.Columns(0).SetReadOnly(true);
  grid.SetSelectedIndex(0);
  grid.UserSetCellText("999");
  EXPECT_EQ(data.FieldByName("CDCLIENTE").AsString(), "001");
  grid.Columns(0).SetReadOnly(false);
  grid.ExcludeOptions(dgEditing);
  grid.UserSetCellText("999");
  EXPECT_EQ(data.FieldByName("CDCLIENTE").AsString(), "001");
  grid.IncludeOptions(dgEditing);
  grid.UserSetCellText("999");
  EXPECT_EQ(data.FieldByName("CDCLIENTE").AsString(), "999");
}

TEST_F(GridTest, DataTextFollowsTheCurrentRecordAndItsSource) {
  auto& dbt = form.Add<TDBText>("dbtNome", &form);
  dbt.SetDataSource(&source);
  dbt.SetDataField("CDCLIENTE");
  EXPECT_EQ(dbt.Caption(), "001");
  data.Next();
  EXPECT_EQ(dbt.Caption(), "002");
  grid.CellStyle(3, 0);  // reading rows for drawing is not a move
  EXPECT_EQ(dbt.Caption(), "002");
  data.Close();
  EXPECT_EQ(dbt.Caption(), "");
}

TEST_F(GridTest, DataSourceOwnedByTheFormIsDroppedWhenDestroyed) {
  TForm owner;
  auto& dts = owner.Own<TDataSource>("dtsContas", "dtsContas", &data);
  auto& g = owner.Add<TDBGrid>("dbgContasGeradas", &owner);
  g.SetDataSource(&dts);
  owner.DestroyComponent(owner.FindComponent("dtsContas"));
  EXPECT_EQ(g.DataSource(), nullptr);
  EXPECT_EQ(g.RowCount(), 0);
}

}  // namespace
