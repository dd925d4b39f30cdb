// The UI service with real windows, driven the way a person would: a timer
// finds the open dialog and presses its buttons.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "data/client_dataset.h"
#include "qt/busy_indicator.h"
#include "qt/dialog_placement.h"
#include "qt/qt_ui.h"
#include "ui/buttons.h"
#include "ui/containers.h"
#include "ui/form.h"

namespace {

// Calls `act` with the first modal widget of type W once one shows up.
template <class W>
void whenModal(std::function<void(W*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(w);
    }
  });
  timer->start();
}

QStringList buttonTexts(QMessageBox* box) {
  QStringList texts;
  for (QAbstractButton* b : box->buttons()) texts << b->text();
  texts.sort();
  return texts;
}

QAbstractButton* buttonNamed(QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons())
    if (b->text() == text) return b;
  return nullptr;
}

class QtUiTest : public ::testing::Test {
 protected:
  void SetUp() override { ui.install(); }
  QWidget mainWindow;
  dxqt::QtUi ui{&mainWindow};
};

TEST_F(QtUiTest, AQuestionHasSimAndNao) {
  QStringList seen;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  whenModal<QMessageBox>([&](QMessageBox* box) {
    seen = buttonTexts(box);
    text = box->text();
    icon = box->icon();
    buttonNamed(box, "Não")->click();
  });
  const TModalResult r = MessageDlg("Confirma o cancelamento?", mtConfirmation, mbYesNo);
  EXPECT_EQ(seen, (QStringList{"Não", "Sim"}));
  EXPECT_EQ(text, "Confirma o cancelamento?");
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(r, mrNo);
}

TEST_F(QtUiTest, SimAnswersYes) {
  whenModal<QMessageBox>([](QMessageBox* box) { buttonNamed(box, "Sim")->click(); });
  EXPECT_EQ(MessageDlg("Continuar?", mtWarning, mbYesNo), mrYes);
}

TEST_F(QtUiTest, OkAndCancelarAreLabelledInPortuguese) {
  QStringList seen;
  whenModal<QMessageBox>([&](QMessageBox* box) {
    seen = buttonTexts(box);
    buttonNamed(box, "Cancelar")->click();
  });
  EXPECT_EQ(MessageDlg("Texto", mtInformation, mbOKCancel), mrCancel);
  EXPECT_EQ(seen, (QStringList{"Cancelar", "OK"}));
}

TEST_F(QtUiTest, AnExceptionIsShownAsAnError) {
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  whenModal<QMessageBox>([&](QMessageBox* box) {
    text = box->text();
    icon = box->icon();
    buttonNamed(box, "OK")->click();
  });
  ui.ShowException("Orçamento não cadastrado.");
  EXPECT_EQ(text, "Orçamento não cadastrado.");
  EXPECT_EQ(icon, QMessageBox::Critical);
}

class OkForm : public TForm {
 public:
  OkForm() {
    SetName("frmConfValores");
    SetCaption("Valores");
    SetBounds(0, 0, 300, 120);
    btnOk = &Add<TButton>("btnOk", this);
    btnOk->SetCaption("OK");
    btnOk->SetModalResult(mrOk);
    btnOk->SetBounds(10, 10, 75, 25);
  }
  TButton* btnOk;
};

