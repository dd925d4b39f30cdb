#include "methods/consolidation_rules.h"

#include <cmath>
#include <stdexcept>

#include "data/formats.h"
#include "net/refusal.h"

namespace {

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

DateTime DayOfMonth(int year, int month, int day) {
  while (month > 12) month -= 12, ++year;
  return EncodeDate(year, month, std::min(day, DaysInMonth(year, month)));
}

std::string MoneyText(Cents value) { return FormatFloat("#,##0.00", FromCents(value)); }


}  // namespace

std::vector<Cents> SplitAmount(Cents total, int count) {
  std::vector<Cents> parts;
  if (count <= 0) return parts;
  Cents each = DivideRounded(total, count);
  if (each * (count - 1) >= total) each = total / count;
  parts.assign(static_cast<std::size_t>(count - 1), each);
  parts.push_back(total - each * (count - 1));
  return parts;
}

std::vector<DateTime> FixedDayDueDates(int day, int count, bool nextMonth, DateTime today) {
  int year = 0, month = 0, dayToday = 0;
  DecodeDate(today, year, month, dayToday);
  int first = month + (nextMonth ? 1 : 0);
  if (!nextMonth && DayOfMonth(year, first, day) < DateOf(today)) ++first;
  std::vector<DateTime> dates;
  for (int i = 0; i < count; ++i) dates.push_back(DayOfMonth(year, first + i, day));
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
