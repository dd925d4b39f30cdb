#pragma once
// Shows the toolkit's non-modal forms as windows: MDI children inside the
// host's MDI area (top-level windows without one), other forms as top-level
// windows. Follows each form's visibility, caption, window state and
// activation, and has released forms destroyed once the event that
// released them is over.

#include <QObject>
#include <QPointer>
#include <map>

#include "ui/property.h"

class QMdiArea;
class QWidget;
class TForm;

namespace dxqt {

class FormView;

class FormWindows : public QObject {
 public:
  explicit FormWindows(QMdiArea* mdiArea);
  ~FormWindows() override;

  // The window showing a form, or null.
  QWidget* windowFor(const TForm& form) const;
  FormView* viewFor(const TForm& form) const;

 private:
  struct Entry {
    int observer = 0;
    QPointer<QWidget> window;  // the sub-window or the top-level window
    QPointer<FormView> view;
  };

  void adoptForms();
  void formChanged(TForm& form, TProperty property);
  void show(TForm& form, Entry& entry);
  void hide(Entry& entry);
  void forget(TForm& form);
  void scheduleReleases();
  bool eventFilter(QObject* watched, QEvent* event) override;

  QPointer<QMdiArea> mdiArea_;
  std::map<TForm*, Entry> forms_;
  int appObserver_ = 0;
  bool releasePending_ = false;
};

}  // namespace dxqt
