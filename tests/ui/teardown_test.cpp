// Destruction in two steps: the owner's teardown runs every handler and
// observer while the whole form is alive, once, and an exception from one of
// them reaches the caller instead of a destructor.

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "ui/application.h"
#include "ui/edit.h"
#include "ui/form.h"

namespace {

// A member that says whether it still exists.
struct Alive {
  bool* flag;
  explicit Alive(bool* f) : flag(f) { *flag = true; }
  ~Alive() { *flag = false; }
};

// A form like the module's: no destructor of its own, handlers that reach its members.
class Screen : public TForm {
 public:
  explicit Screen(bool* alive) : member(alive) {
    auto& edit = Add<TEdit>("edtValor", this);
    edit.Observe([this](TComponent&, std::string_view property) {
      if (property == "Destroying") memberAliveWhenControlWent = *member.flag;
    });
    Observe([this](TComponent& self, std::string_view property) {
      if (property == "Destroying") wholeWhenTold = dynamic_cast<Screen*>(&self) != nullptr;
    });
    OnDestroy = [this](TComponent*) {
      if (destroys) ++*destroys;
    };
  }
  Alive member;
  int* destroys = nullptr;
  bool memberAliveWhenControlWent = false;
  bool wholeWhenTold = false;
};

struct Seen {
  bool memberAlive = false;
  bool whole = false;
};

TEST(TeardownTest, TheOwnerTearsAFormDownWhileItIsWholeAndOnce) {
  bool alive = false;
  int destroys = 0;
  Seen seen;
  Screen& screen = Application().CreateForm<Screen>("frmTeardown", &alive);
  screen.destroys = &destroys;
  // What the observers saw outlives the form.
  screen.Observe([&seen, &screen](TComponent&, std::string_view property) {
    if (property == "Destroying") seen = {screen.memberAliveWhenControlWent, screen.wholeWhenTold};
  });
  Application().DestroyComponent(&screen);
  EXPECT_EQ(destroys, 1);
  EXPECT_TRUE(seen.memberAlive) << "a control went after the form's members";
  EXPECT_TRUE(seen.whole) << "\"Destroying\" was told after the form's derived part was gone";
  EXPECT_FALSE(alive);
  EXPECT_EQ(Application().FindComponent("frmTeardown"), nullptr);
}

TEST(TeardownTest, AFormHeldAloneIsTornDownByItsPointerAndExplicitlyOnlyOnce) {
  bool alive = false;
  int destroys = 0;
  {
    TComponentPtr<Screen> screen = MakeComponent<Screen>(&alive);
    screen->destroys = &destroys;
    screen->Teardown();
    EXPECT_TRUE(screen->TornDown());
    EXPECT_EQ(screen->ComponentCount(), 0);
    EXPECT_EQ(destroys, 1);
  }
  EXPECT_EQ(destroys, 1);
  EXPECT_FALSE(alive);

  {
    TComponentPtr<Screen> screen = MakeComponent<Screen>(&alive);
    screen->destroys = &destroys;
  }
  EXPECT_EQ(destroys, 2);  // the pointer ran the teardown nobody ran
}

TEST(TeardownTest, AThrowingObserverReachesTheCallerAndTheFormStillGoes) {
  bool alive = false;
  Screen& screen = Application().CreateForm<Screen>("frmThrowing", &alive);
  screen.Find<TEdit>("edtValor").Observe([](TComponent&, std::string_view property) {
    if (property == "Destroying") throw std::runtime_error("observador falhou");
  });
  EXPECT_THROW(Application().DestroyComponent(&screen), std::runtime_error);
  EXPECT_FALSE(alive);
  EXPECT_EQ(Application().FindComponent("frmThrowing"), nullptr);
  EXPECT_EQ(std::find(Application().Forms().begin(), Application().Forms().end(), &screen),
            Application().Forms().end());
}

TEST(TeardownTest, AComponentDestroyedWithoutTeardownDropsAThrowingObserver) {
  // Held on the stack: the destructor is the only chance, and it must not end the process.
  int told = 0;
  {
    TForm form;
    auto throwing = [&told](TComponent&, std::string_view property) {
      if (property != "Destroying") return;
      ++told;
      throw std::runtime_error("observador falhou");
    };
    form.Add<TEdit>("edtValor", &form).Observe(throwing);
    form.Observe(throwing);
  }
  EXPECT_EQ(told, 2);
}

}  // namespace
