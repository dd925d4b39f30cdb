#pragma once
// The edit-mask language of masked edits: "mask;save-literals;blank".
//
//   0 digit required      9 digit optional      # digit or sign optional
//   L letter required     l letter optional
//   A letter/digit req.   a letter/digit opt.
//   C any char required   c any char optional
//   >  upper-case what follows   <  lower-case what follows   <> no conversion
//   !  unfilled optional positions are leading rather than trailing blanks
//   \  the next character is a literal; any other character is a literal
//
// The second section is "0" when Text leaves the literals out (default "1"),
// the third the character that shows an empty position (default "_").
// EditText is what the control shows: one character per position, blanks
// included.

#include <string>
#include <string_view>
#include <vector>

namespace ui {

class EditMask {
 public:
  EditMask() = default;
  explicit EditMask(std::string_view spec);

  bool IsEmpty() const { return slots_.empty(); }
  bool SaveLiterals() const { return save_literals_; }
  char32_t Blank() const { return blank_; }
  std::size_t Positions() const { return slots_.size(); }
  bool IsLiteral(std::size_t pos) const { return slots_[pos].kind == Kind::Literal; }

  // EditText with every input position blank.
  std::u32string BlankEditText() const;
  // EditText for a value given as Text (with or without the literals,
  // according to the save flag).
  std::u32string EditTextFor(std::string_view text) const;
  // Text for the given EditText: literals removed unless saved, unfilled
  // positions trimmed (without literals) or shown as spaces (with them).
  std::string TextFrom(const std::u32string& edit_text) const;

  // Types one character at `caret`: it lands in the first input position at
  // or after the caret (a literal typed on its own position just passes it).
  // Returns false when the character does not fit; the caret ends after the
  // character and any literals that follow.
  bool Type(std::u32string& edit_text, std::size_t& caret, char32_t ch) const;
  // Clears the input position before the caret and moves the caret there.
  void Backspace(std::u32string& edit_text, std::size_t& caret) const;

  // Position of the first required input left blank or holding a character
  // the mask does not allow; -1 when the text is valid.
  int FirstInvalid(const std::u32string& edit_text) const;
  // True when no input position is filled.
  bool IsBlank(const std::u32string& edit_text) const;

 private:
  enum class Kind { Literal, Digit, DigitOrSign, Letter, AlphaNum, Any };
  enum class Case { None, Upper, Lower };
  struct Slot {
    Kind kind;
    bool required = false;
    Case conversion = Case::None;
    char32_t literal = 0;
  };

  bool Accepts(const Slot& slot, char32_t ch) const;
  char32_t Convert(const Slot& slot, char32_t ch) const;

  std::vector<Slot> slots_;
  bool save_literals_ = true;
  bool reverse_ = false;
  char32_t blank_ = U'_';
};

}  // namespace ui
