#pragma once
// The toolkit's message dialog as a QMessageBox: the type's icon and the
// buttons labelled the way the screens' users read them.

#include <QString>

#include "ui/ui_service.h"

class QWidget;

namespace dxqt {

// Shows the dialog modally and returns the modal result of the button pressed.
TModalResult showMessageBox(QWidget* parent, const QString& title, const QString& text, TMsgDlgType type,
                            TMsgDlgButtons buttons);

// The caption the dialog of a type carries ("Confirmação", "Erro", ...).
QString messageTitle(TMsgDlgType type);

}  // namespace dxqt
