#include "qt/modal_form.h"

#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QVBoxLayout>

#include "qt/dialog_placement.h"
#include "qt/form_view.h"
#include "ui/form.h"

namespace dxqt {

namespace {

// Closing the window or pressing Escape asks the toolkit form to close.
class FormDialog : public QDialog {
 public:
  FormDialog(TForm& form, QWidget* parent) : QDialog(parent), form_(form) {}
  void reject() override { form_.UserClose(); }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    form_.UserClose();
  }

 private:
  TForm& form_;
};

}  // namespace

TModalResult runModalForm(TForm& form, QWidget* parent) {
  FormDialog dialog(form, parent);
  dialog.setObjectName(QString::fromStdString(form.Name()) + QStringLiteral("Dialog"));
  dialog.setWindowTitle(QString::fromStdString(form.Caption()));
  auto* layout = new QVBoxLayout(&dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* view = new FormView(form, &dialog);
  layout->addWidget(view);
  if (!form.Sizeable()) {
    // A fixed border: the dialog keeps the form's size, with no grip.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog.setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  }
  dialog.setWindowModality(Qt::ApplicationModal);

  QEventLoop loop;
  bool alive = true;
  const int observer = form.Observe([&](TComponent&, TProperty property) {
    if (property == TProperty::Destroying) {
      alive = false;
      loop.quit();
    } else if (property == TProperty::ModalResult && form.ModalResult() != mrNone) {
      loop.quit();
    }
  });
  // At the form's size, not the share of the screen Qt gives a window it sizes itself.
  dialog.resize(dialog.sizeHint());
  placeDialog(dialog, parent, form.Position(), QPoint(form.Left(), form.Top()));
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
  view->syncFocus();

  TModalResult result = mrCancel;
  for (;;) {
    if (!alive) break;
    if (form.ModalResult() != mrNone) {
      result = form.ModalResult();
      if (form.CloseModal()) break;
      continue;
    }
    if (loop.exec() != 0) break;  // the application is quitting
  }
  if (alive) form.Unobserve(observer);
  dialog.hide();
  return alive ? form.ModalResult() : result;
}

}  // namespace dxqt
