#include "qt/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <map>

namespace dxqt {

namespace {

struct ButtonSpec {
  TMsgDlgBtn button;
  const char* label;
  QMessageBox::ButtonRole role;
  TModalResult result;
};

// In the order they appear, left to right.
constexpr ButtonSpec kButtons[] = {
    {mbYes, "Sim", QMessageBox::YesRole, mrYes},
    {mbNo, "Não", QMessageBox::NoRole, mrNo},
    {mbOK, "OK", QMessageBox::AcceptRole, mrOk},
    {mbCancel, "Cancelar", QMessageBox::RejectRole, mrCancel},
    {mbAbort, "Anular", QMessageBox::RejectRole, mrAbort},
    {mbRetry, "Repetir", QMessageBox::AcceptRole, mrRetry},
    {mbIgnore, "Ignorar", QMessageBox::AcceptRole, mrIgnore},
};

QMessageBox::Icon iconFor(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
  }
  return QMessageBox::NoIcon;
}

// Escape answers as the dialog's "no": Cancelar, else Não, else the only button.
TModalResult escapeResult(TMsgDlgButtons buttons) {
  if (buttons.Has(mbCancel)) return mrCancel;
  if (buttons.Has(mbNo)) return mrNo;
  if (buttons.Has(mbAbort)) return mrAbort;
  if (buttons.Has(mbOK)) return mrOk;
  return mrCancel;
}

}  // namespace

QString messageTitle(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return QStringLiteral("Aviso");
    case mtError: return QStringLiteral("Erro");
    case mtInformation: return QStringLiteral("Informação");
    case mtConfirmation: return QStringLiteral("Confirmação");
    case mtCustom: break;
  }
  return QStringLiteral("Distrato");
}

TModalResult showMessageBox(QWidget* parent, const QString& title, const QString& text, TMsgDlgType type,
                            TMsgDlgButtons buttons) {
  if (buttons.bits == 0) buttons = mbOK;
  QMessageBox box(iconFor(type), title, text, QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("MessageDlg"));
  std::map<QAbstractButton*, TModalResult> results;
  QPushButton* first = nullptr;
  QPushButton* escape = nullptr;
  const TModalResult escapeWith = escapeResult(buttons);
  for (const auto& spec : kButtons) {
    if (!buttons.Has(spec.button)) continue;
    QPushButton* b = box.addButton(QString::fromUtf8(spec.label), spec.role);
    b->setObjectName(QString::fromUtf8(spec.label));
    results[b] = spec.result;
    if (!first) first = b;
    if (spec.result == escapeWith) escape = b;
  }
  box.setDefaultButton(first);
  box.setEscapeButton(escape ? escape : first);
  box.exec();
  auto it = results.find(box.clickedButton());
  return it == results.end() ? escapeWith : it->second;
}

}  // namespace dxqt
