// A form with one control of each kind, rendered: the widgets exist, show
// the toolkit's state, follow its changes and send the user's actions back.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "data/data_source.h"
#include "qt/form_view.h"
#include "ui/buttons.h"
#include "ui/check_controls.h"
#include "ui/containers.h"
#include "ui/db_grid.h"
#include "ui/db_text.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/mask_edit.h"
#include "ui/menu.h"
#include "ui/scripted_ui.h"
#include "ui/spin_edit.h"
#include "ui/splitter.h"
#include "ui/static_controls.h"

namespace {

class EveryControlForm : public TForm {
 public:
  EveryControlForm() {
    SetName("frmTeste");
    SetCaption("Teste");
    SetBounds(0, 0, 640, 480);
    panFiltro = &Add<TPanel>("panFiltro", this);
    panFiltro->SetBounds(0, 0, 640, 60);
    panFiltro->SetAlign(alTop);
    lblFilial = &Add<TLabel>("lblFilial", panFiltro);
    lblFilial->SetCaption("&Filial");
    lblFilial->SetBounds(8, 8, 40, 13);
    medCdFilial = &Add<TMaskEdit>("medCdFilial", panFiltro);
    medCdFilial->SetEditMask(">aaaa;0; ");
    medCdFilial->SetBounds(8, 24, 50, 21);
    edtOrcamento = &Add<TEdit>("edtOrcamento", panFiltro);
    edtOrcamento->SetBounds(70, 24, 100, 21);
    edtNmFilial = &Add<TEdit>("edtNmFilial", panFiltro);
    edtNmFilial->SetBounds(180, 24, 200, 21);
    edtNmFilial->SetEnabled(false);
    edtNmFilial->SetText("Matriz");
    grbTipo = &Add<TGroupBox>("grbTipo", this);
    grbTipo->SetCaption("Tipo de Distrato");
    grbTipo->SetBounds(0, 70, 200, 60);
    rbtParcial = &Add<TRadioButton>("rbtParcial", grbTipo);
    rbtParcial->SetCaption("Parcial");
    rbtParcial->SetBounds(8, 16, 80, 17);
    rbtParcial->SetChecked(true);
    rbtTotal = &Add<TRadioButton>("rbtTotal", grbTipo);
    rbtTotal->SetCaption("Total");
    rbtTotal->SetBounds(100, 16, 80, 17);
    chbProxMes = &Add<TCheckBox>("chbProxMes", this);
    chbProxMes->SetCaption("1ª Próximo Mês)");
    chbProxMes->SetBounds(210, 70, 120, 17);
    sbtDistrato = &Add<TButton>("sbtDistrato", this);
    sbtDistrato->SetCaption("Distrato Comercial");
    sbtDistrato->SetBounds(340, 70, 181, 42);
    sbtIncluir = &Add<TSpeedButton>("sbtIncluir", this);
    sbtIncluir->SetHint("Incluir");
    sbtIncluir->SetGlyph("incluir");
    btnPesquisa = &Add<TSpeedButton>("btnPesquisa", panFiltro);
    btnPesquisa->SetHint("Pesquisar");
    btnPesquisa->SetBounds(60, 24, 21, 21);
    sbtIncluir->SetBounds(530, 70, 40, 25);
    speParcela = &Add<TSpinEdit>("speParcela", this);
    speParcela->SetMinValue(1);
    speParcela->SetMaxValue(99);
    speParcela->SetValue(3);
    speParcela->SetBounds(210, 100, 60, 21);
    memObs = &Add<TMemo>("memObs", this);
    memObs->SetBounds(0, 140, 200, 50);
    memObs->SetText("linha 1\nlinha 2");
    pgcPadrao = &Add<TPageControl>("pgcPadrao", this);
    pgcPadrao->SetBounds(210, 140, 300, 100);
    tshPadrao = &Add<TTabSheet>("tshPadrao", pgcPadrao);
    tshPadrao->SetCaption("Dados");
    scbFolha = &Add<TScrollBox>("scbFolha", this);
    scbFolha->SetBounds(0, 250, 300, 100);
    splitter = &Add<TSplitter>("Splitter1", this);
    splitter->SetBounds(0, 355, 640, 3);
    imgLogo = &Add<TImage>("imgLogo", this);
    imgLogo->SetBounds(520, 140, 32, 32);
    dbgPadrao = &Add<TDBGrid>("dbgPadrao", this);
    dbgPadrao->SetBounds(310, 250, 320, 100);
    dbtNome = &Add<TDBText>("dbtNome", this);
    dbtNome->SetBounds(0, 360, 200, 17);
    mnuMenu = &Add<TMainMenu>("mnuMenu");
    mnuManutencao = &Add<TMenuItem>("mnuManutencao");
    mnuManutencao->SetCaption("&Manutenção");
    mnuMenu->Items().Add(*mnuManutencao);
    mnuDistrato = &Add<TMenuItem>("mnuDistrato");
    mnuDistrato->SetCaption("&Distrato");
    mnuDistrato->SetShortCut(TextToShortCut("Ctrl+D"));
    mnuManutencao->Add(*mnuDistrato);
    SetMenu(mnuMenu);
  }

