#include "dialogs/installment_rules.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "data/exceptions.h"
#include "data/formats.h"
#include "data/money.h"
#include "lib/consiste.h"

namespace dialogs {

std::optional<std::string> CheckInstallmentCount(double total, int count) {
  if (count <= 0) return std::nullopt;  // QT_PARC_ZERO's case
  const Cents cents = ToCents(total).value_or(0);
  if (cents < count) return std::string("QT_PARC_MAIOR_VALOR");
  return std::nullopt;
}

std::vector<Installment> PlanInstallments(double total, int count, int termDays, DateTime today) {
  std::vector<Installment> plan;
  if (CheckInstallmentCount(total, count)) return plan;
  const Cents cents = ToCents(total).value_or(0);
  DateTime due = DateOf(today);
  for (Cents value : SplitAmount(cents, count)) {
    due.days += termDays;
    plan.push_back({due, FromCents(value)});
  }
  // With no installment at all the whole total makes one of its own, as
  // editing an empty plan inserts a row; the due-date check refuses it.
  if (plan.empty() && cents != 0) plan.push_back({std::nullopt, FromCents(cents)});
  return plan;
}

int StrToInt(std::string_view text) {
  std::string_view t = text;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  std::string_view digits = t;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  int value = 0;
  auto [end, ec] = std::from_chars(t.data() + (t.size() - digits.size()), t.data() + t.size(), value);
  if (digits.empty() || ec != std::errc() || end != t.data() + t.size())
    throw Exception("'" + std::string(text) + "' não é um valor inteiro válido");
  return (!t.empty() && t.front() == '-') ? -value : value;
}

int TermDays(std::string_view termText) {
  if (termText.empty()) return kDefaultTermDays;
  return StrToInt(termText);
}

char32_t DigitsOnly(char32_t key) {
  if ((key >= U'0' && key <= U'9') || key == 8) return key;
  return 0;
}

char32_t DropSignsAndExponent(char32_t key) {
  if (key == U'+' || key == U'-' || key == U'E' || key == U'e') return 0;
  return key;
}

char32_t NumericKey(char32_t key) {
  if (key < 32 || (key >= U'0' && key <= U'9') || key == U',' || key == U'.') return key;
  return 0;
}

char32_t FilterValueKey(bool fieldSelected, const std::string& typedText, const std::string& numberText,
                        char32_t key) {
  if (fieldSelected && key == U',') {
    // A value cannot start with a comma, nor hold two.
    if (typedText.empty()) return 0;
    if (std::count(typedText.begin(), typedText.end(), ',') > 0) return 0;
  }
  if (key >= U'0' && key <= U'9') {
    std::string next = numberText;
    next.push_back(static_cast<char>(key));
    if (auto value = ParseFloat(next); value && *value > kMaxTypedValue) return 0;
  }
  return key;
}

std::optional<std::string> CheckQuantity(std::string_view quantityText) {
  if (quantityText.empty()) return std::nullopt;
  if (StrToInt(quantityText) <= 0) return std::string("QT_PARC_ZERO");
  return std::nullopt;
}

bool CanGenerate(std::string_view quantityText, std::string_view termText) {
  return !quantityText.empty() && !termText.empty();
}

std::optional<std::string> CheckDueDate(std::string_view dueText, DateTime today, const std::string& lateKey) {
  if (EmptyString(dueText)) return std::string("DT_VENC_N_INF");
  DateTime due = StrToDate(dueText);
  if (DateOf(today) > DateOf(due)) return lateKey;
  return std::nullopt;
}

std::optional<std::string> CheckPlanTotal(const std::vector<double>& values, double total) {
  if (values.empty()) return std::string("PARC_N_INF");
  if (auto key = CheckInstallmentValues(values)) return key;
  // In cents, so no sum of doubles can drift from the total.
  Cents sum = 0;
  for (double v : values) sum += ToCents(v).value_or(0);
  if (ToCents(total).value_or(0) != sum) return std::string("SOMA_PARC_DIF");
  return std::nullopt;
}

std::optional<std::string> CheckInstallmentValues(const std::vector<double>& values) {
  for (double v : values)
    if (ToCents(v).value_or(0) <= 0) return std::string("VR_PARC_ZERO");
  return std::nullopt;
}

std::optional<std::string> CheckSnapshotTotal(const std::vector<double>& values, double total) {
  if (auto key = CheckInstallmentValues(values)) return key;
  Cents sum = 0;
  for (double v : values) sum += ToCents(v).value_or(0);
  if (ToCents(total).value_or(0) != sum) return std::string("SOMA_MAIOR");
  return std::nullopt;
}

bool DueDateTextEmpty(std::string_view text) {
  std::string rest;
  for (char c : text)
    if (c != '/') rest.push_back(c);
  return EmptyString(rest);
}

}  // namespace dialogs
