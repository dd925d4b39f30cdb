#include "answering_ui.h"

#include <QTimer>
#include <cstdio>
#include <utility>

#include "data/client_dataset.h"
#include "ui/edit.h"
#include "ui/form.h"

AnsweringUi::AnsweringUi(QWidget* mainWindow, QMdiArea* mdiArea, std::optional<TModalResult> answer, int pickRow,
                         QList<QPair<QString, QString>> dialogTexts, QString dialogClick)
    : QtUi(mainWindow, mdiArea),
      answer_(answer),
      pickRow_(pickRow),
      dialogTexts_(std::move(dialogTexts)),
      dialogClick_(std::move(dialogClick)) {}

TModalResult AnsweringUi::ShowModal(TForm& form) {
  // Typed once the dialog's loop runs, as the user would; edits the dialog lacks are left alone.
  if (!dialogTexts_.isEmpty() || !dialogClick_.isEmpty()) {
    const QString click = std::exchange(dialogClick_, QString());
    QTimer::singleShot(0, [this, &form, click] {
      for (const auto& [name, text] : dialogTexts_) {
        auto* edit = form.FindAs<TCustomEdit>(name.toStdString());
        if (!edit || !edit->CanFocus() || edit->ReadOnly()) continue;
        edit->UserSetFocus();
        edit->UserSetText(text.toStdString());
      }
      // Posted: a click that opens a list of its own stays in that list's loop.
      if (auto* control = click.isEmpty() ? nullptr : form.FindAs<TControl>(click.toStdString()))
        QTimer::singleShot(0, [control] { control->UserClick(); });
    });
  }
  return QtUi::ShowModal(form);
}

TModalResult AnsweringUi::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  // Only a question that offers the chosen answer takes it; the rest are the picture's.
  const bool offered = answer_ && ((*answer_ == mrYes && buttons.Has(mbYes)) || (*answer_ == mrNo && buttons.Has(mbNo)));
  if (type == mtConfirmation && offered) return *answer_;
  return QtUi::MessageDlg(text, type, buttons);
}

bool AnsweringUi::PickList(TClientDataSet& data, const std::string& title, const std::string& emptyText) {
  if (pickRow_ < 1) return QtUi::PickList(data, title, emptyText);
  if (pickRow_ > data.RecordCount()) {
    // A picture of the wrong substitute is worse than none: say so and pick nothing.
    std::fprintf(stderr, "distrato-docshot: --pick %d: the list \"%s\" has %d rows\n", pickRow_, title.c_str(),
                 data.RecordCount());
    return false;
  }
  data.SetRecNo(pickRow_);
  return true;
}
