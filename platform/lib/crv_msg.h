#pragma once
// Unit Crv_msg: a screen's message catalogue. Code refers to messages by key
// only; the texts live in `Messages`, one line each: the key, "|", the text.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TMessages {
 public:
  // Shows a text in a modal dialog and returns the button pressed (6 is Yes).
  // Type, buttons and help context are passed through as the toolkit numbers
  // them. The screen toolkit installs it; until then ShowMsg raises.
  using ShowHandler = std::function<int(const std::string& text, int type, int buttons, int helpContext)>;

  TMessages() = default;
  explicit TMessages(std::string name) : Name(std::move(name)) {}

  std::string Name;
  std::vector<std::string> Messages;

  // The text of a key. The key is matched exactly first, then ignoring case.
  // A key the catalogue lacks gives the key itself back, so a missing line
  // still shows something the developer can trace, instead of an empty box.
  // Everything after the first "|" is the text, trailing blanks included.
  std::string Msg(std::string_view key) const;
  // Msg(key) with its first "%s" replaced by the argument.
  std::string MsgFmt(std::string_view key, std::string_view argument) const;

  int ShowMsg(std::string_view key, int type, int buttons, int helpContext) const;

  static void SetShowHandler(ShowHandler handler);

 private:
  static ShowHandler& Handler();
};

// Replaces the first "%s" of a text with one argument; any other "%" is left
// as written.
std::string FormatMsg(std::string_view text, std::string_view argument);
