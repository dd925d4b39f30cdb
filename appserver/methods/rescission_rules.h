#pragma once
// What a partial rescission costs, as plain integer arithmetic in cents over
// what the party was charged and what it has paid; the handlers read those
// from the database and refuse what these functions cannot price.

#include <optional>
#include <string>
#include <vector>

#include "data/money.h"

// A fine percentage applies while from <= share paid < to (shares in %).
struct FineBand {
  double from = 0;
  double to = 0;
  double percent = 0;
};

// The percentage of the band holding `sharePaid`; none when no band does.
std::optional<double> FinePercentFor(const std::vector<FineBand>& bands, double sharePaid);

// Share of `charged` already `paid`, in %, rounded to 2 places. A party
// charged nothing that paid something counts as fully paid.
double SharePaid(Cents charged, Cents paid);

// The share as the refusal N_PARAM_DISTRATO names it: "33,33".
std::string ShareText(double share);

inline constexpr const char* kAccountReceivable = "CNTRECEBER";
inline constexpr const char* kAccountPayable = "CNTPAGAR";

struct RescissionValues {
  Cents charged = 0;      // VRRECECONTOREV of the party
  Cents paid = 0;         // its settled receivables
  double percent = 0;     // VRPERCMULTA
  Cents fine = 0;         // VRMULTA: percent of what was charged
  Cents calculated = 0;   // VRORIGRECNOEDIT: |paid - fine|
  std::string account;    // GERACTPAGAR: refund (payable) or balance due (receivable)
};

// The fine is `percent` of the value charged, rounded to the cent half away
// from zero. What was paid beyond it is refunded (a payable); a fine beyond
// what was paid is charged (a receivable).
RescissionValues PriceRescission(Cents charged, Cents paid, double percent);

// The amount as Distrato's tenth argument carries it: positive for a
// receivable, negative for a payable.
Cents SignedAmount(const std::string& account, Cents calculated);
