// Business days of the payment calendar: due dates of monthly payments and
// quotas, the first business day after a due date, and the payment date the
// declaration proposes. A business day is a weekday that is no national
// holiday: the fixed ones (1 January, 21 April, 1 May, 7 September,
// 12 October, 2 November, 15 November, 25 December) and those that follow
// Easter (Carnival Monday and Tuesday, Good Friday, Corpus Christi). Banks do
// not open to the public on 31 December either: it is never a due date and
// never a payment day. One function, IsBusinessDay, decides for every routine
// here; quota due dates stored in the settings are never rewritten by it.
#ifndef DODU_TAX_CALENDAR_H_
#define DODU_TAX_CALENDAR_H_

#include "core/date.h"

namespace dodu::tax {

using core::Date;

// Easter Sunday of `year` (Gregorian computus), 1583..9999.
Date EasterSunday(int year);

// True for the national holidays listed above (31 December is not one).
bool IsNationalHoliday(const Date& d);

// A weekday that is no national holiday and not 31 December.
bool IsBusinessDay(const Date& d);

// ULTIMO_DIA: the last business day of month (month + offset - 1) of `year`,
// months beyond 12 rolling into the next year. Offset 2 gives the due date of a
// monthly payment for `month` (the last business day of the following month);
// offset 1 the last business day of `month` itself. month 1..12, offset >= 1.
Date UltimoDia(int month, int year, int offset);

// MES_ANTER: the last business day of `month` of the base year.
Date MesAnter(int month);

// PROX_DIA: the first business day after `date` (a real date).
Date ProxDia(const Date& date);

// DF_PAGTO: the payment date proposed while a declaration is open — the last
// business day of the month of `today`.
Date DfPagto(const Date& today);

}  // namespace dodu::tax

#endif  // DODU_TAX_CALENDAR_H_
