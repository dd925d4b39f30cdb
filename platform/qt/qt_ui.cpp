#include "qt/qt_ui.h"

#include <QApplication>
#include <QMdiArea>

#include "data/client_dataset.h"
#include "qt/busy_indicator.h"
#include "qt/document_preview.h"
#include "qt/form_windows.h"
#include "qt/message_box.h"
#include "qt/modal_form.h"
#include "qt/net_wait.h"
#include "qt/pick_list_dialog.h"

namespace dxqt {

QtUi::QtUi(QWidget* mainWindow, QMdiArea* mdiArea)
    : mainWindow_(mainWindow), windows_(std::make_unique<FormWindows>(mdiArea)) {
  if (mainWindow) busy_ = new BusyIndicator(mainWindow);
}

QtUi::~QtUi() {
  if (installed_) SetUi(nullptr);
  if (waitCursor_) QApplication::restoreOverrideCursor();
}

void QtUi::install() {
  SetUi(this);
  installed_ = true;
  installNetWaitHook();
}

QWidget* QtUi::dialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  return mainWindow_;
}

TModalResult QtUi::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  // A message must be readable and answerable: no wait cursor over it.
  const bool restoreWait = waitCursor_;
  if (restoreWait) SetCursor(crDefault);
  const TModalResult r =
      showMessageBox(dialogParent(), messageTitle(type), QString::fromStdString(text), type, buttons);
  if (restoreWait) SetCursor(crHourGlass);
  return r;
}

TModalResult QtUi::ShowModal(TForm& form) {
  const bool restoreWait = waitCursor_;
  if (restoreWait) SetCursor(crDefault);
  const TModalResult r = runModalForm(form, dialogParent());
  if (restoreWait) SetCursor(crHourGlass);
  return r;
}

bool QtUi::PickList(TClientDataSet& data, const std::string& title, const std::string& emptyText) {
  if (data.IsEmpty()) {
    MessageDlg(emptyText, mtError, mbOK);
    return false;
  }
  return runPickList(dialogParent(), data, QString::fromStdString(title));
}

void QtUi::FindDialog(TClientDataSet& data) { runFindDialog(dialogParent(), data); }

void QtUi::ShowProgress(const std::string& text) {
  if (!busy_) return;
  busy_->start(QString::fromStdString(text));
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtUi::HideProgress() {
  if (busy_) busy_->stop();
}

void QtUi::SetCursor(TCursor cursor) {
  const bool wait = cursor == crHourGlass;
  if (wait == waitCursor_) return;
  waitCursor_ = wait;
  if (wait) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

void QtUi::ShowException(const std::string& message) {
  const bool busy = busy_ && busy_->isRunning();
  if (busy) busy_->stop();
  MessageDlg(message, mtError, mbOK);
}

void QtUi::ShowDocument(const Document& document) { PreviewDocument(document, dialogParent()); }

}  // namespace dxqt
