#include "dialogs/installment_rules.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "data/exceptions.h"
#include "data/formats.h"
#include "lib/consiste.h"

namespace dialogs {

std::vector<Installment> PlanInstallments(double total, int count, int termDays, DateTime today) {
  std::vector<Installment> plan;
  double sum = 0.0;
  DateTime due = DateOf(today);
  for (int i = 1; i <= count; ++i) {
    Installment row;
    row.value = RoundDec(total / count, 2);
    sum += row.value;
    due.days += termDays;
    row.due = due;
    plan.push_back(row);
  }
  // The rounding remainder always goes to the last installment; with no
  // installment at all it makes one of its own, as editing an empty plan
  // inserts a row.
  if (total != sum) {
    if (plan.empty()) plan.push_back({});
    plan.back().value = RoundDec(plan.back().value + (total - sum), 2);
  }
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
  double s = 0.0;
  for (double v : values) {
    s = RoundDec(s, 2);
    s = RoundDec(v, 2) + s;
  }
  s = RoundDec(s, 2);
  if (RoundDec(total, 2) != s) return std::string("SOMA_PARC_DIF");
  return std::nullopt;
}

std::optional<std::string> CheckSnapshotTotal(const std::vector<double>& values, double total) {
  double sum = 0.0;
  for (double v : values) sum += v;
  if (RoundDec(total, 2) != RoundDec(sum, 2)) return std::string("SOMA_MAIOR");
  return std::nullopt;
}

bool DueDateTextEmpty(std::string_view text) {
  std::string rest;
  for (char c : text)
    if (c != '/') rest.push_back(c);
  return EmptyString(rest);
}

}  // namespace dialogs
