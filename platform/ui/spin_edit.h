#pragma once
// An edit holding a whole number between MinValue and MaxValue (no limits
// when both are equal), with up and down arrows.

#include "ui/edit.h"

class TSpinEdit : public TCustomEdit {
 public:
  TSpinEdit();

  // The number in the text; MinValue when the text is not a number.
  int Value() const;
  // Sets the text to the value brought within the limits.
  void SetValue(int value);
  int MinValue() const { return min_value_; }
  void SetMinValue(int v);
  int MaxValue() const { return max_value_; }
  void SetMaxValue(int v);
  int Increment() const { return increment_; }
  void SetIncrement(int v) { increment_ = v; }

  // The arrows, for the user.
  void UserIncrement();
  void UserDecrement();

  void DoExit() override;

 protected:
  void KeyPressDefault(char32_t& key) override;
  void KeyDownDefault(int& key, TShiftState shift) override;

 private:
  int Limit(int value) const;

  int min_value_ = 0;
  int max_value_ = 0;
  int increment_ = 1;
};
