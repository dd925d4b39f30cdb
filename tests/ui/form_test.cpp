#include <gtest/gtest.h>

#include "ui/application.h"
#include "ui/buttons.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/scripted_ui.h"

namespace {

class Dialog : public TForm {
 public:
  Dialog() {
    SetCaption("Confirmar Valores");
    Add<TEdit>("edtValor", this);
    auto& ok = Add<TButton>("sbtOk", this);
    ok.SetModalResult(mrOk);
    OnClose = [this](TComponent*, TCloseAction& action) {
      closes.push_back(ModalResult());
      if (refuse) action = caNone;
    };
  }
  std::vector<TModalResult> closes;
  bool refuse = false;
};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override { SetUi(&ui); }
  void TearDown() override { SetUi(nullptr); }
  ScriptedUi ui;
};

TEST_F(FormTest, ModalFormRunsItsDriverAndClosesThroughOnClose) {
  Dialog dlg;
  ui.DriveModal([](TForm& f) {
    EXPECT_TRUE(f.Modal());
    f.Find<TEdit>("edtValor").UserSetText("10");
    f.Find<TButton>("sbtOk").UserClick();
  });
  EXPECT_EQ(dlg.ShowModal(), mrOk);
  EXPECT_EQ(dlg.closes, (std::vector<TModalResult>{mrOk}));
  EXPECT_FALSE(dlg.Visible());
  EXPECT_FALSE(dlg.Modal());
  EXPECT_EQ(dlg.Find<TEdit>("edtValor").Text(), "10");
  ASSERT_EQ(ui.EventsOf(ScriptedUi::EventKind::Modal).size(), 1u);
  EXPECT_EQ(ui.EventsOf(ScriptedUi::EventKind::Modal)[0].text, "Confirmar Valores");
  EXPECT_FALSE(ui.AnyUnexpected());
}

TEST_F(FormTest, CloseOnAModalFormCancelsAndUndrivenFormsAreRecorded) {
  Dialog dlg;
  ui.DriveModal([](TForm& f) { f.Close(); });
  EXPECT_EQ(dlg.ShowModal(), mrCancel);
  EXPECT_EQ(dlg.closes, (std::vector<TModalResult>{mrCancel}));
  EXPECT_FALSE(ui.AnyUnexpected());

  EXPECT_EQ(dlg.ShowModal(), mrCancel);  // nothing queued: closed as by its close box
  EXPECT_TRUE(ui.AnyUnexpected());
  EXPECT_FALSE(ui.EventsOf(ScriptedUi::EventKind::Modal).back().scripted);
}

TEST_F(FormTest, OnCloseCanKeepTheModalFormOpen) {
  Dialog dlg;
  dlg.refuse = true;
  EXPECT_TRUE([&] {
    dlg.SetModalResult(mrOk);
    return !dlg.CloseModal();
  }());
  EXPECT_EQ(dlg.ModalResult(), mrNone);
}

TEST_F(FormTest, CloseCarriesOutTheActionLeftByOnClose) {
  TForm mdi;
  mdi.SetFormStyle(fsMDIChild);
  mdi.Show();
  EXPECT_EQ(Application().ActiveForm(), &mdi);
  mdi.Close();  // an MDI child minimises by default
  EXPECT_EQ(mdi.WindowState(), wsMinimized);
  EXPECT_TRUE(mdi.Visible());
  mdi.OnClose = [](TComponent*, TCloseAction& action) { action = caHide; };
  mdi.Close();
  EXPECT_FALSE(mdi.Visible());
  bool asked = false;
  mdi.OnCloseQuery = [&](TComponent*, bool& can) {
    asked = true;
    can = false;
  };
  mdi.Show();
  mdi.Close();
  EXPECT_TRUE(asked);
  EXPECT_TRUE(mdi.Visible());
}

TEST_F(FormTest, ActivationRunsOncePerSwitchAndReleaseDestroysLater) {
  struct Screen : TForm {
    int activations = 0;
    bool* destroyed;
    explicit Screen(bool* d) : destroyed(d) {
      OnActivate = [this](TComponent*) { ++activations; };
      OnDestroy = [this](TComponent*) { *destroyed = true; };
      OnCreate = [this](TComponent*) { SetCaption("Distrato Comercial"); };
    }
  };
  bool destroyed = false;
  Screen& screen = Application().CreateForm<Screen>("frmDistrato", &destroyed);
  EXPECT_EQ(screen.Caption(), "Distrato Comercial");
  TForm other;
  screen.Show();
  screen.UserActivate();
  EXPECT_EQ(screen.activations, 1);
  other.Show();
  screen.UserActivate();
  EXPECT_EQ(screen.activations, 2);
  screen.OnClose = [](TComponent*, TCloseAction& action) { action = caFree; };
  screen.Close();
  EXPECT_FALSE(destroyed);  // not while its own event may still be running
  EXPECT_NE(Application().FindComponent("frmDistrato"), nullptr);
  Application().ProcessReleases();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Application().FindComponent("frmDistrato"), nullptr);
}

TEST_F(FormTest, ActivateAndFirstFocusFailuresGoToTheDisplay) {
  TForm form;
  auto& edt = form.Add<TEdit>("medCdFilial", &form);
  form.OnActivate = [](TComponent*) { throw Exception("servidor fora"); };
  edt.OnEnter = [](TComponent*) { throw EAbort(); };
  EXPECT_NO_THROW(form.Show());
  EXPECT_EQ(ui.Exceptions(), (std::vector<std::string>{"servidor fora"}));
  EXPECT_TRUE(edt.Focused());
}

TEST_F(FormTest, AModalFormDoesNotGiveTheActivePlaceBackToAFormDestroyedMeanwhile) {
  TForm& screen = Application().CreateForm<TForm>("frmAtiva");
  screen.Show();
  ASSERT_EQ(Application().ActiveForm(), &screen);
  Dialog dlg;
  ui.DriveModal([](TForm& f) {
    Application().DestroyComponent(Application().FindComponent("frmAtiva"));
    f.Close();
  });
  EXPECT_EQ(dlg.ShowModal(), mrCancel);
  EXPECT_EQ(Application().ActiveForm(), nullptr);

  // A form that still exists gets its place back.
  TForm& kept = Application().CreateForm<TForm>("frmMantida");
  kept.Show();
  ui.DriveModal([](TForm& f) { f.Close(); });
  dlg.ShowModal();
  EXPECT_EQ(Application().ActiveForm(), &kept);
  Application().DestroyComponent(&kept);
}

}  // namespace
