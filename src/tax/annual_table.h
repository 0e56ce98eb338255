// The progressive tables applied to a base: the annual table, the monthly
// table, the part-year table of final (estate) and exit declarations and the
// monthly table of income received cumulatively (six places). Every amount is
// cut to two decimals by DESPREZA unless a function says otherwise; none of
// them is ever negative. Warnings are UTF-8.
#ifndef DODU_TAX_ANNUAL_TABLE_H_
#define DODU_TAX_ANNUAL_TABLE_H_

#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/variables.h"

namespace dodu::tax {

using core::Decimal;

// CALC_IMPOS kind 1 for a whole year: truncate(B x rate - deduction of the
// band). 0 for a base up to 22,847.76 (and for a negative base).
Decimal AnnualTax(const Decimal& base);

// CALC_IMPOS kind 12: the same with the monthly limits and deductions.
Decimal MonthlyTax(const Decimal& base);

// CALC_PARCIAL: the annual base taxed with a table of `months` months (1..12;
// outside that range the year's twelve): each monthly limit and deduction
// times `months`; truncate(B x rate) - months x deduction, never below zero
// (just above a band's limit the product falls short of the deduction).
Decimal PartYearTax(const Decimal& base, int months);

// The monthly tax of income received cumulatively for a monthly base with six
// places: 0 up to 1,903.99, else (base x rate) rounded to six places less the
// three-place deduction of the band. Six places, not cut.
Decimal RraMonthlyTax(const Decimal& monthly_base);

// The months of the part-year table of a declaration, with the warning to show
// when a date it needs is missing (the year is then computed as 12 months).
struct PartYearMonths {
  bool part_year = false;  // a final or an exit declaration
  int months = 12;
  std::vector<std::string> warning;  // empty when the date was there
};

// Reads DECFINAL, DECSAIDA, DATAPARTI, DATALAVRA, DATASAIDA, DATADECIS (absent
// variables count as blank). Final: the month of the partition date, else of
// the deed. Exit: the month of the exit date, or, with a start date, the months
// from the start month to the exit month inclusive (a start before the base
// year counts from January; never fewer than one month).
PartYearMonths PartYearMonthsOf(const core::Variables& vars);

// The tax of the declaration's table: PartYearTax with its months for a final
// or exit declaration, AnnualTax otherwise.
class TaxTable {
 public:
  TaxTable() = default;
  explicit TaxTable(const PartYearMonths& months) : months_(months) {}
  Decimal operator()(const Decimal& base) const;
  const PartYearMonths& months() const { return months_; }

 private:
  PartYearMonths months_;
};

}  // namespace dodu::tax

#endif  // DODU_TAX_ANNUAL_TABLE_H_
