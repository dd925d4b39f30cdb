#pragma once
// Runs a toolkit form modally in a Qt dialog: the run ends when the form's
// ModalResult is set and the form agrees to close.

#include "ui/ui_types.h"

class QWidget;
class TForm;

namespace dxqt {

TModalResult runModalForm(TForm& form, QWidget* parent);

}  // namespace dxqt
