#pragma once
// TNumberEdit: an edit holding a number, read and written as a double.
//
// SetNumber shows the value rounded to Decimals and formatted with
// NumberFormat ("#,##0.00" -> "1.234,50"). Without a NumberFormat the format
// is built from Decimals, Thousands (group thousands with dots) and Currency
// (a leading "R$ "). GetNumber reads the text back, dots and currency sign
// ignored; an empty or unreadable text is 0.
//
// The user types digits, one decimal comma (when Decimals allows) with at
// most Decimals digits after it, and a leading minus; anything else is
// dropped. Leaving the edit after typing shows the value formatted again.

#include <optional>
#include <string>

#include "ui/edit.h"

class TNumberEdit : public TCustomEdit {
 public:
  TNumberEdit();

  int Decimals() const { return decimals_; }
  void SetDecimals(int decimals);
  const std::string& NumberFormat() const { return number_format_; }
  void SetNumberFormat(std::string format);
  bool Currency() const { return currency_; }
  void SetCurrency(bool v) { currency_ = v; }
  bool Thousands() const { return thousands_; }
  void SetThousands(bool v) { thousands_ = v; }

  double GetNumber() const;
  void SetNumber(double value);
  // A text set by code that reads as a number is shown in NumberFormat, as
  // SetNumber would show it ("87200,00" -> "87.200,00" with "#,#00.00");
  // any other text, or any text without a NumberFormat, is kept as given.
  void SetText(const std::string& text) override;
  // The format SetNumber applies.
  std::string EffectiveFormat() const;

  void DoExit() override;

 protected:
  void KeyPressDefault(char32_t& key) override;
  void ReplaceByUser(const std::string& text) override;

 private:
  bool Accepts(char32_t key) const;

  int decimals_ = 2;
  std::string number_format_;
  bool currency_ = false;
  bool thousands_ = true;
};

// The number in a text as a number edit shows it: blanks, thousands dots and
// "R$" are ignored, the comma is the decimal separator; nullopt when what
// is left is not a number.
std::optional<double> ParseNumberText(const std::string& text);
