#pragma once
// "Termo de Distrato": when the main screen offers the rescission statement
// and which parties of the list one document covers. Plain functions over the
// list's codes.

#include <set>
#include <string>

namespace workspace {

// The current party as the rule reads it.
struct StatementInputs {
  bool listEmpty = true;
  bool listEditing = false;
  std::string IDCONTPROCESDIST;  // "S" started, "C" consolidated
  std::string IDORIGEMINCLUSAO;  // "DISTRATO": the row a child budget carries
  bool undone = false;           // its rescission was undone (the server's list)
};

// On when the current party has a rescission, started, consolidated or
// undone, and the list is not being edited. The row a child budget carries
// is the rescission itself, not a party: off.
bool TermoDistratoAvailable(const StatementInputs& in);

// A party the total rescission's document covers: in a total rescission
// (started or consolidated), not a child budget's row.
bool InTotalStatement(const std::string& IDTPDISTRATOREALI, const std::string& IDCONTPROCESDIST,
                      const std::string& IDORIGEMINCLUSAO);

// The key the screen keeps the undone parties by: "01|3301|1".
std::string StatementKey(const std::string& seq, const std::string& client, const std::string& address);

}  // namespace workspace
