#include "script_parser.h"

#include <cctype>

namespace dxscript {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

// Reads a quoted text starting after its opening quote; `pos` ends after the
// closing quote.
std::string ReadQuoted(std::string_view line, std::size_t& pos, int lineNo) {
  std::string out;
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == '"') return out;
    if (c == '\\') {
      if (pos >= line.size()) break;
      char next = line[pos++];
      if (next == '"' || next == '\\') {
        out.push_back(next);
      } else if (next == 'n') {
        out.push_back('\n');
      } else {
        throw ScriptSyntaxError(lineNo, std::string("unknown escape \\") + next + " in a quoted text");
      }
      continue;
    }
    out.push_back(c);
  }
  throw ScriptSyntaxError(lineNo, "quoted text is not closed");
}

}  // namespace

const std::string* Command::FindOption(const std::string& key) const {
  for (const Option& o : options)
    if (o.key == key) return &o.value;
  return nullptr;
}

LineWords SplitLine(std::string_view line, int lineNo) {
  LineWords words;
  std::size_t pos = 0;
  std::size_t end_of_code = line.size();
  while (pos < line.size()) {
    if (IsBlank(line[pos])) {
      ++pos;
      continue;
    }
    if (line[pos] == '#') {
      end_of_code = pos;
      break;
    }
    if (line[pos] == '"') {
      ++pos;
      words.tokens.push_back({ReadQuoted(line, pos, lineNo), true});
    } else {
      std::string word;
      while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '#') {
        if (line[pos] == '"') {
          // Only an option's value may be quoted inside a word: key="a b".
          if (word.empty() || word.back() != '=')
            throw ScriptSyntaxError(lineNo, "a quote inside the word \"" + word + "\"");
          ++pos;
          word += ReadQuoted(line, pos, lineNo);
          break;
        }
        word.push_back(line[pos++]);
      }
      const std::size_t eq = word.find('=');
      if (eq != std::string::npos && eq > 0) {
        words.options.push_back({word.substr(0, eq), word.substr(eq + 1)});
      } else if (eq == 0) {
        throw ScriptSyntaxError(lineNo, "option without a name: \"" + word + "\"");
      } else {
        words.tokens.push_back({word, false});
      }
    }
    if (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '#')
      throw ScriptSyntaxError(lineNo, "missing blank after a quoted text");
  }
  words.source = Trim(line.substr(0, end_of_code));
  return words;
}

Script ParseScript(std::string_view text) {
  Script script;
  // The open blocks, innermost last, each with the line that opened it.
  std::vector<Command*> open_blocks;
  int lineNo = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) nl = text.size();
    std::string_view line = text.substr(start, nl - start);
    start = nl + 1;
    ++lineNo;

    LineWords words = SplitLine(line, lineNo);
    if (words.tokens.empty()) {
      if (!words.options.empty()) throw ScriptSyntaxError(lineNo, "a line must start with a command");
      if (nl == text.size()) break;
      continue;
    }
    if (words.tokens.front().quoted) throw ScriptSyntaxError(lineNo, "a line must start with a command, not a quoted text");

    Command cmd;
    cmd.line = lineNo;
    cmd.source = std::move(words.source);
    cmd.verb = words.tokens.front().text;
    cmd.args.assign(words.tokens.begin() + 1, words.tokens.end());
    cmd.options = std::move(words.options);

    std::vector<Command>& target = open_blocks.empty() ? script.commands : open_blocks.back()->block;
    if (cmd.verb == "end") {
      if (open_blocks.empty()) throw ScriptSyntaxError(lineNo, "\"end\" without an open on-modal block");
      if (!cmd.args.empty() || !cmd.options.empty()) throw ScriptSyntaxError(lineNo, "\"end\" takes nothing after it");
      open_blocks.pop_back();
    } else {
      target.push_back(std::move(cmd));
      if (target.back().verb == "on-modal") open_blocks.push_back(&target.back());
    }
    if (nl == text.size()) break;
  }
  if (!open_blocks.empty())
    throw ScriptSyntaxError(open_blocks.back()->line, "on-modal block is not closed with \"end\"");
  return script;
}

}  // namespace dxscript