  TPanel* panFiltro;
  TLabel* lblFilial;
  TMaskEdit* medCdFilial;
  TEdit* edtOrcamento;
  TEdit* edtNmFilial;
  TGroupBox* grbTipo;
  TRadioButton* rbtParcial;
  TRadioButton* rbtTotal;
  TCheckBox* chbProxMes;
  TButton* sbtDistrato;
  TSpeedButton* sbtIncluir;
  TSpeedButton* btnPesquisa;
  TSpinEdit* speParcela;
  TMemo* memObs;
  TPageControl* pgcPadrao;
  TTabSheet* tshPadrao;
  TScrollBox* scbFolha;
  TSplitter* splitter;
  TImage* imgLogo;
  TDBGrid* dbgPadrao;
  TDBText* dbtNome;
  TMainMenu* mnuMenu;
  TMenuItem* mnuManutencao;
  TMenuItem* mnuDistrato;
};

class FormViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui);
    form.Show();
    view = std::make_unique<dxqt::FormView>(form);
    view->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    view.reset();
    SetUi(nullptr);
  }
  template <class W>
  W* widget(const char* name) {
    return view->findChild<W*>(QString::fromLatin1(name));
  }

  ScriptedUi ui;
  EveryControlForm form;
  std::unique_ptr<dxqt::FormView> view;
};

TEST_F(FormViewTest, EveryControlKindHasItsWidget) {
  EXPECT_EQ(widget<QLabel>("lblFilial")->text(), "Filial");
  EXPECT_TRUE(widget<QLineEdit>("medCdFilial"));
  EXPECT_EQ(widget<QLineEdit>("edtNmFilial")->text(), "Matriz");
  EXPECT_FALSE(widget<QLineEdit>("edtNmFilial")->isEnabled());
  EXPECT_TRUE(widget<QLineEdit>("edtOrcamento")->isEnabled());
  EXPECT_EQ(widget<QGroupBox>("grbTipo")->title(), "Tipo de Distrato");
  EXPECT_TRUE(widget<QRadioButton>("rbtParcial")->isChecked());
  EXPECT_FALSE(widget<QRadioButton>("rbtTotal")->isChecked());
  EXPECT_EQ(widget<QCheckBox>("chbProxMes")->text(), "1ª Próximo Mês)");
  EXPECT_EQ(widget<QPushButton>("sbtDistrato")->text(), "Distrato Comercial");
  EXPECT_FALSE(widget<QToolButton>("sbtIncluir")->icon().isNull());
  EXPECT_EQ(widget<QToolButton>("sbtIncluir")->toolTip(), "Incluir");
  // No picture and no room for the hint: an ellipsis, the hint as tooltip.
  EXPECT_EQ(widget<QToolButton>("btnPesquisa")->text(), "…");
  EXPECT_EQ(widget<QToolButton>("btnPesquisa")->toolTip(), "Pesquisar");
  EXPECT_EQ(widget<QWidget>("speParcela")->findChild<QLineEdit*>("text")->text(), "3");
  EXPECT_EQ(widget<QPlainTextEdit>("memObs")->toPlainText(), "linha 1\nlinha 2");
  ASSERT_TRUE(widget<QWidget>("pgcPadrao"));
  EXPECT_EQ(widget<QWidget>("pgcPadrao")->findChild<QTabBar*>("tabs")->tabText(0), "Dados");
  EXPECT_TRUE(widget<QScrollArea>("scbFolha"));
  EXPECT_TRUE(widget<QWidget>("Splitter1"));
  EXPECT_TRUE(widget<QLabel>("imgLogo"));
  EXPECT_TRUE(widget<QTableView>("dbgPadrao"));
  EXPECT_TRUE(widget<QLabel>("dbtNome"));
  ASSERT_TRUE(view->menuBar()->isVisibleTo(view.get()));
  ASSERT_EQ(view->menuBar()->actions().size(), 1);
  EXPECT_EQ(view->menuBar()->actions()[0]->text(), "&Manutenção");
}

