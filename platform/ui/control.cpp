#include "ui/control.h"

#include <algorithm>

#include "ui/focus.h"
#include "ui/form.h"
#include "ui/run_handler.h"

TControl::~TControl() {
  if (TForm* form = ParentForm(); form && form != this) form->Focus().Forget(this);
  if (parent_) parent_->RemoveChild(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    if (TForm* form = ParentForm()) form->Focus().Forget(this);
    TWinControl* old = parent_;
    old->RemoveChild(this);
    parent_ = nullptr;
    old->Realign();
  }
  parent_ = parent;
  if (parent_) {
    parent_->AddChild(this);
    parent_->Realign();
  }
  Changed(TProperty::Parent);
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  TRect r{left, top, left + std::max(width, 0), top + std::max(height, 0)};
  if (r == bounds_) return;
  bounds_ = r;
  Changed(TProperty::Bounds);
  BoundsChanged();
  if (align_ != alNone) RequestParentRealign();
}

void TControl::PlaceAt(const TRect& bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Changed(TProperty::Bounds);
  BoundsChanged();
}

void TControl::RequestParentRealign() {
  if (parent_ && !parent_->aligning_) parent_->Realign();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  Changed(TProperty::Align);
  RequestParentRealign();
}

void TControl::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(TProperty::Caption);
}

void TControl::SetHint(std::string hint) {
  if (hint == hint_) return;
  hint_ = std::move(hint);
  Changed(TProperty::Hint);
}

void TControl::SetShowHint(bool v) {
  if (v == show_hint_) return;
  show_hint_ = v;
  Changed(TProperty::ShowHint);
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed(TProperty::Enabled);
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed(TProperty::Visible);
  if (align_ != alNone) RequestParentRealign();
}

void TControl::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  Changed(TProperty::Color);
}

void TControl::SetFont(const TFont& font) {
  if (font == font_) return;
  font_ = font;
  Changed(TProperty::Font);
}

void TControl::SetFontBold(bool bold) {
  TFont f = font_;
  f.bold = bold;
  SetFont(f);
}

void TControl::SetFontColor(TColor color) {
  TFont f = font_;
  f.color = color;
  SetFont(f);
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

bool TControl::EffectivelyEnabled() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::UserClick() {
  if (!Showing() || !EffectivelyEnabled()) return;
  RunHandler([this] { Click(); });
}

// --- TWinControl ---

TWinControl::~TWinControl() {
  // While the children still hang below: a focused child goes with us.
  if (TForm* form = ParentForm(); form && form != this) form->Focus().Forget(this);
  for (TControl* child : children_) child->parent_ = nullptr;
  children_.clear();
}

void TWinControl::AddChild(TControl* child) {
  children_.push_back(child);
  if (auto* win = dynamic_cast<TWinControl*>(child); win && win->tab_order_ < 0) {
    int siblings = 0;
    for (TControl* c : children_)
      if (c != child && dynamic_cast<TWinControl*>(c)) ++siblings;
    win->tab_order_ = siblings;
  }
  Changed(TProperty::Controls);
}

void TWinControl::RemoveChild(TControl* child) {
  std::erase(children_, child);
  Changed(TProperty::Controls);
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::SetTabOrder(int order) {
  if (order == tab_order_) return;
  tab_order_ = order;
  Changed(TProperty::TabOrder);
}

void TWinControl::SetTabStop(bool v) {
  if (v == tab_stop_) return;
  tab_stop_ = v;
  Changed(TProperty::TabStop);
}

bool TWinControl::CanFocus() const { return AcceptsFocus() && Showing() && EffectivelyEnabled(); }

bool TWinControl::Focused() const {
  TForm* form = ParentForm();
  return form && form->Focus().Focused() == this;
}

void TWinControl::SetFocus() {
  if (TForm* form = ParentForm()) form->Focus().SetFocus(this);
}

void TWinControl::UserSetFocus() {
  RunHandler([this] { SetFocus(); });
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

int TWinControl::UserKeyDown(int key, TShiftState shift) {
  if (!EffectivelyEnabled()) return 0;
  RunHandler([&] {
    if (OnKeyDown) OnKeyDown(this, key, shift);
    if (key != 0) KeyDownDefault(key, shift);
  });
  return key;
}

void TWinControl::UserKeyUp(int key, TShiftState shift) {
  if (!EffectivelyEnabled()) return;
  RunHandler([&] {
    if (OnKeyUp) OnKeyUp(this, key, shift);
  });
}

char32_t TWinControl::UserKeyPress(char32_t key) {
  if (!EffectivelyEnabled()) return 0;
  RunHandler([&] {
    if (OnKeyPress) OnKeyPress(this, key);
    if (key != 0) KeyPressDefault(key);
  });
  return key;
}

void TWinControl::KeyDownDefault(int&, TShiftState) {}
void TWinControl::KeyPressDefault(char32_t&) {}

namespace {

// Marks a layout pass as running for as long as it runs, exceptions
// included: a pass that raised must not leave the container frozen.
class AligningScope {
 public:
  explicit AligningScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~AligningScope() { flag_ = false; }
  AligningScope(const AligningScope&) = delete;
  AligningScope& operator=(const AligningScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void TWinControl::Realign() {
  if (aligning_) return;
  AligningScope aligning(aligning_);
  TRect r = ClientRect();
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : children_) {
      if (c->align_ != pass || !c->visible_) continue;
      // Aligned edges keep their own height or width even when the parent
      // is too small, so a later, larger parent shows them whole.
      int w = c->Width(), h = c->Height();
      switch (pass) {
        case alTop:
          c->PlaceAt({r.left, r.top, r.right, r.top + h});
          r.top += h;
          break;
        case alBottom:
          c->PlaceAt({r.left, r.bottom - h, r.right, r.bottom});
          r.bottom -= h;
          break;
        case alLeft:
          c->PlaceAt({r.left, r.top, r.left + w, r.bottom});
          r.left += w;
          break;
        case alRight:
          c->PlaceAt({r.right - w, r.top, r.right, r.bottom});
          r.right -= w;
          break;
        case alClient:
          c->PlaceAt({r.left, r.top, std::max(r.right, r.left), std::max(r.bottom, r.top)});
          break;
        case alNone: break;
      }
    }
  }
}
