// Client text in the log and in refusals: escaped, cut, never a line of its own.

#include <gtest/gtest.h>

#include "net/printable_text.h"

namespace {

TEST(PrintableText, EscapesWhatCouldForgeALineOrBreakTheText) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"SUPERVISOR", "SUPERVISOR"},
      {"José Ação", "José Ação"},
      {"X\n2026-12-08T10:00:00Z INFO login de SUPERVISOR aceito", "X\\n2026-12-08T10:00:00Z INFO login de SUPERVISOR aceito"},
      {"a\rb\tc", "a\\rb\\tc"},
      {"\x1b[31mvermelho", "\\x1b[31mvermelho"},
      {"barra\\n", "barra\\\\n"},
      {std::string("nul\0x", 5), "nul\\x00x"},
      {"\x7f", "\\x7f"},
      {"\xff\xfe", "\\xff\\xfe"},                  // not UTF-8
      {"\xc3(", "\\xc3("},                         // a sequence cut short
      {"\xc0\xaf", "\\xc0\\xaf"},                  // an overlong form
      {"\xed\xa0\x80", "\\xed\\xa0\\x80"},          // a surrogate
      {"\xc2\x85", "\\xc2\\x85"},                  // C1 next line
      {"\xe2\x80\xa8", "\\xe2\\x80\\xa8"},          // line separator
  };
  for (const Case& c : cases) EXPECT_EQ(PrintableText(c.in), c.out) << c.in;
}

TEST(PrintableText, CutsLongTextSayingHowLongItWas) {
  EXPECT_EQ(PrintableText(std::string(10, 'a'), 4), "aaaa…(10 bytes)");
  EXPECT_EQ(PrintableText("ãããã", 2), "ãã…(8 bytes)");  // characters, not bytes
  EXPECT_EQ(PrintableText(std::string(64, 'b')), std::string(64, 'b'));
  EXPECT_EQ(PrintableText(std::string(65, 'b')).size(), 64 + std::string("…(65 bytes)").size());
}

TEST(PrintableText, TheLogLineKeepsItsOwnTextAndEscapesTheRest) {
  EXPECT_EQ(PrintableLine("conexão 127.0.0.1:1 aberta"), "conexão 127.0.0.1:1 aberta");
  EXPECT_EQ(PrintableLine("a\nb\xff"), "a\\nb\\xff");
  EXPECT_EQ(PrintableLine("C:\\dados"), "C:\\dados");
}

}  // namespace
