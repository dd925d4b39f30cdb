#pragma once
// The host's windowed UI service with two answers given in advance, for
// pictures a command line cannot reach otherwise: questions (confirmation
// messages) answered without showing them, and the search's pick list
// choosing a row without showing it; texts typed into the edits of a modal
// dialog once it shows, and one of its controls clicked. Everything else shows as in the host.
// Like the service it extends, it is used from the GUI thread only.

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

#include "qt/qt_ui.h"

class AnsweringUi : public dxqt::QtUi {
 public:
  // `answer` unset: questions are shown; `pickRow` 0: pick lists are shown.
  AnsweringUi(QWidget* mainWindow, QMdiArea* mdiArea, std::optional<TModalResult> answer, int pickRow,
              QList<QPair<QString, QString>> dialogTexts = {}, QString dialogClick = {});

  TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
  TModalResult ShowModal(TForm& form) override;
  bool PickList(TClientDataSet& data, const std::string& title, const std::string& emptyText) override;

 private:
  std::optional<TModalResult> answer_;
  int pickRow_;
  QList<QPair<QString, QString>> dialogTexts_;
  QString dialogClick_;  // clicked in the first modal dialog only, then forgotten
};
