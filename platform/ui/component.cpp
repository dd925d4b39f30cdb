#include "ui/component.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

TComponent::~TComponent() {
  if (!torn_down_) {
    // Destroyed without a teardown (held alone, on the stack): the owned
    // components and the observers are still told, but nothing may escape.
    torn_down_ = true;
    DestroyComponentsQuietly();
    try {
      Changed("Destroying");
    } catch (...) {
    }
  }
  DestroyComponentsQuietly();
}

void TComponent::Teardown() {
  if (torn_down_) return;
  torn_down_ = true;
  BeforeDestruction();
  DestroyComponents();
  Changed("Destroying");
}

void TComponentDeleter::operator()(TComponent* component) const noexcept {
  try {
    component->Teardown();
  } catch (...) {
  }
  delete component;
}

void TComponent::SetName(std::string name) {
  if (name == name_) return;
  if (owner_) owner_->CheckUniqueName(name);
  name_ = std::move(name);
  Changed("Name");
}

void TComponent::CheckUniqueName(std::string_view name) const {
  if (name.empty()) return;
  for (const auto& c : owned_)
    if (SameName(c->name_, name)) throw Exception("Já existe um componente chamado " + std::string(name));
}

TComponent& TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  CheckUniqueName(component->name_);
  component->owner_ = this;
  owned_.push_back(std::move(component));
  return *owned_.back();
}

void TComponent::DestroyComponent(TComponent* component) {
  auto it = std::find_if(owned_.begin(), owned_.end(), [&](const auto& c) { return c.get() == component; });
  if (it == owned_.end()) return;
  // Taken out of the list first so that lookups during its destruction do
  // not find it.
  std::unique_ptr<TComponent> doomed = std::move(*it);
  owned_.erase(it);
  for (const auto& c : owned_) c->Removing(*doomed);
  doomed->Teardown();
  doomed.reset();
}

void TComponent::DestroyComponents() {
  while (!owned_.empty()) {
    std::unique_ptr<TComponent> doomed = std::move(owned_.back());
    owned_.pop_back();
    for (const auto& c : owned_) c->Removing(*doomed);
    doomed->Teardown();
    doomed.reset();
  }
}

void TComponent::DestroyComponentsQuietly() noexcept {
  while (!owned_.empty()) {
    try {
      DestroyComponents();
    } catch (...) {
      // The component whose teardown failed is already out of the list.
    }
  }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : owned_)
    if (SameName(c->name_, name)) return c.get();
  for (const auto& c : owned_)
    if (TComponent* found = c->FindComponent(name)) return found;
  return nullptr;
}

int TComponent::Observe(PropertyObserver observer) {
  int id = next_observer_++;
  observers_.emplace_back(id, std::move(observer));
  return id;
}

void TComponent::Unobserve(int id) {
  std::erase_if(observers_, [id](const auto& o) { return o.first == id; });
}

void TComponent::Changed(std::string_view property) {
  if (observers_.empty()) return;
  // A copy, so an observer may unsubscribe while being told.
  auto observers = observers_;
  for (const auto& [id, observer] : observers) observer(*this, property);
}
