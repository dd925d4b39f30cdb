#include "script_parser.h"

#include <gtest/gtest.h>

#include "command_table.h"

namespace dxscript {
namespace {

TEST(ScriptParser, SplitsWordsQuotesAndOptions) {
  Script s = ParseScript(
      "login branch=0001 branch-name=\"Filial \\\"Um\\\" # não é comentário\" locked=true\n"
      "type medCdFilial \"0001\"   # comentário\n");
  ASSERT_EQ(s.commands.size(), 2u);
  const Command& login = s.commands[0];
  EXPECT_EQ(login.line, 1);
  EXPECT_EQ(login.verb, "login");
  EXPECT_TRUE(login.args.empty());
  ASSERT_EQ(login.options.size(), 3u);
  EXPECT_EQ(*login.FindOption("branch"), "0001");
  EXPECT_EQ(*login.FindOption("branch-name"), "Filial \"Um\" # não é comentário");
  EXPECT_EQ(*login.FindOption("locked"), "true");
  EXPECT_EQ(login.FindOption("operator"), nullptr);

  const Command& type = s.commands[1];
  EXPECT_EQ(type.line, 2);
  EXPECT_EQ(type.source, "type medCdFilial \"0001\"");
  ASSERT_EQ(type.args.size(), 2u);
  EXPECT_EQ(type.args[0].text, "medCdFilial");
  EXPECT_FALSE(type.args[0].quoted);
  EXPECT_EQ(type.args[1].text, "0001");
  EXPECT_TRUE(type.args[1].quoted);
}

TEST(ScriptParser, QuotedTextWithAnEqualsSignIsNoOption) {
  Script s = ParseScript("expect text edtNome \"a=b\"\n");
  ASSERT_EQ(s.commands[0].args.size(), 3u);
  EXPECT_EQ(s.commands[0].args[2].text, "a=b");
  EXPECT_TRUE(s.commands[0].options.empty());
}

TEST(ScriptParser, EmptyQuotesAndBackslashesSurvive) {
  Script s = ParseScript("type edtNome \"\"\ntype edtNome \"c:\\\\dir\"");
  EXPECT_EQ(s.commands[0].args[1].text, "");
  EXPECT_EQ(s.commands[1].args[1].text, "c:\\dir");
  EXPECT_EQ(s.commands[1].line, 2);
}

TEST(ScriptParser, SkipsBlankAndCommentLinesButCountsThem) {
  Script s = ParseScript("# cabeçalho\n\n   \r\nopen\r\n  # fim\n");
  ASSERT_EQ(s.commands.size(), 1u);
  EXPECT_EQ(s.commands[0].verb, "open");
  EXPECT_EQ(s.commands[0].line, 4);
}

TEST(ScriptParser, NestsOnModalBlocks) {
  Script s = ParseScript(
      "on-modal frmValor\n"
      "  type edtValor \"10\"\n"
      "  on-modal frmSenha\n"
      "    click btnOk\n"
      "  end\n"
      "  click btnOk\n"
      "end\n"
      "click btnDialogo\n");
  ASSERT_EQ(s.commands.size(), 2u);
  const Command& outer = s.commands[0];
  ASSERT_EQ(outer.block.size(), 3u);
  EXPECT_EQ(outer.block[1].verb, "on-modal");
  ASSERT_EQ(outer.block[1].block.size(), 1u);
  EXPECT_EQ(outer.block[1].block[0].line, 4);
  EXPECT_EQ(outer.block[2].line, 6);
  EXPECT_EQ(s.commands[1].line, 8);
}

int ErrorLine(const std::string& text) {
  try {
    CheckScript(ParseScript(text));
  } catch (const ScriptSyntaxError& e) {
    return e.Line();
  }
  return -1;
}

TEST(ScriptParser, SyntaxErrorsNameTheirLine) {
  EXPECT_EQ(ErrorLine("open\ntype edtNome \"sem fim\n"), 2);
  EXPECT_EQ(ErrorLine("open\n\nend\n"), 3);
  EXPECT_EQ(ErrorLine("open\non-modal frmValor\n  click btnOk\n"), 2);
  EXPECT_EQ(ErrorLine("type edtNome \"a\"b\n"), 1);
  EXPECT_EQ(ErrorLine("\"open\"\n"), 1);
  EXPECT_EQ(ErrorLine("type edtNome \"\\t\"\n"), 1);
}

TEST(CommandTable, RejectsUnknownCommandsWrongCountsAndOptions) {
  EXPECT_EQ(ErrorLine("open\nabrir\n"), 2);
  EXPECT_EQ(ErrorLine("open\nexpect colour edtNome red\n"), 2);
  EXPECT_EQ(ErrorLine("expect\n"), 1);
  EXPECT_EQ(ErrorLine("open\n\ntype edtNome\n"), 3);
  EXPECT_EQ(ErrorLine("click btnOk btnCancel\n"), 1);
  EXPECT_EQ(ErrorLine("login filial=0001\n"), 1);
  EXPECT_EQ(ErrorLine("on-modal frmValor\n  clik btnOk\nend\n"), 2);
  EXPECT_EQ(ErrorLine("login branch=0001\nopen\nexpect text medCdFilial \"0001\"\nkey edtNome Ctrl+D\n"), -1);
}

TEST(CommandTable, ExplainsWhatIsWrong) {
  try {
    CheckScript(ParseScript("expect text edtNome\n"));
    FAIL() << "accepted a missing word";
  } catch (const ScriptSyntaxError& e) {
    EXPECT_STREQ(e.what(), "1: \"expect text\" takes 2 word(s), found 1");
  }
}

}  // namespace
}  // namespace dxscript
