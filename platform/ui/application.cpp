#include "ui/application.h"

#include <algorithm>

#include "ui/form.h"
#include "ui/ui_service.h"

TApplication& Application() {
  // Never destroyed, so forms that outlive static destruction can still
  // unregister.
  static TApplication* app = new TApplication;
  return *app;
}

void TApplication::SetActiveForm(TForm* form) {
  if (form == active_form_) return;
  active_form_ = form;
  Changed("ActiveForm");
}

std::vector<TForm*> TApplication::MDIChildren() const {
  std::vector<TForm*> out;
  for (TForm* f : forms_)
    if (f->FormStyle() == fsMDIChild && f->Visible()) out.push_back(f);
  return out;
}

void TApplication::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  Ui().SetCursor(cursor);
}

void TApplication::ReleaseForm(TForm* form) {
  if (std::find(released_.begin(), released_.end(), form) == released_.end()) released_.push_back(form);
}

void TApplication::ProcessReleases() {
  while (!released_.empty()) {
    TForm* form = released_.front();
    released_.erase(released_.begin());
    if (TComponent* owner = form->Owner())
      owner->DestroyComponent(form);
    else
      form->DoDestroy();
  }
}

void TApplication::Terminate() {
  terminated_ = true;
  Changed("Terminated");
}

void TApplication::RegisterForm(TForm* form) {
  forms_.push_back(form);
  Changed("Forms");
}

void TApplication::UnregisterForm(TForm* form) {
  std::erase(released_, form);
  if (std::erase(forms_, form) == 0) return;
  if (main_form_ == form) main_form_ = nullptr;
  if (active_form_ == form) SetActiveForm(nullptr);
  Changed("Forms");
}
