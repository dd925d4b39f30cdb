#pragma once
// The UI service with real windows: message boxes, modal forms as dialogs,
// the pick list and find dialogs, the busy indicator, the wait cursor and
// the exception display. Installing it also shows the toolkit's forms as
// windows (MDI children in the given MDI area) and keeps the windows alive
// during remote calls.

#include <QPointer>
#include <memory>

#include "qt/busy_indicator.h"
#include "ui/ui_service.h"

class QMdiArea;
class QWidget;

namespace dxqt {

class BusyIndicator;
class FormWindows;

class QtUi : public UiService {
 public:
  // `mainWindow` carries the busy indicator and parents the dialogs; both may be null.
  explicit QtUi(QWidget* mainWindow = nullptr, QMdiArea* mdiArea = nullptr);
  ~QtUi() override;

  // Becomes the toolkit's UI service and starts showing its forms.
  void install();
  FormWindows& windows() const { return *windows_; }
  BusyIndicator* busyIndicator() const { return busy_; }

  TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
  TModalResult ShowModal(TForm& form) override;
  bool PickList(TClientDataSet& data, const std::string& title, const std::string& emptyText) override;
  void FindDialog(TClientDataSet& data) override;
  void ShowProgress(const std::string& text) override;
  void HideProgress() override;
  void SetCursor(TCursor cursor) override;
  void ShowException(const std::string& message) override;
  void ShowDocument(const Document& document) override;

 private:
  QWidget* dialogParent() const;

  QPointer<QWidget> mainWindow_;
  std::unique_ptr<FormWindows> windows_;
  QPointer<BusyIndicator> busy_;
  bool installed_ = false;
  bool waitCursor_ = false;
};

}  // namespace dxqt
