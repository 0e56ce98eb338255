// SELIC interest of late payments (ACHAJURO) and the late-payment fines of the
// DARFs, the quotas and the carnê-leão correction. The SELIC rows are handed in
// by the caller (it reads table 51); nothing here opens a table or reads the
// clock: `today` is an argument.
//
// The interest of a payment made after its due date is 1 % plus the SELIC rates
// of the months strictly after the due month and strictly before the payment
// month; a payment made by its due date, or late within the due month, has none
// (the fine still applies). Quotas of the annual balance count from July of the
// exercise year whatever their own due date: quota 1 paid by 30/06 has none, a
// quota paid in month P from July on has 1 % + the rates of July through P - 1.
//
// The late fine is 0.33 % for every calendar day from the day after the due
// date up to the payment date, at most 20 %.
#ifndef DODU_TAX_SELIC_H_
#define DODU_TAX_SELIC_H_

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "platform/status.h"

namespace dodu::tax {

using core::Date;
using core::Decimal;
using core::YearMonth;

// One row of the SELIC register: `ANOMES` and `TJM` (the month's rate, per cent).
struct SelicRow {
  YearMonth month;
  Decimal rate;
};

// How current the register is against today (the warning of ACHAJURO).
enum class SelicAge {
  kCurrent,
  kStaleMonth,  // last row's month before the month of today - 30 days: warning box
  kStaleYear,   // last row's year before the year of today - 30 days: status line
};

// "Atenção! O cadastro da Selic está desatualizado." and, for the box, the
// second line "Atualize, senão o valor do Juros estará errado!" (UTF-8). Empty
// for kCurrent.
std::vector<std::string> SelicAgeMessage(SelicAge age);

// The register's age against `today`, judged on its newest row (rows in any
// order). An empty register is kStaleYear.
SelicAge AgeOf(std::span<const SelicRow> rows, const Date& today);

struct Interest {
  Decimal rate;  // per cent
  SelicAge age = SelicAge::kCurrent;
};

// The sum of the rates of months `first` .. `last` (inclusive; nothing when
// last < first). kNotFound naming the first month without a row
// ("Taxa Selic de Agosto/2020 não cadastrada") when one is missing.
Result<Decimal> SumSelic(std::span<const SelicRow> rows, YearMonth first, YearMonth last);

// ACHAJURO for a payment on `payment` of what was due on `due`: 0 when paid by
// the due date or within the due month; otherwise 1 + the rates of the months
// strictly between. A month of that range without a row: kNotFound naming it.
// The age is reported whenever the register was consulted (a late payment after
// the due month), kCurrent otherwise.
Result<Interest> AchaJuro(std::span<const SelicRow> rows, const Date& due, const Date& payment,
                          const Date& today);

// The interest of an annual-balance quota paid on `payment`: 0 up to the
// deadline (30/06 of the exercise year), then 1 + the rates of July through
// the month before payment. Errors and age as AchaJuro.
Result<Interest> QuotaInterest(std::span<const SelicRow> rows, const Date& payment,
                               const Date& today);

// The late fine's rate, per cent: 0.33 for each calendar day from the day after
// `due` to `payment`, at most 20; 0 when paid by the due date. An edited first
// day of the count (`DDATAUTIL` typed on the DARF screen) moves the start only
// when it is later than the day after the due date.
Decimal LateFineRate(const Date& due, const Date& payment,
                     std::optional<Date> edited_start = std::nullopt);

// Months late of the late-filing fine for a fine paid on `payment`: 0 up to the
// deadline 30/06 of the exercise year, then (year - exercise) x 12 + month - 6
// (July -> 1, August -> 2, January of the next year -> 7).
int LateFilingMonths(const Date& payment);

struct LateFilingFine {
  int months = 0;
  Decimal uncapped;  // VAL_TOTMUL: 1 % of the tax due per month late
  Decimal fine;      // at least the minimum, at most 20 % of the tax due
};
// The late-filing fine on `tax_due` (`I13_23`) paid on `payment`: nothing with no
// month late; else the minimum 165.74 when the uncapped fine is below it (also
// when 20 % of the tax is lower), otherwise the smaller of the uncapped fine and
// 20 % of the tax.
LateFilingFine LateFilingFineOf(const Decimal& tax_due, const Date& payment);

// The fine and interest of a principal. Amounts unrounded (the display rounds).
struct Charges {
  Decimal fine_rate, fine, interest_rate, interest, total;
  SelicAge age = SelicAge::kCurrent;
};
Charges ChargesOf(const Decimal& principal, const Decimal& fine_rate, const Interest& interest);

}  // namespace dodu::tax

#endif  // DODU_TAX_SELIC_H_
