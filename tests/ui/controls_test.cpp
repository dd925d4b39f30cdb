#include <gtest/gtest.h>

#include "ui/buttons.h"
#include "ui/check_controls.h"
#include "ui/containers.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/scripted_ui.h"
#include "ui/spin_edit.h"

namespace {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui);
    form.Show();
  }
  void TearDown() override { SetUi(nullptr); }
  ScriptedUi ui;
  TForm form;
};

TEST_F(ControlsTest, CodeClickRunsOnDisabledButtonsUserClickDoesNot) {
  auto& sbt = form.Add<TSpeedButton>("sbtVerificar", &form);
  auto& btn = form.Add<TButton>("btnOk", &form);
  int clicks = 0;
  sbt.OnClick = btn.OnClick = [&](TComponent*) { ++clicks; };
  sbt.SetEnabled(false);
  btn.SetEnabled(false);
  sbt.UserClick();
  btn.UserClick();
  EXPECT_EQ(clicks, 0);
  sbt.Click();
  btn.Click();
  EXPECT_EQ(clicks, 2);
  sbt.SetEnabled(true);
  sbt.UserClick();
  EXPECT_EQ(clicks, 3);
  // A disabled parent disables the user's click too.
  auto& pan = form.Add<TPanel>("panMenu", &form);
  sbt.SetParent(&pan);
  pan.SetEnabled(false);
  sbt.UserClick();
  EXPECT_EQ(clicks, 3);
}

TEST_F(ControlsTest, CodeClickPropagatesUserClickReports) {
  auto& sbt = form.Add<TSpeedButton>("sbtDistrato", &form);
  sbt.OnClick = [](TComponent*) { throw Exception("N_PARAM_TPOPER"); };
  EXPECT_THROW(sbt.Click(), Exception);
  EXPECT_TRUE(ui.Exceptions().empty());
  sbt.UserClick();
  EXPECT_EQ(ui.Exceptions(), (std::vector<std::string>{"N_PARAM_TPOPER"}));
}

TEST_F(ControlsTest, CheckingARadioByCodeRunsItsClickAndUnchecksSiblings) {
  auto& grb = form.Add<TGroupBox>("grbTipoDistrato", &form);
  auto& other = form.Add<TPanel>("panOther", &form);
  auto& parcial = form.Add<TRadioButton>("rbtParcial", &grb);
  auto& total = form.Add<TRadioButton>("rbtTotal", &grb);
  auto& elsewhere = form.Add<TRadioButton>("rbtElsewhere", &other);
  std::vector<std::string> clicks;
  parcial.OnClick = [&](TComponent*) { clicks.push_back("parcial"); };
  total.OnClick = [&](TComponent*) { clicks.push_back("total"); };
  elsewhere.SetChecked(true);
  parcial.SetChecked(true);
  EXPECT_EQ(clicks, (std::vector<std::string>{"parcial"}));
  parcial.SetChecked(true);  // no change, no click
  total.SetChecked(true);
  EXPECT_EQ(clicks, (std::vector<std::string>{"parcial", "total"}));
  EXPECT_FALSE(parcial.Checked());
  EXPECT_TRUE(elsewhere.Checked());  // another parent is another group
  total.UserClick();  // already checked: nothing
  EXPECT_EQ(clicks.size(), 2u);
  parcial.UserClick();
  EXPECT_TRUE(parcial.Checked());
  EXPECT_TRUE(parcial.Focused());
  EXPECT_EQ(clicks.back(), "parcial");
}

TEST_F(ControlsTest, CheckBoxRunsClickWhenItsStateChanges) {
  auto& chb = form.Add<TCheckBox>("chbProxMes", &form);
  int clicks = 0;
  chb.OnClick = [&](TComponent*) { ++clicks; };
  chb.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  chb.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  chb.UserClick();
  EXPECT_FALSE(chb.Checked());
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, SettingTextRunsOnChangeOnlyWhenItChanges) {
  auto& edt = form.Add<TEdit>("edtOrcamento", &form);
  int changes = 0;
  edt.OnChange = [&](TComponent*) { ++changes; };
  edt.SetText("123");
  edt.SetText("123");
  EXPECT_EQ(changes, 1);
  edt.Clear();
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(edt.Modified());
}

TEST_F(ControlsTest, UserTypingHonoursCaseLengthReadOnlyAndKeyPress) {
  auto& edt = form.Add<TEdit>("edtOrcamento", &form);
  edt.SetCharCase(ecUpperCase);
  edt.SetMaxLength(4);
  edt.OnKeyPress = [](TComponent*, char32_t& key) {
    if (key == U'+') key = 0;
    if (key == U'.') key = U',';
  };
  edt.UserType("ab+.cd");
  EXPECT_EQ(edt.Text(), "AB,C");
  EXPECT_TRUE(edt.Modified());
  edt.UserSetText("çãoxyz");
  EXPECT_EQ(edt.Text(), "ÇÃOX");
  edt.SetReadOnly(true);
  edt.UserType("z");
  edt.UserSetText("q");
  EXPECT_EQ(edt.Text(), "ÇÃOX");
}

