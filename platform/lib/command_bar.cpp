#include "lib/command_bar.h"

#include <algorithm>
#include <memory>

#include "lib/button_flat.h"
#include "ui/menu.h"

namespace {
constexpr int kButtonSize = 30;
constexpr int kMargin = 2;

int NextLeft(const TWinControl& bar) {
  int left = kMargin;
  for (const TControl* c : bar.Controls())
    if (c->Align() == alNone && dynamic_cast<const TSpeedButton*>(c)) left = std::max(left, c->Left() + c->Width() + 1);
  return left;
}
}  // namespace

TButtonFlat& AddToolButton(TComponent& owner, TWinControl& bar, const char* name, const char* hint, const char* glyph) {
  const int left = NextLeft(bar);
  TButtonFlat& button = owner.Add<TButtonFlat>(name, &bar);
  button.SetBounds(left, kMargin, kButtonSize, kButtonSize);
  button.SetHint(hint);
  button.SetGlyphs(glyph);
  return button;
}

TMenuItem& AddMenuItem(TComponent& owner, TMenuItem& parent, const char* name, const char* caption,
                       TShortCut shortcut) {
  TMenuItem& item = owner.Add<TMenuItem>(name);
  item.SetCaption(caption);
  item.SetShortCut(shortcut);
  parent.Add(item);
  return item;
}

TButtonFlat& AddCommand(TComponent& owner, TWinControl& bar, TMenuItem& menu, const CommandSpec& spec) {
  TButtonFlat& button = AddToolButton(owner, bar, spec.button, spec.hint, spec.glyph);
  TMenuItem& item = owner.Add<TMenuItem>(spec.menu);
  item.SetCaption(spec.caption);
  item.SetShortCut(spec.shortcut);
  item.SetHint(spec.hint);
  menu.Add(item);
  PairCommand(button, item);
  return button;
}

void PairCommand(TControl& button, TMenuItem& item) {
  item.SetEnabled(button.Enabled());
  item.OnClick = [&button](TComponent*) { button.Click(); };
  const int id = button.Observe([&item](TComponent& source, TProperty property) {
    if (property == TProperty::Enabled) item.SetEnabled(static_cast<TControl&>(source).Enabled());
  });
  // Whichever goes first, the other stops hearing about it.
  auto alive = std::make_shared<bool>(true);
  button.Observe([alive](TComponent&, TProperty property) {
    if (property == TProperty::Destroying) *alive = false;
  });
  item.Observe([&button, id, alive](TComponent&, TProperty property) {
    if (property == TProperty::Destroying && *alive) button.Unobserve(id);
  });
}