TEST_F(FormViewTest, WidgetsSitAtTheToolkitsBoundsInsideTheirParents) {
  QLineEdit* edit = widget<QLineEdit>("edtOrcamento");
  EXPECT_EQ(edit->parentWidget(), widget<QWidget>("panFiltro"));
  EXPECT_EQ(edit->geometry(), QRect(70, 24, 100, 21));
  EXPECT_EQ(widget<QRadioButton>("rbtTotal")->parentWidget(), widget<QGroupBox>("grbTipo"));
}

TEST_F(FormViewTest, WidgetsFollowPropertyChanges) {
  form.sbtDistrato->SetCaption("Outro");
  form.sbtDistrato->SetEnabled(false);
  form.edtOrcamento->SetText("0000000101");
  form.rbtTotal->SetChecked(true);
  form.lblFilial->SetVisible(false);
  form.sbtDistrato->SetBounds(10, 20, 30, 40);
  EXPECT_EQ(widget<QPushButton>("sbtDistrato")->text(), "Outro");
  EXPECT_FALSE(widget<QPushButton>("sbtDistrato")->isEnabled());
  EXPECT_EQ(widget<QPushButton>("sbtDistrato")->geometry(), QRect(10, 20, 30, 40));
  EXPECT_EQ(widget<QLineEdit>("edtOrcamento")->text(), "0000000101");
  EXPECT_TRUE(widget<QRadioButton>("rbtTotal")->isChecked());
  EXPECT_FALSE(widget<QRadioButton>("rbtParcial")->isChecked());
  EXPECT_FALSE(widget<QLabel>("lblFilial")->isVisible());
}

TEST_F(FormViewTest, ControlsAddedLaterAreRendered) {
  auto& extra = form.Add<TButton>("btnExtra", form.panFiltro);
  extra.SetCaption("Extra");
  ASSERT_TRUE(widget<QPushButton>("btnExtra"));
  EXPECT_EQ(widget<QPushButton>("btnExtra")->parentWidget(), widget<QWidget>("panFiltro"));
  form.DestroyComponent(&extra);
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(widget<QPushButton>("btnExtra"));
}

TEST_F(FormViewTest, ClickingTheQtButtonRunsTheToolkitHandler) {
  int clicks = 0;
  form.sbtDistrato->OnClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, form.sbtDistrato);
    ++clicks;
  };
  QTest::mouseClick(widget<QPushButton>("sbtDistrato"), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  // The toolkit's click takes the focus first, and Qt follows.
  EXPECT_EQ(form.ActiveControl(), form.sbtDistrato);

  int speedClicks = 0;
  form.sbtIncluir->OnClick = [&](TComponent*) { ++speedClicks; };
  QTest::mouseClick(widget<QToolButton>("sbtIncluir"), Qt::LeftButton);
  EXPECT_EQ(speedClicks, 1);
}

