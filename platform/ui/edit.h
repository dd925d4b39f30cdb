#pragma once
// Single-line text edits. `TCustomEdit` is the base for every control the
// user types into (masked, number, spin and date edits derive from it).
//
// Setting Text from code runs OnChange when the text changed. The user's
// typing goes through UserKeyPress (one character; the key-press handler may
// change or drop it) or UserSetText (the whole content replaced, as pasting
// over a selection); both respect ReadOnly, MaxLength and CharCase. The
// headless caret sits at the end of the text.
//
// The selection counts characters (not bytes). A new text leaves nothing
// selected; a character the user types over a selection replaces it, and a
// backspace deletes it.

#include <string>
#include <vector>

#include "ui/control.h"

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
 public:
  TCustomEdit();

  virtual std::string Text() const { return text_; }
  virtual void SetText(const std::string& text);
  void Clear() { SetText(""); }

  int MaxLength() const { return max_length_; }
  void SetMaxLength(int v);
  TEditCharCase CharCase() const { return char_case_; }
  void SetCharCase(TEditCharCase c);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v);
  char32_t PasswordChar() const { return password_char_; }
  void SetPasswordChar(char32_t c);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  // --- selection ---
  int SelStart() const { return sel_start_; }
  int SelLength() const { return sel_length_; }
  // Moves the start (within the text) and keeps the length where it fits.
  void SetSelStart(int start);
  // From SelStart, cut at the end of the text.
  void SetSelLength(int length);
  void SelectAll();
  std::string SelText() const;

  // Set when the user changed the text since it was last cleared.
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }

  TNotifyEvent OnChange;

  bool AcceptsFocus() const override { return true; }

  // --- user events ---
  void UserSetText(const std::string& text);
  // Types each character in turn through UserKeyPress.
  void UserType(const std::string& characters);

 protected:
  // Runs OnChange.
  virtual void Change();
  void KeyPressDefault(char32_t& key) override;
  // What the edit does with a whole text the user put in.
  virtual void ReplaceByUser(const std::string& text);
  bool UserMayEdit() const { return Showing() && EffectivelyEnabled() && !read_only_; }
  std::string ApplyCharCase(const std::string& text) const;
  char32_t ApplyCharCase(char32_t ch) const;
  // Adds a typed character at the end, within MaxLength.
  void AppendTyped(char32_t ch);
  // Stores the text; tells the observers and runs OnChange when it changed.
  void StoreText(const std::string& text);
  // The selected characters replaced by `replacement`, within MaxLength.
  void ReplaceSelection(const std::u32string& replacement);
  void SetSelection(int start, int length);

 private:
  std::string text_;
  int max_length_ = 0;
  TEditCharCase char_case_ = ecNormal;
  bool read_only_ = false;
  char32_t password_char_ = 0;
  TAlignment alignment_ = taLeftJustify;
  bool modified_ = false;
  int sel_start_ = 0;
  int sel_length_ = 0;
};

class TEdit : public TCustomEdit {};

// A multi-line edit; Lines are the text split at line breaks ("\n").
class TMemo : public TCustomEdit {
 public:
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);
  bool WantReturns() const { return want_returns_; }
  void SetWantReturns(bool v) { want_returns_ = v; }

 protected:
  void KeyPressDefault(char32_t& key) override;

 private:
  bool want_returns_ = true;
};
