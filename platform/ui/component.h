#pragma once
// The component model: every control, menu item and non-visual helper of a
// form is a component with a name and an owner. The owner destroys what it
// owns and finds it by name; observers hear about every property change.
//
// Destruction runs in two steps: Teardown(), run once by whoever destroys
// the component (its owner, or TComponentDeleter for one held alone) while
// the whole object is still alive, then the destructor. Handlers and
// observers therefore run against complete objects and outside destructors,
// so an exception they throw reaches the caller instead of ending the process.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "data/exceptions.h"

class TComponent;
class TWinControl;

using TNotifyEvent = std::function<void(TComponent* sender)>;
// Called with the component and the name of the property that changed
// ("Caption", "Enabled", "Text", ...; "Destroying" when it goes away).
using PropertyObserver = std::function<void(TComponent& source, std::string_view property)>;

// A non-component object (a dataset, a connection, a catalogue) owned by a
// form under a name.
template <class T>
class TOwnedObject;

class TComponent {
 public:
  TComponent() = default;
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name);
  TComponent* Owner() const { return owner_; }

  int ComponentCount() const { return static_cast<int>(owned_.size()); }
  TComponent* Components(int index) const { return owned_.at(static_cast<std::size_t>(index)).get(); }

  // Creates a component owned by this one; controls are also placed in
  // `parent` when given. Names are unique within an owner (case-insensitive).
  template <class T, class... Args>
  T& Add(std::string name, TWinControl* parent = nullptr, Args&&... args);
  // Takes ownership of a component created elsewhere.
  TComponent& InsertComponent(std::unique_ptr<TComponent> component);
  // Destroys an owned component now.
  void DestroyComponent(TComponent* component);
  // Owns a non-component object under a name; Find<T> returns it.
  template <class T, class... Args>
  T& Own(std::string name, Args&&... args);

  // By name, case-insensitive: this component's own first, then theirs.
  TComponent* FindComponent(std::string_view name) const;
  template <class T>
  T* FindAs(std::string_view name) const;
  // As FindAs, but a missing name or another type is an error.
  template <class T>
  T& Find(std::string_view name) const;

  // Runs once, before destruction: BeforeDestruction(), then the owned
  // components torn down and destroyed (newest first), then the observers
  // told "Destroying". An exception from any of them passes to the caller;
  // the destructor then removes what is left without telling anyone.
  void Teardown();
  bool TornDown() const { return torn_down_; }

  int Observe(PropertyObserver observer);
  void Unobserve(int id);

  // The object this component stands for: itself, or the object it holds.
  virtual const void* HeldObject() const { return this; }
  // Told when a component of the same owner is about to be destroyed, so
  // references to it (or to the object it holds) can be dropped.
  virtual void Removing(TComponent& /*doomed*/) {}

 protected:
  // Tells the observers; called by every setter that changes something.
  void Changed(std::string_view property);
  // The derived class's own part of the teardown, run first (a form runs
  // its OnDestroy there).
  virtual void BeforeDestruction() {}
  // Tears down and destroys the owned components, newest first.
  void DestroyComponents();
  // For destructors: destroys what is left of the owned components; nothing
  // that fails there can be reported, so it is dropped.
  void DestroyComponentsQuietly() noexcept;

 private:
  void CheckUniqueName(std::string_view name) const;

  bool torn_down_ = false;
  std::string name_;
  TComponent* owner_ = nullptr;
  std::vector<std::unique_ptr<TComponent>> owned_;
  std::vector<std::pair<int, PropertyObserver>> observers_;
  int next_observer_ = 1;
};

// Destroys a component that no owner holds (a dialog held by its creator
// routine): its teardown first. On this path an exception is already in
// flight or the caller ran Teardown() itself, so a failure here is dropped.
struct TComponentDeleter {
  void operator()(TComponent* component) const noexcept;
};
template <class T>
using TComponentPtr = std::unique_ptr<T, TComponentDeleter>;
template <class T, class... Args>
TComponentPtr<T> MakeComponent(Args&&... args) {
  return TComponentPtr<T>(new T(std::forward<Args>(args)...));
}

template <class T>
class TOwnedObject : public TComponent {
 public:
  template <class... Args>
  explicit TOwnedObject(Args&&... args) : object_(std::forward<Args>(args)...) {}
  T& Object() { return object_; }
  const void* HeldObject() const override { return &object_; }

 private:
  T object_;
};

template <class T, class... Args>
T& TComponent::Add(std::string name, TWinControl* parent, Args&&... args) {
  auto component = std::make_unique<T>(std::forward<Args>(args)...);
  T& ref = *component;
  ref.SetName(std::move(name));
  InsertComponent(std::move(component));
  if constexpr (requires(T& t) { t.SetParent(parent); }) {
    if (parent) ref.SetParent(parent);
  }
  return ref;
}

template <class T, class... Args>
T& TComponent::Own(std::string name, Args&&... args) {
  auto holder = std::make_unique<TOwnedObject<T>>(std::forward<Args>(args)...);
  T& ref = holder->Object();
  holder->SetName(std::move(name));
  InsertComponent(std::move(holder));
  return ref;
}

template <class T>
T* TComponent::FindAs(std::string_view name) const {
  TComponent* found = FindComponent(name);
  if (!found) return nullptr;
  if constexpr (std::is_base_of_v<TComponent, T>) {
    return dynamic_cast<T*>(found);
  } else {
    auto* holder = dynamic_cast<TOwnedObject<T>*>(found);
    return holder ? &holder->Object() : nullptr;
  }
}

template <class T>
T& TComponent::Find(std::string_view name) const {
  T* found = FindAs<T>(name);
  if (!found) throw Exception("Componente não encontrado: " + std::string(name));
  return *found;
}
