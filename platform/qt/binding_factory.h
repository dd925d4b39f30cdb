#pragma once
// Picks the binding, and so the Qt widget, for each kind of control.

#include <memory>

class TControl;
class QWidget;

namespace dxqt {

class ControlBinding;
class FormView;

std::unique_ptr<ControlBinding> makeBinding(FormView& view, TControl& control, QWidget* parent);

}  // namespace dxqt
