#pragma once
// Controls: a component with a place on screen. `TControl` is anything drawn
// (labels, speed buttons, images); `TWinControl` can hold children, take the
// focus and receive keys. A layout pass places aligned children inside their
// parent's client rectangle, so a renderer reads the computed bounds.

#include <functional>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/ui_types.h"

class TForm;

using TKeyEvent = std::function<void(TComponent* sender, int& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TComponent* sender, char32_t& key)>;

class TControl : public TComponent {
 public:
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  // The form this control sits on (itself for a form), or null.
  TForm* ParentForm() const;

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  TRect BoundsRect() const { return bounds_; }
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
  void SetBounds(int left, int top, int width, int height);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  void SetFontBold(bool bold);
  void SetFontColor(TColor color);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  // Visible here and in every parent up to the form.
  bool Showing() const;
  // Enabled here and in every parent up to the form.
  bool EffectivelyEnabled() const;

  TNotifyEvent OnClick;
  // A click made by code: runs the click handler whatever the enabled state;
  // exceptions reach the caller.
  virtual void Click();
  // A click by the user: ignored unless the control is showing and enabled;
  // exceptions go to the application's exception display.
  virtual void UserClick();

 protected:
  // The layout pass places a control without asking its parent to realign.
  void PlaceAt(const TRect& bounds);
  virtual void BoundsChanged() {}
  void RequestParentRealign();

 private:
  friend class TWinControl;

  TWinControl* parent_ = nullptr;
  TRect bounds_{0, 0, 100, 25};
  TAlign align_ = alNone;
  std::string caption_;
  std::string hint_;
  bool show_hint_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  TColor color_ = clBtnFace;
  TFont font_;
  int tag_ = 0;
};

class TWinControl : public TControl {
 public:
  ~TWinControl() override;

  // Children in the order they were placed, which is also the layout order
  // among children with the same alignment.
  const std::vector<TControl*>& Controls() const { return children_; }
  int ControlCount() const { return static_cast<int>(children_.size()); }
  bool ContainsControl(const TControl* control) const;

  int TabOrder() const { return tab_order_; }
  void SetTabOrder(int order);
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool v);

  // Whether this kind of control takes the focus at all (edits, buttons,
  // grids); containers only pass it through.
  virtual bool AcceptsFocus() const { return false; }
  // Takes the focus now: showing, enabled, and of a kind that accepts it.
  bool CanFocus() const;
  bool Focused() const;
  // Moves the focus here from code; an exit handler that raises cancels the
  // move and the exception reaches the caller.
  void SetFocus();
  // Moves the focus here for the user: exceptions go to the exception display.
  void UserSetFocus();

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Run by the focus manager when the focus arrives or leaves.
  virtual void DoEnter();
  virtual void DoExit();

  // A key pressed by the user while this control has the focus: the key
  // handler runs first and may set the key to 0 to swallow it; returns the key
  // as the handler left it, after the control's own handling.
  int UserKeyDown(int key, TShiftState shift = ssNone);
  void UserKeyUp(int key, TShiftState shift = ssNone);
  // A character typed by the user: the key-press handler may change it or
  // set it to 0 to drop it.
  char32_t UserKeyPress(char32_t key);

  virtual TRect ClientRect() const { return {0, 0, Width(), Height()}; }
  // Places the aligned children: top, bottom, left, right, then client.
  virtual void Realign();

 protected:
  // What the control itself does with a key nobody swallowed.
  virtual void KeyDownDefault(int& key, TShiftState shift);
  virtual void KeyPressDefault(char32_t& key);
  void BoundsChanged() override { Realign(); }
  bool Aligning() const { return aligning_; }

 private:
  friend class TControl;
  void AddChild(TControl* child);
  void RemoveChild(TControl* child);

  std::vector<TControl*> children_;
  int tab_order_ = -1;
  bool tab_stop_ = false;
  bool aligning_ = false;
};
