#include <gtest/gtest.h>

#include "ui/buttons.h"
#include "ui/containers.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/scripted_ui.h"

namespace {

// panA { edA1, edA2 }, panB { grpB { edB1 } }, btnOk, sbtGo
class FocusForm : public TForm {
 public:
  explicit FocusForm(std::vector<std::string>& log) {
    auto& panA = Add<TPanel>("panA", this);
    auto& panB = Add<TPanel>("panB", this);
    auto& grpB = Add<TGroupBox>("grpB", &panB);
    Add<TEdit>("edA1", &panA);
    Add<TEdit>("edA2", &panA);
    Add<TEdit>("edB1", &grpB);
    Add<TButton>("btnOk", this);
    Add<TSpeedButton>("sbtGo", this);
    for (const char* name : {"panA", "panB", "grpB", "edA1", "edA2", "edB1", "btnOk"}) {
      auto& c = Find<TWinControl>(name);
      std::string n = name;
      c.OnEnter = [&log, n](TComponent*) { log.push_back("enter " + n); };
      c.OnExit = [&log, n](TComponent*) { log.push_back("exit " + n); };
    }
  }
  TWinControl& W(const char* name) { return Find<TWinControl>(name); }
};

class FocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui);
    form.Show();
    log.clear();
  }
  void TearDown() override { SetUi(nullptr); }
  ScriptedUi ui;
  std::vector<std::string> log;
  FocusForm form{log};
};

TEST_F(FocusTest, ExitsInnermostFirstThenEntersOutermostFirst) {
  form.W("edA1").SetFocus();
  log.clear();
  form.W("edB1").SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"exit edA1", "exit panA", "enter panB", "enter grpB", "enter edB1"}));
  EXPECT_TRUE(form.W("edB1").Focused());
  EXPECT_EQ(form.ActiveControl(), &form.W("edB1"));
}

TEST_F(FocusTest, MovingWithinAContainerDoesNotLeaveIt) {
  form.W("edA1").SetFocus();
  log.clear();
  form.W("edA2").SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"exit edA1", "enter edA2"}));
}

TEST_F(FocusTest, RaisingExitKeepsTheFocusAndReachesTheCallerOrTheDisplay) {
  form.W("edA1").SetFocus();
  form.W("panA").OnExit = [](TComponent*) { throw Exception("Filial deve ser informada."); };
  EXPECT_THROW(form.W("edB1").SetFocus(), Exception);
  EXPECT_TRUE(form.W("edA1").Focused());

  log.clear();
  form.W("edB1").UserSetFocus();
  EXPECT_TRUE(form.W("edA1").Focused());
  EXPECT_EQ(ui.Exceptions(), (std::vector<std::string>{"Filial deve ser informada."}));
  // The control is still the one to leave: its exit runs again next time.
  EXPECT_EQ(log, (std::vector<std::string>{"exit edA1"}));
  EXPECT_TRUE(form.W("edB1").CanFocus());
}

TEST_F(FocusTest, ExitHandlerMayPutTheFocusElsewhereAndAbortSilently) {
  form.W("edA1").SetFocus();
  form.W("panA").OnExit = [&](TComponent*) {
    form.W("edA2").SetFocus();
    throw EAbort();
  };
  log.clear();
  form.W("edB1").UserSetFocus();
  EXPECT_TRUE(form.W("edA2").Focused());
  EXPECT_TRUE(ui.Exceptions().empty());
  // The panel was never left, so it is not entered again.
  EXPECT_EQ(log, (std::vector<std::string>{"exit edA1", "enter edA2"}));
}

TEST_F(FocusTest, ControlRefocusingItselfFromItsExitStays) {
  form.W("edA1").SetFocus();
  form.W("edA1").OnExit = [&](TComponent*) { form.W("edA1").SetFocus(); };
  log.clear();
  form.W("edB1").SetFocus();
  EXPECT_TRUE(form.W("edA1").Focused());
  EXPECT_TRUE(log.empty());
}

TEST_F(FocusTest, UnfocusableTargetsLeaveTheFocus) {
  form.W("edA1").SetFocus();
  form.W("edB1").SetEnabled(false);
  form.W("edB1").SetFocus();
  EXPECT_TRUE(form.W("edA1").Focused());
  form.W("grpB").SetVisible(false);
  form.W("edB1").SetEnabled(true);
  form.W("edB1").SetFocus();
  EXPECT_TRUE(form.W("edA1").Focused());
  form.W("panA").SetFocus();  // containers only pass the focus through
  EXPECT_TRUE(form.W("edA1").Focused());
}

TEST_F(FocusTest, TabOrderWalksTheTreeAndWraps) {
  form.W("edA1").SetFocus();
  form.SelectNext();
  EXPECT_TRUE(form.W("edA2").Focused());
  form.SelectNext();
  EXPECT_TRUE(form.W("edB1").Focused());
  form.SelectNext();
  EXPECT_TRUE(form.W("btnOk").Focused());
  form.SelectNext();
  EXPECT_TRUE(form.W("edA1").Focused());
  form.SelectNext(false);
  EXPECT_TRUE(form.W("btnOk").Focused());
  // An explicit tab order overrides creation order among siblings.
  form.W("edA2").SetTabOrder(-5);
  form.W("edA1").SetFocus();
  form.SelectNext(false);
  EXPECT_TRUE(form.W("edA2").Focused());
}

TEST_F(FocusTest, SpeedButtonClickKeepsTheFocusButtonClickTakesIt) {
  form.W("edA1").SetFocus();
  bool speed_clicked = false, button_clicked = false;
  form.Find<TSpeedButton>("sbtGo").OnClick = [&](TComponent*) {
    speed_clicked = true;
    EXPECT_TRUE(form.W("edA1").Focused());
  };
  form.Find<TSpeedButton>("sbtGo").UserClick();
  EXPECT_TRUE(speed_clicked);

  form.W("panA").OnExit = [](TComponent*) { throw EAbort(); };
  form.W("btnOk").OnClick = [&](TComponent*) { button_clicked = true; };
  form.W("btnOk").UserClick();
  EXPECT_FALSE(button_clicked);  // the panel refused to be left
  form.W("panA").OnExit = nullptr;
  form.W("btnOk").UserClick();
  EXPECT_TRUE(button_clicked);
  EXPECT_TRUE(form.W("btnOk").Focused());
}

TEST_F(FocusTest, DestroyingTheFocusedControlClearsTheFocus) {
  form.W("edB1").SetFocus();
  form.DestroyComponent(&form.W("grpB"));
  EXPECT_EQ(form.ActiveControl(), nullptr);
  EXPECT_EQ(form.FindComponent("grpB"), nullptr);
  form.W("edA1").SetFocus();  // still works after the loss
  EXPECT_TRUE(form.W("edA1").Focused());
}

}  // namespace
