#include "workspace/filter_validation.h"

namespace workspace {

namespace {

using Outcome = FilterCheck::Outcome;

FilterCheck Refuse(std::string_view key, FilterControl focus, bool enable = false) {
  return FilterCheck{Outcome::Refuse, key, focus, enable};
}

FilterCheck Go(Outcome outcome, FilterControl focus) { return FilterCheck{outcome, {}, focus, false}; }

// Only blanks typed counts as nothing typed.
bool Blank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

FilterCheck CheckBranchTyped(std::string_view text, bool reportEmpty) {
  constexpr FilterControl field = FilterControl::medCdFilial;
  if (!Blank(text)) return Go(Outcome::Lookup, field);
  return reportEmpty ? Refuse("FILI_N_INF", field) : Go(Outcome::Skip, field);
}

FilterCheck CheckBranchFound(bool found) {
  constexpr FilterControl field = FilterControl::medCdFilial;
  return found ? Go(Outcome::Accept, field) : Refuse("FILIAL_N_CAD", field);
}

FilterCheck CheckBudgetTyped(std::string_view text, bool reportEmpty) {
  constexpr FilterControl field = FilterControl::edtOrcamento;
  if (!Blank(text)) return Go(Outcome::Lookup, field);
  return reportEmpty ? Refuse("ORCA_N_INF", field) : Go(Outcome::Skip, field);
}

FilterCheck CheckBudgetFound(bool found) {
  constexpr FilterControl field = FilterControl::edtOrcamento;
  return found ? Go(Outcome::Accept, field) : Refuse("ORCA_N_CAD", field);
}

bool BankAccountRequired(RescissionType tipo, int settledReceivables) {
  return tipo == RescissionType::Total || settledReceivables > 0;
}

FilterCheck CheckBankAccountTyped(std::string_view text, bool reportEmpty, RescissionType tipo,
                                  int settledReceivables) {
  constexpr FilterControl field = FilterControl::medCdReduCont;
  if (!Blank(text)) return Go(Outcome::Lookup, field);
  if (reportEmpty && BankAccountRequired(tipo, settledReceivables)) {
    return Refuse("ContCorr_ninf", field, true);
  }
  return Go(Outcome::Skip, field);
}

FilterCheck CheckBankAccountFound(bool found) {
  constexpr FilterControl field = FilterControl::medCdReduCont;
  return found ? Go(Outcome::Accept, field) : Refuse("ContCorr_NaoCad", field, true);
}

}  // namespace workspace
