#pragma once
// The application: every form that exists, the main and the active form,
// MDI children, the screen cursor and the forms waiting to be destroyed.

#include <string>
#include <utility>
#include <vector>

#include "ui/component.h"
#include "ui/ui_types.h"

class TForm;

class TApplication : public TComponent {
 public:
  // Creates a form owned by the application and runs its OnCreate.
  template <class T, class... Args>
  T& CreateForm(std::string name, Args&&... args) {
    T& form = Add<T>(std::move(name), nullptr, std::forward<Args>(args)...);
    form.DoCreate();
    return form;
  }

  TForm* MainForm() const { return main_form_; }
  void SetMainForm(TForm* form) { main_form_ = form; }
  TForm* ActiveForm() const { return active_form_; }
  void SetActiveForm(TForm* form);

  // Every form in existence, oldest first, and the visible MDI children.
  const std::vector<TForm*>& Forms() const { return forms_; }
  std::vector<TForm*> MDIChildren() const;

  TCursor Cursor() const { return cursor_; }
  // Also sets the cursor through the UI service.
  void SetCursor(TCursor cursor);

  // Queues a form for destruction; ProcessReleases() runs its OnDestroy and
  // has its owner destroy it. The renderer calls ProcessReleases() once the
  // event that released it has returned.
  void ReleaseForm(TForm* form);
  void ProcessReleases();

  void Terminate();
  bool Terminated() const { return terminated_; }

  // Kept by TForm.
  void RegisterForm(TForm* form);
  void UnregisterForm(TForm* form);

 private:
  std::vector<TForm*> forms_;
  std::vector<TForm*> released_;
  TForm* main_form_ = nullptr;
  TForm* active_form_ = nullptr;
  TCursor cursor_ = crDefault;
  bool terminated_ = false;
};

// The one application object; it lives as long as the process.
TApplication& Application();
