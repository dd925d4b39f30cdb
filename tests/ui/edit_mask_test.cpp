#include "ui/edit_mask.h"

#include <gtest/gtest.h>

#include "ui/mask_edit.h"
#include "ui/utf8.h"

using ui::EditMask;
using ui::Utf8Decode;
using ui::Utf8Encode;

namespace {

std::string Typed(const EditMask& mask, const std::string& keys) {
  std::u32string edit = mask.BlankEditText();
  std::size_t caret = 0;
  for (char32_t c : Utf8Decode(keys)) mask.Type(edit, caret, c);
  return Utf8Encode(edit);
}

}  // namespace

TEST(EditMask, BranchMaskUpperCasesAndKeepsNoLiterals) {
  EditMask mask(">aaaa;0; ");
  EXPECT_FALSE(mask.SaveLiterals());
  EXPECT_EQ(mask.Blank(), U' ');
  EXPECT_EQ(Typed(mask, "ab1"), "AB1 ");
  EXPECT_EQ(mask.TextFrom(Utf8Decode("AB1 ")), "AB1");
  EXPECT_EQ(Utf8Encode(mask.EditTextFor("x9")), "X9  ");
  // Letters and digits only: punctuation is refused.
  EXPECT_EQ(Typed(mask, "a-b"), "AB  ");
}

TEST(EditMask, AccountMaskTakesDigitsOnly) {
  EditMask mask("999;0; ");
  EXPECT_EQ(Typed(mask, "1a2"), "12 ");
  EXPECT_EQ(mask.TextFrom(Utf8Decode("12 ")), "12");
  EXPECT_EQ(Typed(mask, "12345"), "123");
  EXPECT_EQ(mask.TextFrom(mask.BlankEditText()), "");
}

TEST(EditMask, DateMaskSavesLiteralsAndShowsBlanks) {
  EditMask mask("!99/99/9999;1;_");
  EXPECT_TRUE(mask.SaveLiterals());
  EXPECT_EQ(Utf8Encode(mask.BlankEditText()), "__/__/____");
  EXPECT_EQ(Typed(mask, "01022024"), "01/02/2024");
  // Typing the separators where they stand just passes them.
  EXPECT_EQ(Typed(mask, "01/02/2024"), "01/02/2024");
  EXPECT_EQ(mask.TextFrom(Utf8Decode("01/02/2024")), "01/02/2024");
  // Unfilled positions read as spaces, literals kept.
  EXPECT_EQ(mask.TextFrom(mask.BlankEditText()), "  /  /    ");
  EXPECT_EQ(Utf8Encode(mask.EditTextFor("15/03/2023")), "15/03/2023");
  EXPECT_EQ(Utf8Encode(mask.EditTextFor("")), "__/__/____");
}

TEST(EditMask, LiteralInsideMaskIsDroppedFromTextWhenNotSaved) {
  EditMask mask("9999-a;0; ");
  EXPECT_EQ(Typed(mask, "1234x"), "1234-x");
  EXPECT_EQ(mask.TextFrom(Utf8Decode("1234-x")), "1234x");
  EXPECT_EQ(Utf8Encode(mask.EditTextFor("1234x")), "1234-x");
  EXPECT_EQ(Utf8Encode(mask.EditTextFor("12")), "12  - ");
}

TEST(EditMask, RequiredPositionsAndEscapes) {
  EditMask mask("00\\-LL;1;_");
  EXPECT_EQ(Utf8Encode(mask.BlankEditText()), "__-__");
  EXPECT_EQ(mask.FirstInvalid(Utf8Decode("12-A_")), 4);
  EXPECT_EQ(mask.FirstInvalid(Utf8Decode("12-AB")), -1);
  EXPECT_EQ(mask.FirstInvalid(Utf8Decode("1x-AB")), 1);
}

TEST(EditMask, LowerCaseAndBackspace) {
  EditMask mask("<LLL>LL;0;_");
  std::u32string edit = mask.BlankEditText();
  std::size_t caret = 0;
  for (char32_t c : U"ABcde") mask.Type(edit, caret, c);
  EXPECT_EQ(Utf8Encode(edit), "abcDE");
  mask.Backspace(edit, caret);
  EXPECT_EQ(Utf8Encode(edit), "abcD_");
  EXPECT_EQ(caret, 4u);
}

TEST(MaskEdit, TextAndEditTextFollowTheSaveFlag) {
  TMaskEdit branch;
  branch.SetEditMask(">aaaa;0; ");
  branch.SetText("ab");
  EXPECT_EQ(branch.Text(), "AB");
  EXPECT_EQ(branch.EditText(), "AB  ");

  TMaskEdit date;
  date.SetEditMask("!99/99/9999;1;_");
  EXPECT_EQ(date.EditText(), "__/__/____");
  EXPECT_EQ(date.Text(), "  /  /    ");
  date.SetText("05/06/2024");
  EXPECT_EQ(date.Text(), "05/06/2024");
}

TEST(MaskEdit, UserTypingGoesThroughTheMaskAndRunsOnChange) {
  TMaskEdit edit;
  edit.SetEditMask(">aaaa;0; ");
  std::vector<std::string> seen;
  edit.OnChange = [&](TComponent*) { seen.push_back(edit.Text()); };
  edit.UserType("c0");
  EXPECT_EQ(edit.Text(), "C0");
  EXPECT_EQ(seen, (std::vector<std::string>{"C", "C0"}));
  edit.UserKeyPress(VK_BACK);
  EXPECT_EQ(edit.Text(), "C");
  edit.UserSetText("zz99x");
  EXPECT_EQ(edit.Text(), "ZZ99");
}
