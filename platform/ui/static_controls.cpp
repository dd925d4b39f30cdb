#include "ui/static_controls.h"

void TLabel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(TProperty::Alignment);
}

void TLabel::SetWordWrap(bool v) {
  if (v == word_wrap_) return;
  word_wrap_ = v;
  Changed(TProperty::WordWrap);
}

void TLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Changed(TProperty::Transparent);
}

void TImage::SetPicture(std::string picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Changed(TProperty::Picture);
}

void TImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  Changed(TProperty::Stretch);
}

void TImage::SetCenter(bool v) {
  if (v == center_) return;
  center_ = v;
  Changed(TProperty::Center);
}
