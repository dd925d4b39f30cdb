#pragma once
// The demo's rescissions and consolidations, made by the module's own remote
// methods called in process by the demo supervisor, so what the demo holds is
// what those methods write. Each call runs its own transaction on the
// database at `path`, which holds the sold budgets already.

#include <memory>
#include <string>
#include <vector>

#include "data/variant.h"

class AppServer;
class CallerSession;

// One contract of a demo budget of the main branch.
struct DemoContract {
  std::string budget, seq, client, address = "1";
};

class DemoOperations {
 public:
  explicit DemoOperations(const std::string& path);
  ~DemoOperations();
  DemoOperations(const DemoOperations&) = delete;
  DemoOperations& operator=(const DemoOperations&) = delete;

  // The partial rescission of `c` as the screen prices and confirms it; a
  // `negotiated` value below the calculated one is the operator's discount.
  void rescind(const DemoContract& c, double negotiated = -1);
  // Its account generated in one installment due on `due` (days since
  // 30/12/1899), kept in bank account 001.
  void consolidate(const DemoContract& c, double due);
  // The total rescission of every free party of `budget`, as priced.
  void rescindTotal(const std::string& budget);
  // Every party's account in one installment due on `due`.
  void consolidateTotal(const std::string& budget, double due);

 private:
  Variant call(const std::string& method, std::vector<Variant> args);

  std::unique_ptr<AppServer> server_;
  std::unique_ptr<CallerSession> supervisor_;
};
