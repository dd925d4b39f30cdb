#include <gtest/gtest.h>

#include "ui/form.h"
#include "ui/menu.h"
#include "ui/scripted_ui.h"

namespace {

TEST(ShortCuts, TextAndNumbersRoundTrip) {
  EXPECT_EQ(TextToShortCut("Ctrl+N"), ShortCut('N', ssCtrl));
  EXPECT_EQ(TextToShortCut("ctrl+shift+f5"), ShortCut(VK_F1 + 4, ssCtrl | ssShift));
  EXPECT_EQ(TextToShortCut("Del"), ShortCut(VK_DELETE, ssNone));
  EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
  EXPECT_EQ(ShortCutToText(ShortCut('L', ssCtrl)), "Ctrl+L");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, ssShift)), "Shift+Del");
  EXPECT_EQ(StripHotkey("Conso&lida Distrato"), "Consolida Distrato");
  EXPECT_EQ(StripHotkey("A && B"), "A & B");
  EXPECT_EQ(HotkeyOf("Substituir C&ontratante"), U'O');
  EXPECT_EQ(HotkeyOf("Sem atalho && nada"), 0u);
}

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui);
    auto& menu = form.Add<TMainMenu>("mnuMenu");
    form.SetMenu(&menu);
    manut = &form.Add<TMenuItem>("mnuManutencao");
    manut->SetCaption("&Manutenção");
    menu.Items().Add(*manut);
    auto& line = form.Add<TMenuItem>("mnuLinha4");
    line.SetCaption("-");
    manut->Add(line);
    distrato = &form.Add<TMenuItem>("mnuDistrato");
    distrato->SetCaption("&Distrato");
    distrato->SetShortCut(TextToShortCut("Ctrl+D"));
    distrato->OnClick = [this](TComponent*) { ++clicks; };
    manut->Add(*distrato);
    form.Show();
  }
  void TearDown() override { SetUi(nullptr); }
  ScriptedUi ui;
  TForm form;
  TMenuItem* manut = nullptr;
  TMenuItem* distrato = nullptr;
  int clicks = 0;
};

TEST_F(MenuTest, ShortCutRunsTheEnabledItemOnly) {
  EXPECT_TRUE(form.UserShortCut('D', ssCtrl));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(form.UserShortCut('D', ssNone));
  distrato->SetEnabled(false);
  EXPECT_FALSE(form.UserShortCut('D', ssCtrl));
  distrato->SetEnabled(true);
  manut->SetEnabled(false);  // a disabled parent menu disables its items
  EXPECT_FALSE(form.UserShortCut('D', ssCtrl));
  distrato->UserClick();
  EXPECT_EQ(clicks, 1);
  distrato->Click();  // from code, whatever the state
  EXPECT_EQ(clicks, 2);
}

TEST_F(MenuTest, ItemsInsertAfterSeparatorAndLeaveOnDestruction) {
  auto& cancela = form.Add<TMenuItem>("mnuCancelaDistrato");
  cancela.SetCaption("Cancel&a Distrato");
  manut->Insert(manut->IndexOf(form.Find<TMenuItem>("mnuLinha4")) + 1, cancela);
  EXPECT_EQ(manut->Items()[1], &cancela);
  EXPECT_TRUE(manut->Items()[0]->IsLine());
  distrato->OnClick = [](TComponent*) { throw Exception("falhou"); };
  EXPECT_TRUE(form.UserShortCut('D', ssCtrl));
  EXPECT_EQ(ui.Exceptions(), (std::vector<std::string>{"falhou"}));
  form.DestroyComponent(&cancela);
  EXPECT_EQ(manut->Count(), 2);
}

}  // namespace
