#include "ui/containers.h"

#include <algorithm>

#include "ui/run_handler.h"

void TPanel::SetBevelOuter(TBevelCut b) {
  if (b == bevel_outer_) return;
  bevel_outer_ = b;
  Changed(TProperty::BevelOuter);
}

void TPanel::SetBevelInner(TBevelCut b) {
  if (b == bevel_inner_) return;
  bevel_inner_ = b;
  Changed(TProperty::BevelInner);
}

void TPanel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(TProperty::Alignment);
}

TRect TGroupBox::ClientRect() const { return {2, 15, std::max(Width() - 2, 2), std::max(Height() - 2, 15)}; }

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::SetTabVisible(bool v) {
  if (v == tab_visible_) return;
  tab_visible_ = v;
  Changed(TProperty::TabVisible);
}

int TTabSheet::PageIndex() const {
  TPageControl* pc = PageControl();
  if (!pc) return -1;
  auto pages = pc->Pages();
  for (std::size_t i = 0; i < pages.size(); ++i)
    if (pages[i] == this) return static_cast<int>(i);
  return -1;
}

std::vector<TTabSheet*> TPageControl::Pages() const {
  std::vector<TTabSheet*> out;
  for (TControl* c : Controls())
    if (auto* sheet = dynamic_cast<TTabSheet*>(c)) out.push_back(sheet);
  return out;
}

void TPageControl::SetActivePage(TTabSheet* sheet) {
  if (sheet && sheet->PageControl() != this) return;
  active_ = sheet;
  for (TTabSheet* page : Pages()) page->SetVisible(page == sheet);
  Changed(TProperty::ActivePage);
}

TTabSheet* TPageControl::ActivePage() const {
  // A sheet destroyed since it was made active is no longer a page.
  for (TTabSheet* page : Pages())
    if (page == active_) return active_;
  return nullptr;
}

int TPageControl::ActivePageIndex() const {
  TTabSheet* active = ActivePage();
  return active ? active->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
  auto pages = Pages();
  SetActivePage(index >= 0 && index < static_cast<int>(pages.size()) ? pages[static_cast<std::size_t>(index)] : nullptr);
}

void TPageControl::UserSelectPage(int index) {
  if (!Showing() || !EffectivelyEnabled() || index == ActivePageIndex()) return;
  RunHandler([&] {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return;
    SetActivePageIndex(index);
    if (OnChange) OnChange(this);
  });
}

bool TPageControl::ShowsTabs() const {
  for (const TTabSheet* sheet : Pages())
    if (sheet->TabVisible() && !sheet->Caption().empty()) return true;
  return false;
}

TRect TPageControl::ClientRect() const {
  const int top = ShowsTabs() ? 24 : 4;
  return {4, top, std::max(Width() - 4, 4), std::max(Height() - 4, top)};
}

void TPageControl::Realign() {
  if (Aligning()) return;
  // Sheets fill the area under the tabs and only the active one shows; with
  // none active, the first sheet is.
  TRect r = ClientRect();
  std::vector<TTabSheet*> pages = Pages();
  for (TTabSheet* page : pages) page->SetBounds(r.left, r.top, r.Width(), r.Height());
  TTabSheet* active = ActivePage();
  if (!active && !pages.empty()) active = pages.front();
  if (active != active_) {
    SetActivePage(active);
  } else {
    for (TTabSheet* page : pages) page->SetVisible(page == active_);
  }
  TWinControl::Realign();
}
