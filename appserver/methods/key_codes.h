#pragma once
// Codes as the client sends them, brought to their stored form. The client
// already widens typed codes, but a code can also arrive as typed (the
// company lookup runs before the branch is validated), so the server applies
// the same rule: blanks trimmed, letters upper-cased, an all-digit code
// zero-filled to its key width. Width 0 only trims and upper-cases.

#include <optional>
#include <string>
#include <string_view>

inline constexpr int kBranchWidth = 4;
inline constexpr int kBudgetWidth = 10;
inline constexpr int kSequenceWidth = 2;
inline constexpr int kCompanyWidth = 2;
inline constexpr int kBankAccountWidth = 3;

std::string KeyCode(std::string_view text, int width);

// A budget in its stored codes.
struct BudgetKey {
  std::string branch, budget;
};

// The budget a call names by its `filial` and `orcamento` arguments.
template <class Call>
BudgetKey BudgetArgs(const Call& args) {
  return {KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth)};
}

// A budget sequence argument: empty or the literal "seq" mean "the budget's
// first sequence" (nullopt); anything else is a sequence code.
std::optional<std::string> SequenceArg(std::string_view text);

// The digits of a registration number, punctuation and blanks dropped.
std::string RegistrationDigits(std::string_view text);