TEST_F(ControlsTest, AnEditSelectsInCharactersAndANewTextSelectsNothing) {
  auto& edt = form.Add<TEdit>("edtSenha", &form);
  edt.SetText("ação1");
  EXPECT_EQ(edt.SelStart(), 5);
  EXPECT_EQ(edt.SelLength(), 0);
  edt.SelectAll();
  EXPECT_EQ(edt.SelStart(), 0);
  EXPECT_EQ(edt.SelLength(), 5);
  EXPECT_EQ(edt.SelText(), "ação1");
  edt.SetSelStart(1);
  edt.SetSelLength(2);
  EXPECT_EQ(edt.SelText(), "çã");
  edt.SetSelLength(99);  // cut at the end of the text
  EXPECT_EQ(edt.SelLength(), 4);
  edt.SetSelStart(-3);
  EXPECT_EQ(edt.SelStart(), 0);
  edt.SetText("ab");
  EXPECT_EQ(edt.SelStart(), 2);
  EXPECT_EQ(edt.SelLength(), 0);
  EXPECT_EQ(edt.SelText(), "");
}

TEST_F(ControlsTest, TypingOverASelectionReplacesIt) {
  auto& edt = form.Add<TEdit>("edtSenha", &form);
  edt.SetMaxLength(6);
  edt.SetText("errada");
  edt.SelectAll();
  edt.UserType("ok");
  EXPECT_EQ(edt.Text(), "ok");
  EXPECT_EQ(edt.SelLength(), 0);
  edt.SetText("abcdef");
  edt.SetSelStart(1);
  edt.SetSelLength(2);
  edt.UserKeyPress(U'X');
  EXPECT_EQ(edt.Text(), "aXdef");
  edt.SelectAll();
  edt.UserKeyPress(char32_t(VK_BACK));
  EXPECT_EQ(edt.Text(), "");
  // A read-only edit keeps its text under the selection.
  edt.SetText("fixo");
  edt.SelectAll();
  edt.SetReadOnly(true);
  edt.UserKeyPress(U'z');
  EXPECT_EQ(edt.Text(), "fixo");
}

TEST_F(ControlsTest, KeyDownHandlerCanSwallowTheKey) {
  auto& edt = form.Add<TEdit>("edtQtParcelas", &form);
  edt.OnKeyDown = [](TComponent*, int& key, TShiftState) {
    if (key == VK_DELETE) key = 0;
  };
  EXPECT_EQ(edt.UserKeyDown(VK_DELETE), 0);
  EXPECT_EQ(edt.UserKeyDown(VK_RETURN), VK_RETURN);
}

TEST_F(ControlsTest, SpinEditKeepsItsValueWithinLimits) {
  auto& spe = form.Add<TSpinEdit>("speDiaFixo", &form);
  spe.SetMinValue(1);
  spe.SetMaxValue(31);
  spe.SetValue(40);
  EXPECT_EQ(spe.Value(), 31);
  spe.UserIncrement();
  EXPECT_EQ(spe.Value(), 31);
  spe.UserDecrement();
  EXPECT_EQ(spe.Value(), 30);
  spe.SetText("abc");
  EXPECT_EQ(spe.Value(), 1);  // not a number reads as the minimum
  spe.UserSetText("");
  spe.UserType("4x5");
  EXPECT_EQ(spe.Text(), "45");
  auto& edt = form.Add<TEdit>("edtOther", &form);
  spe.SetFocus();
  edt.SetFocus();  // leaving brings the typed value within the limits
  EXPECT_EQ(spe.Text(), "31");
}

TEST_F(ControlsTest, PropertyObserversHearChanges) {
  auto& edt = form.Add<TEdit>("edtNmFilial", &form);
  std::vector<TProperty> heard;
  int id = edt.Observe([&](TComponent&, TProperty p) { heard.push_back(p); });
  edt.SetEnabled(false);
  edt.SetText("Matriz");
  edt.SetEnabled(false);
  edt.Unobserve(id);
  edt.SetCaption("x");
  EXPECT_EQ(heard, (std::vector<TProperty>{TProperty::Enabled, TProperty::Text}));
  EXPECT_EQ(PropertyName(heard.front()), "Enabled");
}

TEST_F(ControlsTest, NamesAreUniqueAndFoundWithTheirType) {
  form.Add<TEdit>("medCdFilial", &form);
  EXPECT_THROW(form.Add<TEdit>("MEDCDFILIAL", &form), Exception);
  EXPECT_NE(form.FindAs<TEdit>("medcdfilial"), nullptr);
  EXPECT_EQ(form.FindAs<TButton>("medCdFilial"), nullptr);
  EXPECT_THROW(form.Find<TButton>("medCdFilial"), Exception);
  struct Catalogue {
    std::string text;
  };
  form.Own<Catalogue>("msgPadrao", Catalogue{"ORCA_N_CAD|Orçamento não cadastrado."});
  EXPECT_EQ(form.Find<Catalogue>("msgPadrao").text, "ORCA_N_CAD|Orçamento não cadastrado.");
}

}  // namespace
