// A grid rendered from its cell styles: the draw handler's colours, bold
// and alignment reach the screen; clicks and title clicks reach the grid.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QTableView>
#include <QTest>

#include "data/data_source.h"
#include "qt/form_view.h"
#include "qt/grid_model.h"
#include "ui/db_grid.h"
#include "ui/form.h"
#include "ui/scripted_ui.h"

namespace {

class GridViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui);
    data.AddField("CDCLIENTE", FieldType::String, 10);
    data.AddField("IDCONTPROCESDIST", FieldType::String, 1);
    data.AddField("VRRECECONTOREV", FieldType::Float);
    data.CreateDataSet();
    row("001", "S", 10.5);
    row("002", "N", 1234.56);
    row("003", "C", 0);
    data.First();
    grid.SetName("dbgPadrao");
    grid.SetParent(&form);
    grid.SetBounds(0, 0, 400, 120);
    grid.SetColor(clInfoBk);
    grid.SetDataSource(&source);
    grid.AddColumn("CDCLIENTE");
    grid.AddColumn("IDCONTPROCESDIST");
    grid.AddColumn("VRRECECONTOREV");
    // The list's colouring: red in the rescission process, bold for "C".
    grid.OnDrawColumnCell = [this](TDBGrid&, const TRect&, int, TColumn&, TGridDrawState state, TCellStyle& s) {
      s.background = clInfoBk;
      const std::string proc = data.FieldByName("IDCONTPROCESDIST").AsString();
      s.font_color = proc == "S" ? clRed : clWindowText;
      s.bold = proc == "C";
      if (state & gdSelected) {
        s.background = clHighlight;
        s.font_color = clHighlightText;
      }
    };
    form.SetBounds(0, 0, 420, 140);
    form.Show();
    view = std::make_unique<dxqt::FormView>(form);
    view->show();
    QApplication::processEvents();
    table = view->findChild<QTableView*>("dbgPadrao");
    ASSERT_TRUE(table);
  }
  void TearDown() override {
    view.reset();
    SetUi(nullptr);
  }
  void row(const char* code, const char* proc, double value) {
    data.Append();
    data.FieldByName("CDCLIENTE").SetAsString(code);
    data.FieldByName("IDCONTPROCESDIST").SetAsString(proc);
    data.FieldByName("VRRECECONTOREV").SetAsFloat(value);
    data.Post();
  }
  QVariant cell(int r, int c, int role) { return table->model()->data(table->model()->index(r, c), role); }

  ScriptedUi ui;
  TClientDataSet data{"cdsContratante"};
  TDataSource source{"dtsPadrao", &data};
  TForm form;
  TDBGrid grid;
  std::unique_ptr<dxqt::FormView> view;
  QTableView* table = nullptr;
};

TEST_F(GridViewTest, CellsShowTheDrawHandlersStyle) {
  ASSERT_EQ(table->model()->rowCount(), 3);
  ASSERT_EQ(table->model()->columnCount(), 3);
  EXPECT_EQ(cell(1, 0, Qt::DisplayRole).toString(), "002");
  EXPECT_EQ(cell(1, 0, Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0xFF, 0xE1));
  EXPECT_EQ(cell(1, 0, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
  // Row 1 is current and selected in the first column: the handler's highlight.
  EXPECT_EQ(cell(0, 1, Qt::ForegroundRole).value<QColor>(), QColor(0xFF, 0, 0));
  EXPECT_TRUE(cell(2, 0, Qt::FontRole).value<QFont>().bold());
  EXPECT_FALSE(cell(1, 0, Qt::FontRole).value<QFont>().bold());
  EXPECT_EQ(cell(1, 2, Qt::DisplayRole).toString(), "1234,56");
  EXPECT_TRUE(cell(1, 2, Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
  EXPECT_EQ(table->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "CDCLIENTE");
}

TEST_F(GridViewTest, ThePaintedCellHasTheHandlersBackground) {
  const QImage picture = table->viewport()->grab().toImage();
  const QRect second = table->visualRect(table->model()->index(1, 0));
  EXPECT_EQ(QColor(picture.pixel(second.center().x(), second.bottom() - 1)), QColor(0xFF, 0xFF, 0xE1));
}

TEST_F(GridViewTest, ClickingACellMovesTheCurrentRecord) {
  const QRect third = table->visualRect(table->model()->index(2, 1));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, third.center());
  EXPECT_EQ(data.RecNo(), 3);
  EXPECT_EQ(grid.SelectedIndex(), 1);
  EXPECT_EQ(table->currentIndex().row(), 2);
}

TEST_F(GridViewTest, ClickingATitleRunsTheTitleHandler) {
  std::string clicked;
  grid.OnTitleClick = [&](TColumn& column) { clicked = column.FieldName(); };
  QHeaderView* header = table->horizontalHeader();
  const int x = header->sectionViewportPosition(2) + header->sectionSize(2) / 2;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
  EXPECT_EQ(clicked, "VRRECECONTOREV");
}

TEST_F(GridViewTest, AReloadedDatasetIsShown) {
  data.EmptyDataSet();
  row("009", "N", 1);
  EXPECT_EQ(table->model()->rowCount(), 1);
  EXPECT_EQ(cell(0, 0, Qt::DisplayRole).toString(), "009");
}

TEST_F(GridViewTest, ArrowKeysMoveThroughTheToolkit) {
  grid.SetFocus();
  QTest::keyClick(table, Qt::Key_Down);
  EXPECT_EQ(data.RecNo(), 2);
  EXPECT_EQ(table->currentIndex().row(), 1);
}

// What the user types shows in the cell at once; Enter writes it to the
// field, Escape leaves the field's value.
TEST_F(GridViewTest, TypingShowsInTheCellBeforeEnter) {
  grid.SetOptions(grid.Options() | dgEditing);
  grid.SetSelectedIndex(0);
  grid.SetFocus();
  QTest::keyClicks(table, "07");
  EXPECT_EQ(cell(0, 0, Qt::DisplayRole).toString(), "07");
  EXPECT_EQ(data.FieldByName("CDCLIENTE").AsString(), "001");
  QTest::keyClick(table, Qt::Key_Backspace);
  EXPECT_EQ(cell(0, 0, Qt::DisplayRole).toString(), "0");
  QTest::keyClick(table, Qt::Key_Escape);
  EXPECT_EQ(cell(0, 0, Qt::DisplayRole).toString(), "001");
  QTest::keyClicks(table, "099");
  QTest::keyClick(table, Qt::Key_Return);
  EXPECT_EQ(data.FieldByName("CDCLIENTE").AsString(), "099");
  EXPECT_EQ(cell(0, 0, Qt::DisplayRole).toString(), "099");
  EXPECT_EQ(cell(1, 0, Qt::DisplayRole).toString(), "002");  // other rows keep their own
}

}  // namespace