TEST_F(QtUiTest, AModalFormEndsWithTheButtonsModalResult) {
  OkForm form;
  bool shown = false;
  whenModal<QDialog>([&](QDialog* dialog) {
    shown = dialog->windowTitle() == "Valores";
    dialog->findChild<QPushButton*>("btnOk")->click();
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(form.Visible());
}

// A dialog with a filling control grows with its window; one with a fixed
// border keeps the size it was designed for.
class FillingForm : public OkForm {
 public:
  FillingForm() {
    SetBounds(0, 0, 300, 200);
    panGrade = &Add<TPanel>("panGrade", this);
    panGrade->SetAlign(alClient);
  }
  TPanel* panGrade;
};

TEST_F(QtUiTest, ASizeableDialogLaysItsFormOutForItsSize) {
  FillingForm form;
  QSize grown;
  whenModal<QDialog>([&](QDialog* dialog) {
    dialog->resize(dialog->width() + 200, dialog->height() + 100);
    QApplication::processEvents();
    grown = QSize(form.Width(), form.Height());
    dialog->findChild<QPushButton*>("btnOk")->click();
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(grown, QSize(500, 300));
  EXPECT_EQ(form.panGrade->BoundsRect(), (TRect{0, 0, 500, 300}));
}

TEST_F(QtUiTest, AFixedBorderDialogKeepsItsSize) {
  FillingForm form;
  form.SetBorderStyle(bsDialog);
  QSize minimum, maximum;
  whenModal<QDialog>([&](QDialog* dialog) {
    minimum = dialog->minimumSize();
    maximum = dialog->maximumSize();
    dialog->resize(dialog->width() + 200, dialog->height() + 100);
    QApplication::processEvents();
    dialog->findChild<QPushButton*>("btnOk")->click();
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(minimum, maximum);
  EXPECT_EQ(form.Width(), 300);
  EXPECT_EQ(form.Height(), 200);
}

TEST_F(QtUiTest, ClosingAModalFormCancels) {
  OkForm form;
  whenModal<QDialog>([&](QDialog* dialog) { dialog->close(); });
  EXPECT_EQ(form.ShowModal(), mrCancel);
}

// Where a dialog opens: its window's frame where its position puts it.
class PlacementTest : public QtUiTest {
 protected:
  QRect openedFrame(TPosition position) {
    OkForm form;
    form.SetPosition(position);
    form.SetBounds(40, 30, 300, 120);
    QRect frame;
    whenModal<QDialog>([&](QDialog* dialog) {
      frame = dialog->frameGeometry();
      dialog->findChild<QPushButton*>("btnOk")->click();
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    return frame;
  }
  void showMainWindowAt(const QRect& frame) {
    mainWindow.setGeometry(frame);
    mainWindow.show();
    mainWindow.activateWindow();
    QApplication::processEvents();
  }
  static QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
  // The margins of `inner` within `outer` match on each axis, to the pixel.
  static void expectCentred(const QRect& inner, const QRect& outer) {
    EXPECT_LE(std::abs((inner.left() - outer.left()) - (outer.right() - inner.right())), 1)
        << inner.x() << " in " << outer.x() << "+" << outer.width();
    EXPECT_LE(std::abs((inner.top() - outer.top()) - (outer.bottom() - inner.bottom())), 1)
        << inner.y() << " in " << outer.y() << "+" << outer.height();
  }
};

TEST_F(PlacementTest, AScreenCentredDialogOpensInTheMiddleOfTheScreen) {
  showMainWindowAt(QRect(0, 0, 360, 240));
  expectCentred(openedFrame(poScreenCenter), screenArea());
}

TEST_F(PlacementTest, AnOwnerCentredDialogOpensOverItsOwner) {
  showMainWindowAt(QRect(screenArea().width() - 420, screenArea().height() - 300, 400, 280));
  expectCentred(openedFrame(poOwnerFormCenter), mainWindow.frameGeometry());
}

TEST(DialogPosition, KeepsTheWindowOnTheScreen) {
  const QRect screen(0, 0, 800, 600);
  // Over an owner at the right edge: as far right as the screen lets it.
  EXPECT_EQ(dxqt::dialogPosition(poOwnerFormCenter, QSize(300, 100), screen, QRect(700, 0, 100, 100), {}),
            QPoint(500, 0));
  // Larger than the screen: its top-left corner shows.
  EXPECT_EQ(dxqt::dialogPosition(poScreenCenter, QSize(1000, 700), screen, {}, {}), QPoint(0, 0));
  EXPECT_EQ(dxqt::dialogPosition(poScreenCenter, QSize(200, 100), screen, {}, {}), QPoint(300, 250));
  // Designed: its own place without an owner, the window system's with one.
  EXPECT_EQ(dxqt::dialogPosition(poDesigned, QSize(200, 100), screen, {}, QPoint(20, 30)), QPoint(20, 30));
  EXPECT_FALSE(dxqt::dialogPosition(poDesigned, QSize(200, 100), screen, QRect(0, 0, 50, 50), {}).has_value());
}

class PickListTest : public QtUiTest {
 protected:
  void SetUp() override {
    QtUiTest::SetUp();
    data.AddField("CDFILIAL", FieldType::String, 4).SetDisplayLabel("Código");
    data.AddField("NMFILIAL", FieldType::String, 30).SetDisplayLabel("Nome");
    data.AddField("OCULTO", FieldType::String, 1).SetVisible(false);
    data.CreateDataSet();
    for (auto [code, name] : {std::pair{"0001", "Matriz"}, {"0002", "Filial Sul"}, {"0003", "Filial Norte"}}) {
      data.Append();
      data.FieldByName("CDFILIAL").SetAsString(code);
      data.FieldByName("NMFILIAL").SetAsString(name);
      data.Post();
    }
    data.First();
  }
  TClientDataSet data{"qryFilial"};
};

TEST_F(PickListTest, PickingARowMakesItCurrent) {
  QStringList titles;
  int rows = 0;
  whenModal<QDialog>([&](QDialog* dialog) {
    auto* table = dialog->findChild<QTableWidget*>("rows");
    rows = table->rowCount();
    for (int c = 0; c < table->columnCount(); ++c) titles << table->horizontalHeaderItem(c)->text();
    table->selectRow(1);
    dialog->findChild<QPushButton*>("OK")->click();
  });
  EXPECT_TRUE(Ui().PickList(data, "Filial", "Não há filial cadastrada."));
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(titles, (QStringList{"Código", "Nome"}));
  EXPECT_EQ(data.FieldByName("CDFILIAL").AsString(), "0002");
}

TEST_F(PickListTest, CancelarLeavesTheRecord) {
  whenModal<QDialog>([&](QDialog* dialog) {
    dialog->findChild<QTableWidget*>("rows")->selectRow(2);
    dialog->findChild<QPushButton*>("Cancelar")->click();
  });
  EXPECT_FALSE(Ui().PickList(data, "Filial", "Não há filial cadastrada."));
  EXPECT_EQ(data.RecNo(), 1);
}

TEST_F(PickListTest, AnEmptyListSaysSo) {
  data.EmptyDataSet();
  QString text;
  whenModal<QMessageBox>([&](QMessageBox* box) {
    text = box->text();
    buttonNamed(box, "OK")->click();
  });
  EXPECT_FALSE(Ui().PickList(data, "Filial", "Não há filial cadastrada."));
  EXPECT_EQ(text, "Não há filial cadastrada.");
}

TEST_F(QtUiTest, ProgressShowsAndHidesTheBusyIndicator) {
  mainWindow.resize(400, 300);
  mainWindow.show();
  ui.ShowProgress("Calculando o valor da multa.");
  ASSERT_TRUE(ui.busyIndicator());
  EXPECT_TRUE(ui.busyIndicator()->isVisible());
  EXPECT_EQ(ui.busyIndicator()->text(), "Calculando o valor da multa.");
  ui.HideProgress();
  EXPECT_FALSE(ui.busyIndicator()->isVisible());
}

TEST_F(QtUiTest, TheWaitCursorComesAndGoes) {
  ui.SetCursor(crHourGlass);
  ASSERT_TRUE(QApplication::overrideCursor());
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ui.SetCursor(crDefault);
  EXPECT_FALSE(QApplication::overrideCursor());
}

}  // namespace
