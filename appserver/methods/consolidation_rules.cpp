#include "methods/consolidation_rules.h"

#include <cmath>
#include <stdexcept>

#include "data/civil_date.h"
#include "data/formats.h"
#include "net/refusal.h"

namespace {

// `day` of the month `monthsAhead` after `from`'s, or that month's last day.
DateTime DayOfMonth(const CivilDate& from, int monthsAhead, int day) {
  return DateTime{DaysFromCivil(AddMonthsClamped({from.year, from.month, day}, monthsAhead))};
}

std::string MoneyText(Cents value) { return FormatFloat("#,##0.00", FromCents(value)); }


}  // namespace

std::vector<DateTime> FixedDayDueDates(int day, int count, bool nextMonth, DateTime today) {
  const CivilDate thisMonth = CivilFromDays(DateOf(today).days);
  int first = nextMonth ? 1 : 0;
  if (!nextMonth && DayOfMonth(thisMonth, first, day) < DateOf(today)) ++first;
  std::vector<DateTime> dates;
  for (int i = 0; i < count; ++i) dates.push_back(DayOfMonth(thisMonth, first + i, day));
  return dates;
}

std::vector<DueInstallment> ScheduleAccount(Cents total, const PaymentForm& form, DateTime today,
                                            const std::string& client) {
  std::vector<DueInstallment> out;
  if (total <= 0) return out;
  const DateTime day = DateOf(today);
  if (form.mode == "E") {
    out.push_back({day, total});
  } else if (form.mode == "F") {
    if (form.day < 1 || form.day > 31 || form.count < 1 || form.count > 99)
      throw Refusal("Pagamento fixo inválido para o contratante " + client + ": dia de 1 a 31 e de 1 a 99 parcelas.");
    const std::vector<Cents> values = SplitAmount(total, form.count);
    const std::vector<DateTime> dates = FixedDayDueDates(form.day, form.count, form.nextMonth, day);
    for (std::size_t i = 0; i < values.size(); ++i) out.push_back({dates[i], values[i]});
  } else if (form.mode == "V") {
    if (form.planned.empty())
      throw Refusal("Pelo menos uma data de vencimento deve ser informada para o contratante " + client + ".");
    Cents sum = 0;
    for (const DueInstallment& row : form.planned) {
      if (row.value <= 0) throw Refusal("As parcelas do contratante " + client + " devem ter valor maior que zero.");
      if (DateOf(row.due) < day)
        throw Refusal("Data de vencimento da parcela do contratante " + client + " anterior à data atual (" +
               FormatDate(row.due) + ").");
      sum += row.value;
      out.push_back({DateOf(row.due), row.value});
    }
    if (sum != total)
      throw Refusal("A soma das parcelas do contratante " + client + " (" + MoneyText(sum) + ") difere do valor negociado (" +
             MoneyText(total) + ").");
  } else {
    throw Refusal("Forma de pagamento inválida para o contratante " + client + ".");
  }
  return out;
}
