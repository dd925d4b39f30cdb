#include "key_names.h"

#include <gtest/gtest.h>

namespace dxscript {
namespace {

TEST(KeyNames, ReadsNamedKeysFunctionKeysAndModifiers) {
  auto del = ParseKeyName("Delete");
  ASSERT_TRUE(del);
  EXPECT_EQ(del->key, VK_DELETE);
  EXPECT_EQ(del->shift, ssNone);
  EXPECT_EQ(ParseKeyName("enter")->key, VK_RETURN);
  EXPECT_EQ(ParseKeyName("F2")->key, VK_F2);
  EXPECT_EQ(ParseKeyName("F12")->key, VK_F1 + 11);
  auto ctrl_d = ParseKeyName("Ctrl+D");
  ASSERT_TRUE(ctrl_d);
  EXPECT_EQ(ctrl_d->key, 'D');
  EXPECT_EQ(ctrl_d->shift, ssCtrl);
  auto back_tab = ParseKeyName("shift+Tab");
  EXPECT_EQ(back_tab->key, VK_TAB);
  EXPECT_EQ(back_tab->shift, ssShift);
  EXPECT_EQ(ParseKeyName("Ctrl+Shift+F5")->shift, ssCtrl | ssShift);
}

TEST(KeyNames, RefusesWhatIsNoKey) {
  EXPECT_FALSE(ParseKeyName("F13"));
  EXPECT_FALSE(ParseKeyName("F0"));
  EXPECT_FALSE(ParseKeyName("Ctrl+"));
  EXPECT_FALSE(ParseKeyName("Apagar"));
  EXPECT_FALSE(ParseKeyName(""));
}

TEST(KeyNames, TypedCharacterOnlyForKeysThatType) {
  EXPECT_EQ(TypedCharacter(*ParseKeyName("Enter")), U'\r');
  EXPECT_EQ(TypedCharacter(*ParseKeyName("a")), U'a');
  EXPECT_EQ(TypedCharacter(*ParseKeyName("Shift+A")), U'A');
  EXPECT_EQ(TypedCharacter(*ParseKeyName("Ctrl+D")), 0u);
  EXPECT_EQ(TypedCharacter(*ParseKeyName("Delete")), 0u);
}

}  // namespace
}  // namespace dxscript
