#pragma once
// Reads a scenario's text into commands. Only the syntax is checked here
// (quotes, escapes, blocks); which verbs exist and what they take is the
// command table's business.
//
// A line holds one command: words separated by blanks, a word in double
// quotes may hold blanks and the escapes \" and \\, a bare word of the form
// key=value (the value may be quoted: key="a b") is an option, and a # outside
// quotes starts a comment. `on-modal NAME` opens a block that `end` closes.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "script.h"

namespace dxscript {

class ScriptSyntaxError : public std::runtime_error {
 public:
  ScriptSyntaxError(int line, const std::string& message)
      : std::runtime_error(std::to_string(line) + ": " + message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// The words of one line; empty for a blank or comment line.
struct LineWords {
  std::vector<Token> tokens;
  std::vector<Option> options;
  std::string source;  // trimmed, comment removed
};
LineWords SplitLine(std::string_view line, int lineNo);

Script ParseScript(std::string_view text);

}  // namespace dxscript
