// Business days of the payment calendar: due dates of monthly payments and
// quotas, the first business day after a due date, and the payment date the
// declaration proposes. Only weekends and the two fixed rules below are known
// (31 December is never a due date; 1 May is never a payment day); there is no
// table of holidays.
#ifndef DODU_TAX_CALENDAR_H_
#define DODU_TAX_CALENDAR_H_

#include "core/date.h"

namespace dodu::tax {

using core::Date;

// ULTIMO_DIA: the last business day of month (month + offset - 1) of `year`,
// months beyond 12 rolling into the next year. Offset 2 gives the due date of a
// monthly payment for `month` (the last business day of the following month);
// offset 1 the last business day of `month` itself. A result in December moves
// one more business day back. month 1..12, offset >= 1.
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
