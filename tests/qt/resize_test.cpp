// The main screen's shape rendered: the window's size reaches the toolkit,
// which lays the form out again, and the splitters move with the mouse.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include "qt/form_view.h"
#include "qt/form_windows.h"
#include "ui/containers.h"
#include "ui/form.h"
#include "ui/scripted_ui.h"
#include "ui/splitter.h"

namespace {

class StackedForm : public TForm {
 public:
  StackedForm() {
    SetName("frmPilha");
    SetBounds(0, 0, 600, 400);
    dbgPadrao = &Add<TPanel>("dbgPadrao", this);
    dbgPadrao->SetHeight(100);
    dbgPadrao->SetAlign(alTop);
    Splitter1 = &Add<TSplitter>("Splitter1", this);
    Splitter1->SetAlign(alTop);
    Splitter1->SetHeight(3);
    Panel5 = &Add<TPanel>("Panel5", this);
    Panel5->SetAlign(alClient);
    dbgContasGeradas = &Add<TPanel>("dbgContasGeradas", Panel5);
    dbgContasGeradas->SetWidth(200);
    dbgContasGeradas->SetAlign(alLeft);
    Splitter2 = &Add<TSplitter>("Splitter2", Panel5);
    Splitter2->SetAlign(alLeft);
    Splitter2->SetWidth(3);
    dbgContaPagar = &Add<TPanel>("dbgContaPagar", Panel5);
    dbgContaPagar->SetAlign(alClient);
  }
  TPanel* dbgPadrao;
  TSplitter* Splitter1;
  TPanel* Panel5;
  TPanel* dbgContasGeradas;
  TSplitter* Splitter2;
  TPanel* dbgContaPagar;
};

class ResizeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui);
    form.Show();
    view = std::make_unique<dxqt::FormView>(form);
    view->resize(view->sizeHint());
    view->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    view.reset();
    SetUi(nullptr);
  }
  QWidget* widget(const char* name) { return view->findChild<QWidget*>(QString::fromLatin1(name)); }
  QRect toolkitRect(const TControl& c) {
    const TRect r = c.BoundsRect();
    return {r.left, r.top, r.Width(), r.Height()};
  }
  // Presses the left button on a widget, moves by `by` with it held, and lets go.
  void drag(QWidget* w, QPoint by) {
    const QPointF local(1, 1);
    const QPointF global = w->mapToGlobal(local.toPoint());
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent move(QEvent::MouseMove, local + by, global + by, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local + by, global + by, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
  }

  ScriptedUi ui;
  StackedForm form;
  std::unique_ptr<dxqt::FormView> view;
};

TEST_F(ResizeTest, TheFormOpensAtItsDesignSize) {
  EXPECT_EQ(view->clientArea()->size(), QSize(600, 400));
  EXPECT_EQ(form.Width(), 600);
}

TEST_F(ResizeTest, AResizedWindowLaysTheFormOutAgain) {
  view->resize(view->width() + 400, view->height() + 300);
  QApplication::processEvents();
  EXPECT_EQ(form.Width(), 1000);
  EXPECT_EQ(form.Height(), 700);
  // The list keeps its height; the rest and the right-hand grid take the room.
  EXPECT_EQ(widget("dbgPadrao")->geometry(), QRect(0, 0, 1000, 100));
  EXPECT_EQ(widget("Panel5")->geometry(), QRect(0, 103, 1000, 597));
  EXPECT_EQ(widget("dbgContasGeradas")->geometry(), QRect(0, 0, 200, 597));
  EXPECT_EQ(widget("dbgContaPagar")->geometry(), QRect(203, 0, 797, 597));
  EXPECT_EQ(widget("dbgContaPagar")->geometry(), toolkitRect(*form.dbgContaPagar));

  // Smaller again, down to the smallest the window allows.
  view->resize(100, 100);
  QApplication::processEvents();
  EXPECT_EQ(view->clientArea()->size(), QSize(form.Width(), form.Height()));
  EXPECT_GE(form.Width(), 400);
  EXPECT_EQ(widget("Panel5")->geometry(), toolkitRect(*form.Panel5));
}

TEST_F(ResizeTest, AFixedBorderKeepsTheFormAtItsSize) {
  form.SetBorderStyle(bsDialog);
  QApplication::processEvents();
  view->resize(view->width() + 400, view->height() + 300);
  QApplication::processEvents();
  EXPECT_EQ(view->clientArea()->minimumSize(), view->clientArea()->maximumSize());
  EXPECT_EQ(form.Width(), 600);
  EXPECT_EQ(form.Height(), 400);
}

TEST_F(ResizeTest, TheSplittersAreDraggedWithTheMouse) {
  QWidget* split1 = widget("Splitter1");
  ASSERT_TRUE(split1);
  EXPECT_EQ(split1->cursor().shape(), Qt::SplitVCursor);
  drag(split1, QPoint(0, 50));
  EXPECT_EQ(form.dbgPadrao->Height(), 150);
  EXPECT_EQ(widget("dbgPadrao")->height(), 150);
  EXPECT_EQ(widget("Panel5")->geometry(), toolkitRect(*form.Panel5));

  QWidget* split2 = widget("Splitter2");
  EXPECT_EQ(split2->cursor().shape(), Qt::SplitHCursor);
  drag(split2, QPoint(-120, 0));
  EXPECT_EQ(form.dbgContasGeradas->Width(), 80);
  EXPECT_EQ(widget("dbgContaPagar")->geometry(), toolkitRect(*form.dbgContaPagar));
  // Past the minimum the grid stops.
  drag(split2, QPoint(-500, 0));
  EXPECT_EQ(form.dbgContasGeradas->Width(), form.Splitter2->MinSize());
}

// The main screen is a child window of the host's MDI area: maximised with
// its title bar it fills the area, and the form knows its window state.
TEST(MdiChildResize, AMaximisedChildFillsTheAreaAndRestoresToItsSize) {
  ScriptedUi ui;
  SetUi(&ui);
  {
    QMdiArea area;
    area.resize(1200, 900);
    area.show();
    dxqt::FormWindows windows(&area);
    StackedForm form;
    form.SetFormStyle(fsMDIChild);
    form.Show();
    QApplication::processEvents();
    auto* sub = qobject_cast<QMdiSubWindow*>(windows.windowFor(form));
    ASSERT_TRUE(sub);
    EXPECT_EQ(form.Width(), 600);

    sub->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(form.WindowState(), wsMaximized);
    EXPECT_EQ(sub->size(), area.viewport()->size());
    // The form has all of the window but its frame.
    EXPECT_EQ(QSize(form.Width(), form.Height()), windows.viewFor(form)->clientArea()->size());
    EXPECT_GT(form.Width(), 1150);
    EXPECT_GT(form.Height(), 850);
    EXPECT_EQ(form.dbgContaPagar->BoundsRect().right, form.Width());
    EXPECT_EQ(form.Panel5->BoundsRect().bottom, form.Height());

    form.SetWindowState(wsNormal);
    QApplication::processEvents();
    EXPECT_FALSE(sub->isMaximized());
    EXPECT_EQ(form.Width(), 600);
    EXPECT_EQ(form.Height(), 400);
  }
  SetUi(nullptr);
}

}  // namespace
