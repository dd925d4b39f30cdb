#pragma once
// Controls that only show something: labels and images.

#include <string>

#include "ui/control.h"

class TLabel : public TControl {
 public:
  TLabel() { SetColor(clBtnFace); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

 private:
  TAlignment alignment_ = taLeftJustify;
  bool word_wrap_ = false;
  bool transparent_ = true;
};

class TImage : public TControl {
 public:
  // Name of the picture resource the renderer draws.
  const std::string& Picture() const { return picture_; }
  void SetPicture(std::string picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);

 private:
  std::string picture_;
  bool stretch_ = false;
  bool center_ = false;
};
