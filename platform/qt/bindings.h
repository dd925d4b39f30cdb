#pragma once
// The bindings of each kind of control. Each maker returns null when the
// control is not of its kind.

#include <memory>

class TControl;
class QWidget;

namespace dxqt {

class ControlBinding;
class FormView;

using BindingMaker = std::unique_ptr<ControlBinding> (*)(FormView&, TControl&, QWidget*);

std::unique_ptr<ControlBinding> makeLabelBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeDBTextBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeImageBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makePanelBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeGroupBoxBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeScrollBoxBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makePageControlBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeSplitterBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeButtonBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeSpeedButtonBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeCheckBoxBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeRadioButtonBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeSpinEditBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeMemoBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeEditBinding(FormView&, TControl&, QWidget*);
std::unique_ptr<ControlBinding> makeGridBinding(FormView&, TControl&, QWidget*);
// Any other control: a plain widget that holds its children.
std::unique_ptr<ControlBinding> makeFallbackBinding(FormView&, TControl&, QWidget*);

}  // namespace dxqt
