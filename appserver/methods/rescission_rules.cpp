#include "methods/rescission_rules.h"

std::optional<double> FinePercentFor(const std::vector<FineBand>& bands, double sharePaid) {
  for (const FineBand& band : bands)
    if (sharePaid >= band.from && sharePaid < band.to) return band.percent;
  return std::nullopt;
}

double SharePaid(Cents charged, Cents paid) {
  if (charged <= 0) return paid > 0 ? 100.0 : 0.0;
  // Hundredths of a percent, so the share has exactly two decimals.
  return FromCents(DivideRounded(paid * 10000, charged));
}

std::string ShareText(double share) { return CentsText(ToCents(share).value_or(0)); }

RescissionValues PriceRescission(Cents charged, Cents paid, double percent) {
  RescissionValues v;
  v.charged = charged;
  v.paid = paid;
  v.percent = percent;
  // The percentage in hundredths keeps the product in integers.
  v.fine = DivideRounded(charged * ToCents(percent).value_or(0), 10000);
  const Cents balance = paid - v.fine;
  v.account = balance >= 0 ? kAccountPayable : kAccountReceivable;
  v.calculated = balance >= 0 ? balance : -balance;
  return v;
}

Cents SignedAmount(const std::string& account, Cents calculated) {
  return account == kAccountReceivable ? calculated : -calculated;
}
