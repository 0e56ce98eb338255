#include "tax/annual_table.h"

#include <algorithm>

#include "core/date.h"
#include "tax/exercise.h"
#include "tax/internal/annual_vars.h"

namespace dodu::tax {
namespace {

Decimal RateOf(int band) {
  return kBandRate[band].Div("100"_dec, 8, core::Rounding::kHalfAwayFromZero);
}

// The band of `base` under the given limits: 0 exempt .. 4 the top band.
int BandOf(const Decimal& base, const std::array<Decimal, 4>& limits, const Decimal& times) {
  int band = 0;
  while (band < 4 && base > limits[band] * times) ++band;
  return band;
}

Decimal ByTable(const Decimal& base, const std::array<Decimal, 4>& limits,
                const std::array<Decimal, 4>& deductions) {
  int band = BandOf(base, limits, "1"_dec);
  if (band == 0) return Decimal();
  Decimal tax = (base * RateOf(band) - deductions[band - 1]).Despreza(2);
  return std::max(tax, Decimal());
}

}  // namespace

Decimal AnnualTax(const Decimal& base) {
  return ByTable(base, kAnnualBandLimit, kAnnualBandDeduction);
}

Decimal MonthlyTax(const Decimal& base) {
  return ByTable(base, kMonthlyBandLimit, kMonthlyBandDeduction);
}

Decimal PartYearTax(const Decimal& base, int months) {
  if (months < 1 || months > 12) months = 12;
  Decimal n = Decimal::FromInt(months);
  int band = BandOf(base, kMonthlyBandLimit, n);
  if (band == 0) return Decimal();
  Decimal tax = (base * RateOf(band)).Despreza(2) - kMonthlyBandDeduction[band - 1] * n;
  return std::max(tax, Decimal());
}

Decimal RraMonthlyTax(const Decimal& monthly_base) {
  int band = BandOf(monthly_base, kMonthlyBandLimit, "1"_dec);
  if (band == 0) return Decimal();
  Decimal tax = (monthly_base * RateOf(band)).RoundHalfAway(6) - kRraBandDeduction[band - 1];
  return std::max(tax, Decimal());
}

PartYearMonths PartYearMonthsOf(const core::Variables& vars) {
  using internal::DateOf;
  PartYearMonths out;
  if (internal::Yes(vars, "DECFINAL")) {
    out.part_year = true;
    core::Date d = DateOf(vars, "DATAPARTI");
    if (d.IsBlank()) d = DateOf(vars, "DATALAVRA");
    if (!d.IsBlank()) {
      out.months = d.month();
    } else {
      out.warning = {"Na declaração final o cálculo do Imposto",
                     "depende da data Partilha ou Lavratura",
                     "O cálculo apresentado corresponde ao mês 12"};
    }
  } else if (internal::Yes(vars, "DECSAIDA")) {
    out.part_year = true;
    core::Date exit = DateOf(vars, "DATASAIDA");
    if (exit.IsBlank()) {
      out.warning = {"Na declaração de saída o cálculo do Imposto",
                     "depende da data da saída. Informe-a",
                     "O cálculo apresentado corresponde ao mês 12"};
    } else {
      out.months = exit.month();
      core::Date start = DateOf(vars, "DATADECIS");
      if (!start.IsBlank()) {
        int first = start.year() < exit.year() ? 1 : start.month();
        out.months = std::max(1, exit.month() - first + 1);
      }
    }
  }
  return out;
}

Decimal TaxTable::operator()(const Decimal& base) const {
  return months_.part_year ? PartYearTax(base, months_.months) : AnnualTax(base);
}

}  // namespace dodu::tax
