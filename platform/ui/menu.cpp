#include "ui/menu.h"

#include <algorithm>

#include "ui/run_handler.h"

TMenuItem::~TMenuItem() {
  if (parent_) parent_->Remove(*this);
  for (TMenuItem* child : items_) child->parent_ = nullptr;
}

void TMenuItem::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(TProperty::Caption);
}

void TMenuItem::SetShortCut(TShortCut shortcut) {
  if (shortcut == shortcut_) return;
  shortcut_ = shortcut;
  Changed(TProperty::ShortCut);
}

void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed(TProperty::Enabled);
}

void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed(TProperty::Visible);
}

void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed(TProperty::Checked);
}

void TMenuItem::SetHint(std::string hint) {
  if (hint == hint_) return;
  hint_ = std::move(hint);
  Changed(TProperty::Hint);
}

void TMenuItem::Add(TMenuItem& item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem& item) {
  if (item.parent_) item.parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, &item);
  item.parent_ = this;
  Changed(TProperty::Items);
}

void TMenuItem::Remove(TMenuItem& item) {
  if (item.parent_ != this) return;
  std::erase(items_, &item);
  item.parent_ = nullptr;
  Changed(TProperty::Items);
}

int TMenuItem::IndexOf(const TMenuItem& item) const {
  auto it = std::find(items_.begin(), items_.end(), &item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

bool TMenuItem::EffectivelyEnabled() const {
  for (const TMenuItem* i = this; i; i = i->parent_)
    if (!i->enabled_ || !i->visible_) return false;
  return true;
}

void TMenuItem::UserClick() {
  if (IsLine() || !EffectivelyEnabled()) return;
  RunHandler([this] { Click(); });
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortcut) {
  if (shortcut == scNone) return nullptr;
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    if (item->shortcut_ == shortcut && item->items_.empty()) return item;
    if (TMenuItem* found = item->FindShortCut(shortcut)) return found;
  }
  return nullptr;
}

bool TMainMenu::UserShortCut(TShortCut shortcut) {
  TMenuItem* item = root_.FindShortCut(shortcut);
  if (!item || !item->EffectivelyEnabled()) return false;
  RunHandler([item] { item->Click(); });
  return true;
}
