#pragma once
// The checks of the selection filter (branch, budget) and of the settlement
// bank account, split around their lookups: the form asks whether to look
// up, looks up, then asks what the answer means. A refusal names the
// catalogue key to show with MensErro (stop) and the control to focus.

#include <string_view>

#include "workspace/rescission_type.h"

namespace workspace {

enum class FilterControl { medCdFilial, edtOrcamento, medCdReduCont };

struct FilterCheck {
  enum class Outcome {
    Skip,    // nothing typed and nothing to report: the check ends quietly
    Lookup,  // normalise the code (Ajusta) and look it up
    Accept,  // the lookup found it
    Refuse,  // show `messageKey`, focus `focus`, stop
  };
  Outcome outcome = Outcome::Skip;
  std::string_view messageKey;
  FilterControl focus = FilterControl::medCdFilial;
  // The control is enabled before it is focused; a disabled control cannot
  // take the focus.
  bool enableBeforeFocus = false;

  friend bool operator==(const FilterCheck&, const FilterCheck&) = default;
};

// Key widths for Ajusta.
inline constexpr int kBranchWidth = 4;
inline constexpr int kBudgetWidth = 10;
inline constexpr int kBankAccountWidth = 3;

// Vd_Filial: medCdFilial typed text, then whether qryPesqFilial found it.
FilterCheck CheckBranchTyped(std::string_view text, bool reportEmpty);
FilterCheck CheckBranchFound(bool found);

// Vd_Orcamento: edtOrcamento typed text, then whether cdsVdOrca has a row.
// An unregistered budget is reported whatever the flag.
FilterCheck CheckBudgetTyped(std::string_view text, bool reportEmpty);
FilterCheck CheckBudgetFound(bool found);

// Whether the rescission needs a bank account: always under total; under
// partial only when the party has settled receivables (inCtBaixadas).
bool BankAccountRequired(RescissionType tipo, int settledReceivables);

// Vd_ContaCorrente: medCdReduCont typed text, then whether cdsVdContCorr has
// a row. The field is enabled again before it takes the focus.
FilterCheck CheckBankAccountTyped(std::string_view text, bool reportEmpty, RescissionType tipo,
                                  int settledReceivables);
FilterCheck CheckBankAccountFound(bool found);

}  // namespace workspace
