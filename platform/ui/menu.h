#pragma once
// Menus: a main menu holds a tree of items. Items are components owned by
// the form (so they are found by name) and placed in a parent item. A caption
// of "-" makes a separator; "&" marks the accelerator letter.

#include <vector>

#include "ui/component.h"
#include "ui/shortcut.h"

class TMenuItem : public TComponent {
 public:
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool IsLine() const { return caption_ == "-"; }
  TShortCut ShortCut() const { return shortcut_; }
  void SetShortCut(TShortCut shortcut);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);

  TMenuItem* Parent() const { return parent_; }
  const std::vector<TMenuItem*>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  void Add(TMenuItem& item);
  void Insert(int index, TMenuItem& item);
  void Remove(TMenuItem& item);
  int IndexOf(const TMenuItem& item) const;

  TNotifyEvent OnClick;
  // From code: runs the handler whatever the enabled state.
  void Click();
  // From the user: only when the item and its parents are enabled and visible.
  void UserClick();
  bool EffectivelyEnabled() const;

  // The enabled and visible item with this shortcut in this subtree.
  TMenuItem* FindShortCut(TShortCut shortcut);

 private:
  std::string caption_;
  TShortCut shortcut_ = scNone;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  std::string hint_;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
};

class TMainMenu : public TComponent {
 public:
  // The invisible root whose children are the menu bar's entries.
  TMenuItem& Items() { return root_; }
  // Runs the item with this shortcut for the user; true when one ran.
  bool UserShortCut(TShortCut shortcut);

 private:
  TMenuItem root_;
};
