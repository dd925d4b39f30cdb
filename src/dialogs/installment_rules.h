#pragma once
// The installment rules both value dialogs share, as plain functions over
// plain values: the generated schedule, the key filters, the due-date and
// total checks. The dialogs read their controls and datasets into these and
// act on the answers. A check answers the catalogue key of its refusal, or
// nothing when it passes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/variant.h"

namespace dialogs {

// The largest value a user may type into a value column.
inline constexpr double kMaxTypedValue = 999999999.0;
// Term used when the term edit is empty.
inline constexpr int kDefaultTermDays = 30;

struct Installment {
  std::optional<DateTime> due;  // none only for the remainder row of an empty plan
  double value = 0.0;
};

// A count the total cannot be split into: more installments than the
// total has cents (QT_PARC_MAIOR_VALOR), so some would be 0,00 or less.
// Counts of 0 or less are QT_PARC_ZERO's and pass here.
std::optional<std::string> CheckInstallmentCount(double total, int count);

// `count` installments of the total split by SplitAmount (the share rounded
// to the cent, the remainder on the last installment), the first due
// `termDays` after today and each later one `termDays` after the previous.
// Every installment is above zero and they sum to the total to the cent. A count
// CheckInstallmentCount refuses gives no plan. A count of 0 or less
// generates no installment, so the whole total goes into one installment
// without a due date (which the dialogs' checks refuse).
std::vector<Installment> PlanInstallments(double total, int count, int termDays, DateTime today);

// The integer in a quantity or term text, as the platform converts it;
// raises Exception "'text' não é um valor inteiro válido" otherwise.
int StrToInt(std::string_view text);
// The term of the term edit: the default when empty, else its integer.
int TermDays(std::string_view termText);

// Key filter of the quantity and term edits: digits and backspace pass,
// everything else becomes 0 (dropped).
char32_t DigitsOnly(char32_t key);
// "+", "-", "E" and "e" cannot be typed into a value column.
char32_t DropSignsAndExponent(char32_t key);

// A number column takes digits, the decimal comma, the thousands dot and
// control keys; letters and other characters are dropped, as the platform's
// number fields do.
char32_t NumericKey(char32_t key);

// The decimal-comma filter of a value column. `fieldSelected`: the grid's
// selected column shows the field; `typedText`: the field's text as typed;
// `numberText`: the same ready for number conversion. Returns the key or 0.
char32_t FilterValueKey(bool fieldSelected, const std::string& typedText, const std::string& numberText,
                        char32_t key);

// Quantity edit on leaving: a text whose integer is 0 or less is refused.
std::optional<std::string> CheckQuantity(std::string_view quantityText);
// Both edits hold text: the generator may run.
bool CanGenerate(std::string_view quantityText, std::string_view termText);

// A due date as typed, against today. `lateKey` names the refusal of a
// date before today (DT_VENC_MAIOR in the values dialog, DATA_MAIOR in the
// contractor dialog). Raises the conversion error for a text that is not a
// date.
std::optional<std::string> CheckDueDate(std::string_view dueText, DateTime today, const std::string& lateKey);

// An installment of 0,00 or less: VR_PARC_ZERO.
std::optional<std::string> CheckInstallmentValues(const std::vector<double>& values);

// The values dialog's total: rounding as the sum goes, against the
// negotiated value. Empty plan: PARC_N_INF; an installment of 0,00 or less:
// VR_PARC_ZERO; a different sum: SOMA_PARC_DIF.
std::optional<std::string> CheckPlanTotal(const std::vector<double>& values, double total);
// The contractor dialog's total: a plain sum, rounded once. VR_PARC_ZERO
// for an installment of 0,00 or less; SOMA_MAIOR when the sum differs.
std::optional<std::string> CheckSnapshotTotal(const std::vector<double>& values, double total);

// The typed due-date text with every "/" removed; empty when only blanks
// or mask placeholders are left (the field is then cleared).
bool DueDateTextEmpty(std::string_view text);

}  // namespace dialogs