TEST_F(FormViewTest, ClickingARadioButtonChecksItThroughTheToolkit) {
  int clicks = 0;
  form.rbtTotal->OnClick = [&](TComponent*) { ++clicks; };
  QTest::mouseClick(widget<QRadioButton>("rbtTotal"), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(form.rbtTotal->Checked());
  EXPECT_FALSE(form.rbtParcial->Checked());
  EXPECT_FALSE(widget<QRadioButton>("rbtParcial")->isChecked());
}

TEST_F(FormViewTest, QtFocusRunsTheToolkitsEnterAndExitHandlers) {
  std::vector<std::string> log;
  form.medCdFilial->OnExit = [&](TComponent*) { log.push_back("medCdFilial.exit"); };
  form.panFiltro->OnExit = [&](TComponent*) { log.push_back("panFiltro.exit"); };
  form.chbProxMes->OnEnter = [&](TComponent*) { log.push_back("chbProxMes.enter"); };
  form.medCdFilial->SetFocus();
  log.clear();
  widget<QCheckBox>("chbProxMes")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(log, (std::vector<std::string>{"medCdFilial.exit", "panFiltro.exit", "chbProxMes.enter"}));
  EXPECT_EQ(form.ActiveControl(), form.chbProxMes);
}

TEST_F(FormViewTest, ARefusedExitKeepsTheFocusOnBothSides) {
  form.edtOrcamento->OnExit = [&](TComponent*) { throw EAbort(); };
  form.edtOrcamento->SetFocus();
  QApplication::processEvents();
  widget<QLineEdit>("medCdFilial")->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(form.ActiveControl(), form.edtOrcamento);
  EXPECT_TRUE(widget<QLineEdit>("edtOrcamento")->hasFocus());
}

TEST_F(FormViewTest, TypingGoesThroughTheToolkitEdit) {
  int changes = 0;
  form.edtOrcamento->SetCharCase(ecUpperCase);
  form.edtOrcamento->OnChange = [&](TComponent*) { ++changes; };
  form.edtOrcamento->SetFocus();
  QTest::keyClicks(widget<QLineEdit>("edtOrcamento"), "ab1");
  EXPECT_EQ(form.edtOrcamento->Text(), "AB1");
  EXPECT_EQ(widget<QLineEdit>("edtOrcamento")->text(), "AB1");
  EXPECT_EQ(changes, 3);
  QTest::keyClick(widget<QLineEdit>("edtOrcamento"), Qt::Key_Backspace);
  EXPECT_EQ(form.edtOrcamento->Text(), "AB");
}

TEST_F(FormViewTest, TheEditsSelectionIsShownAndTypingReplacesIt) {
  QLineEdit* line = widget<QLineEdit>("edtOrcamento");
  form.edtOrcamento->SetText("çé0101");
  form.edtOrcamento->SetFocus();
  form.edtOrcamento->SelectAll();
  EXPECT_EQ(line->selectedText(), QString::fromUtf8("çé0101"));
  form.edtOrcamento->SetSelStart(1);
  form.edtOrcamento->SetSelLength(2);
  EXPECT_EQ(line->selectedText(), QString::fromUtf8("é0"));
  EXPECT_EQ(line->selectionStart(), 1);
  form.edtOrcamento->SelectAll();
  QTest::keyClicks(line, "7");
  EXPECT_EQ(form.edtOrcamento->Text(), "7");
  EXPECT_EQ(line->text(), "7");
  EXPECT_FALSE(line->hasSelectedText());
}

TEST_F(FormViewTest, AKeyPressHandlerCanDropACharacter) {
  form.edtOrcamento->OnKeyPress = [](TComponent*, char32_t& key) {
    if (key == U'x') key = 0;
  };
  form.edtOrcamento->SetFocus();
  QTest::keyClicks(widget<QLineEdit>("edtOrcamento"), "1x2");
  EXPECT_EQ(form.edtOrcamento->Text(), "12");
}

TEST_F(FormViewTest, MaskedEditTypesThroughTheMask) {
  form.medCdFilial->SetFocus();
  QTest::keyClicks(widget<QLineEdit>("medCdFilial"), "ab1-");
  EXPECT_EQ(form.medCdFilial->Text(), "AB1");
  EXPECT_EQ(widget<QLineEdit>("medCdFilial")->text().trimmed(), "AB1");
}

TEST_F(FormViewTest, MenuItemsRunTheirHandlersAndCarryTheirShortcuts) {
  int runs = 0;
  form.mnuDistrato->OnClick = [&](TComponent*) { ++runs; };
  QAction* action = view->findChild<QAction*>("mnuDistrato");
  ASSERT_TRUE(action);
  EXPECT_EQ(action->shortcut(), QKeySequence("Ctrl+D"));
  action->trigger();
  EXPECT_EQ(runs, 1);
  form.mnuDistrato->SetEnabled(false);
  EXPECT_FALSE(action->isEnabled());
}

TEST_F(FormViewTest, SpinArrowsStepTheValue) {
  QToolButton* up = widget<QWidget>("speParcela")->findChild<QToolButton*>("up");
  ASSERT_TRUE(up);
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_EQ(form.speParcela->Value(), 4);
}

}  // namespace
