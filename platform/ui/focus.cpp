#include "ui/focus.h"

#include <algorithm>

#include "ui/control.h"
#include "ui/form.h"

std::vector<TWinControl*> FocusManager::ChainFrom(TWinControl* control) const {
  // From the control up to, not including, the form.
  std::vector<TWinControl*> chain;
  for (TWinControl* c = control; c && c != &form_; c = c->Parent()) chain.push_back(c);
  return chain;
}

void FocusManager::SetFocus(TWinControl* target) {
  if (!target || !target->CanFocus() || target->ParentForm() != &form_) return;
  if (target == focused_ && exit_point_ == focused_) {
    // Asked from a handler of a move in progress: staying put supersedes it.
    if (moving_ > 0) ++generation_;
    return;
  }
  unsigned generation = ++generation_;
  struct Depth {
    int& n;
    explicit Depth(int& d) : n(d) { ++n; }
    ~Depth() { --n; }
  } depth(moving_);

  std::vector<TWinControl*> leaving = ChainFrom(exit_point_);
  // Containers that also hold the target are not left.
  std::erase_if(leaving, [&](TWinControl* c) { return c->ContainsControl(target); });
  for (TWinControl* c : leaving) {
    try {
      c->DoExit();
    } catch (...) {
      if (generation == generation_) exit_point_ = focused_;
      throw;
    }
    if (generation != generation_) return;  // the handler moved the focus itself
    exit_point_ = c->Parent();
  }

  std::vector<TWinControl*> entering = ChainFrom(target);
  std::erase_if(entering, [&](TWinControl* c) { return exit_point_ && c->ContainsControl(exit_point_); });
  std::reverse(entering.begin(), entering.end());
  focused_ = target;
  exit_point_ = target;
  form_.FocusMoved();
  for (TWinControl* c : entering) {
    c->DoEnter();
    if (generation != generation_) return;
  }
}

void FocusManager::CollectTabStops(TWinControl* container, std::vector<TWinControl*>& out) const {
  std::vector<TWinControl*> wins;
  for (TControl* c : container->Controls())
    if (auto* w = dynamic_cast<TWinControl*>(c)) wins.push_back(w);
  std::stable_sort(wins.begin(), wins.end(),
                   [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
  for (TWinControl* w : wins) {
    if (!w->Visible() || !w->Enabled()) continue;
    if (w->AcceptsFocus() && w->TabStop() && w->CanFocus()) out.push_back(w);
    CollectTabStops(w, out);
  }
}

std::vector<TWinControl*> FocusManager::TabStops() const {
  std::vector<TWinControl*> out;
  CollectTabStops(&form_, out);
  return out;
}

bool FocusManager::SelectNext(bool forward) {
  std::vector<TWinControl*> stops = TabStops();
  if (stops.empty()) return false;
  auto it = std::find(stops.begin(), stops.end(), focused_);
  std::size_t n = stops.size();
  std::size_t next;
  if (it == stops.end()) {
    next = forward ? 0 : n - 1;
  } else {
    std::size_t i = static_cast<std::size_t>(it - stops.begin());
    if (n == 1) return false;
    next = forward ? (i + 1) % n : (i + n - 1) % n;
  }
  SetFocus(stops[next]);
  return true;
}

void FocusManager::Forget(const TControl* control) {
  auto inside = [&](TWinControl* c) {
    for (const TControl* p = c; p; p = p->Parent())
      if (p == control) return true;
    return false;
  };
  if (focused_ && inside(focused_)) {
    focused_ = nullptr;
    ++generation_;
    form_.FocusMoved();
  }
  if (exit_point_ && inside(exit_point_)) exit_point_ = focused_;
}
