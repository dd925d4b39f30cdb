#include "qt/form_windows.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "qt/form_view.h"
#include "qt/net_wait.h"
#include "ui/application.h"
#include "ui/form.h"

namespace dxqt {

FormWindows::FormWindows(QMdiArea* mdiArea) : mdiArea_(mdiArea) {
  appObserver_ = Application().Observe([this](TComponent&, TProperty property) {
    if (property == TProperty::Forms) adoptForms();
  });
  if (mdiArea_) {
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
      for (auto& [form, entry] : forms_) {
        if (sub && entry.window == sub) form->UserActivate();
      }
    });
  }
  adoptForms();
}

FormWindows::~FormWindows() {
  Application().Unobserve(appObserver_);
  for (auto& [form, entry] : forms_) {
    form->Unobserve(entry.observer);
    if (entry.window) delete entry.window;
  }
}

QWidget* FormWindows::windowFor(const TForm& form) const {
  auto it = forms_.find(const_cast<TForm*>(&form));
  return it == forms_.end() ? nullptr : it->second.window.data();
}

FormView* FormWindows::viewFor(const TForm& form) const {
  auto it = forms_.find(const_cast<TForm*>(&form));
  return it == forms_.end() ? nullptr : it->second.view.data();
}

void FormWindows::adoptForms() {
  for (TForm* form : Application().Forms()) {
    if (forms_.count(form)) continue;
    Entry& entry = forms_[form];
    entry.observer = form->Observe([this, form](TComponent&, TProperty property) { formChanged(*form, property); });
    if (form->Visible() && !form->Modal()) show(*form, entry);
  }
}

void FormWindows::formChanged(TForm& form, TProperty property) {
  auto it = forms_.find(&form);
  if (it == forms_.end()) return;
  Entry& entry = it->second;
  if (property == TProperty::Destroying) {
    forget(form);
  } else if (property == TProperty::Visible) {
    if (form.Visible() && !form.Modal()) show(form, entry);
    else {
      hide(entry);
      scheduleReleases();
    }
  } else if (property == TProperty::WindowState && entry.window && form.Visible()) {
    switch (form.WindowState()) {
      case wsMinimized: entry.window->showMinimized(); break;
      case wsMaximized: entry.window->showMaximized(); break;
      case wsNormal: entry.window->showNormal(); break;
    }
  } else if (property == TProperty::Caption && entry.window) {
    entry.window->setWindowTitle(QString::fromStdString(form.Caption()));
  } else if (property == TProperty::ActiveForm) {
  }
}

void FormWindows::show(TForm& form, Entry& entry) {
  if (!entry.window) {
    auto* view = new FormView(form);
    entry.view = view;
    if (form.FormStyle() == fsMDIChild && mdiArea_) {
      QMdiSubWindow* sub = mdiArea_->addSubWindow(view);
      sub->setObjectName(QString::fromStdString(form.Name()) + QStringLiteral("Window"));
      sub->setAttribute(Qt::WA_DeleteOnClose, false);
      sub->move(form.Left(), form.Top());
      sub->resize(sub->sizeHint());
      // Maximising or restoring with the title bar is the form's window state too.
      connect(sub, &QMdiSubWindow::windowStateChanged, this, [this, form = &form](Qt::WindowStates, Qt::WindowStates now) {
        if (!forms_.count(form)) return;
        form->SetWindowState(now & Qt::WindowMinimized   ? wsMinimized
                             : now & Qt::WindowMaximized ? wsMaximized
                                                         : wsNormal);
      });
      entry.window = sub;
    } else {
      view->setWindowFlag(Qt::Window);
      view->move(form.Left(), form.Top());
      view->resize(view->sizeHint());
      entry.window = view;
    }
    entry.window->setWindowTitle(QString::fromStdString(form.Caption()));
    entry.window->installEventFilter(this);
  }
  switch (form.WindowState()) {
    case wsMinimized: entry.window->showMinimized(); break;
    case wsMaximized: entry.window->showMaximized(); break;
    case wsNormal: entry.window->showNormal(); break;
  }
  entry.window->raise();
  entry.window->activateWindow();
  if (auto* sub = qobject_cast<QMdiSubWindow*>(entry.window.data()); sub && mdiArea_) mdiArea_->setActiveSubWindow(sub);
}

void FormWindows::hide(Entry& entry) {
  if (entry.window) entry.window->hide();
}

void FormWindows::forget(TForm& form) {
  auto it = forms_.find(&form);
  if (it == forms_.end()) return;
  QPointer<QWidget> window = it->second.window;
  forms_.erase(it);
  if (window) window->deleteLater();
}

void FormWindows::scheduleReleases() {
  if (releasePending_) return;
  releasePending_ = true;
  QTimer::singleShot(0, this, [this] {
    // Not while a remote call keeps a handler of the form on the stack.
    if (insideNetWait()) {
      releasePending_ = false;
      scheduleReleases();
      return;
    }
    releasePending_ = false;
    Application().ProcessReleases();
  });
}

bool FormWindows::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close) {
    for (auto& [form, entry] : forms_) {
      if (entry.window != watched) continue;
      // The toolkit decides whether and how the form closes.
      event->ignore();
      form->UserClose();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace dxqt
