#include "methods/rescission_rules.h"

#include <cmath>
#include <cstdio>

double RoundMoney(double value) {
  // The nudge keeps values like 1.005, stored as 1.00499..., rounding up.
  const double scaled = std::fabs(value) * 100.0;
  const double rounded = std::floor(scaled + 0.5 + 1e-9) / 100.0;
  return std::copysign(rounded, value);
}

std::optional<double> FinePercentFor(const std::vector<FineBand>& bands, double sharePaid) {
  for (const FineBand& band : bands)
    if (sharePaid >= band.from && sharePaid < band.to) return band.percent;
  return std::nullopt;
}

double SharePaid(double charged, double paid) {
  if (charged <= 0) return paid > 0 ? 100.0 : 0.0;
  return RoundMoney(paid / charged * 100.0);
}

std::string ShareText(double share) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", RoundMoney(share));
  std::string text = buffer;
  for (char& c : text)
    if (c == '.') c = ',';
  return text;
}

RescissionValues PriceRescission(double charged, double paid, double percent) {
  RescissionValues v;
  v.charged = RoundMoney(charged);
  v.paid = RoundMoney(paid);
  v.percent = percent;
  v.fine = RoundMoney(v.charged * percent / 100.0);
  const double balance = RoundMoney(v.paid - v.fine);
  v.account = balance >= 0 ? kAccountPayable : kAccountReceivable;
  v.calculated = std::fabs(balance);
  return v;
}

double SignedAmount(const std::string& account, double calculated) {
  return account == kAccountReceivable ? calculated : -calculated;
}
