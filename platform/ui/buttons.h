#pragma once
// Buttons. Click() from code runs the click handler whatever the enabled
// state; UserClick() is the user's click and does nothing on a disabled or
// hidden button.
//
// `TButton` takes the focus when clicked (so the exit handler of the control
// left runs first, and a refused exit means no click) and hands its
// ModalResult to its form. `TSpeedButton` never takes the focus: the control
// that had it keeps it while the click runs.

#include <string>

#include "ui/control.h"

class TButton : public TWinControl {
 public:
  TButton();

  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult r) { modal_result_ = r; }
  // Pressed by Enter / by Escape anywhere on the form (the renderer's job).
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v);

  bool AcceptsFocus() const override { return true; }
  void Click() override;
  void UserClick() override;

 protected:
  void KeyPressDefault(char32_t& key) override;

 private:
  TModalResult modal_result_ = mrNone;
  bool default_ = false;
  bool cancel_ = false;
};

class TSpeedButton : public TControl {
 public:
  TSpeedButton();

  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  // Name of the glyph resource and how many images it holds side by side.
  const std::string& Glyph() const { return glyph_; }
  void SetGlyph(std::string glyph);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int n);

 private:
  bool flat_ = true;
  std::string glyph_;
  int num_glyphs_ = 1;
};
