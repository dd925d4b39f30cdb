#include "qt/binding_factory.h"

#include "qt/bindings.h"
#include "qt/control_binding.h"

namespace dxqt {

std::unique_ptr<ControlBinding> makeBinding(FormView& view, TControl& control, QWidget* parent) {
  // Derived kinds before their bases (a spin edit is also an edit).
  static constexpr BindingMaker kMakers[] = {
      makeGridBinding,        makeSpinEditBinding,   makeMemoBinding,        makeEditBinding,
      makeButtonBinding,      makeSpeedButtonBinding, makeCheckBoxBinding,   makeRadioButtonBinding,
      makeLabelBinding,       makeDBTextBinding,     makeImageBinding,      makeSplitterBinding,    makePageControlBinding,
      makeGroupBoxBinding,    makeScrollBoxBinding,  makePanelBinding,       makeFallbackBinding,
  };
  for (BindingMaker make : kMakers) {
    if (auto binding = make(view, control, parent)) return binding;
  }
  return nullptr;  // unreachable: the fallback takes anything
}

}  // namespace dxqt
