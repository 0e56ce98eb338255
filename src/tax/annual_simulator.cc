#include "tax/annual_simulator.h"

#include <algorithm>

#include "core/picture.h"
#include "tax/annual_incentives.h"
#include "tax/annual_table.h"
#include "tax/exercise.h"
#include "tax/internal/annual_vars.h"

namespace dodu::tax {
namespace {

using internal::Num;

Decimal Positive(const Decimal& d) { return std::max(d, Decimal()); }

Decimal RateOf(int band) {
  return kBandRate[band].Div("100"_dec, 8, core::Rounding::kHalfAwayFromZero);
}

// The smallest amount in cents whose product by `divisor` reaches `value`
// (both positive): a quotient rounded to the nearest cent could fall a cent
// short of the target once the tax is cut.
Decimal CeilCents(const Decimal& value, const Decimal& divisor) {
  Decimal q = value.Div(divisor, 2, core::Rounding::kTruncate);
  if (q * divisor < value) q += "0.01"_dec;
  return q;
}

Decimal SimplifiedDiscount(const Decimal& income) {
  return std::min((Positive(income) * kSimplifiedRate).Despreza(2), kSimplifiedLimit);
}

// The income X with AnnualTax(X - deductions) == target, bands from the top;
// when no band gives the target exactly, the last band's income stands.
Decimal BandSearch(const Decimal& target, const Decimal& deductions) {
  Decimal x;
  for (int band = 4; band >= 1; --band) {
    const Decimal rate = RateOf(band);
    x = CeilCents(target + kAnnualBandDeduction[band - 1] + deductions * rate, rate);
    if (AnnualTax(Positive(x - deductions)) == target) break;
  }
  return x;
}

std::string Money(const Decimal& d) {
  std::string s = core::Transform(d, "@E 999,999,999.99");
  return s.substr(std::min(s.find_first_not_of(' '), s.size()));
}

}  // namespace

Decimal SimplifiedCapTax() {
  Decimal cap_income = kSimplifiedLimit.Div(kSimplifiedRate, 2, core::Rounding::kHalfAwayFromZero);
  return AnnualTax(cap_income - kSimplifiedLimit);
}

InverseResult SimplifiedIncomeFor(const core::Variables& vars, const Decimal& balance) {
  InverseResult r;
  const Decimal paid = Num(vars, "I13_35");
  const Decimal target = balance + paid;
  if (target.IsNegative()) {
    r.refused = true;
    r.message = "O valor máximo de restituição de imposto é R$" + Money(paid);
    return r;
  }
  const Decimal top_rate = RateOf(4);
  // From the income where the discount reaches its cap, the base is the
  // income less the cap.
  if (target >= SimplifiedCapTax()) {
    r.income = CeilCents(target + kAnnualBandDeduction[3] + kSimplifiedLimit * top_rate, top_rate);
    return r;
  }
  const Decimal share = "1"_dec - kSimplifiedRate;
  for (int band = 4; band >= 1; --band) {
    r.income = CeilCents(target + kAnnualBandDeduction[band - 1], share * RateOf(band));
    if (AnnualTax(r.income - SimplifiedDiscount(r.income)) == target) break;
  }
  return r;
}

InverseResult CompleteIncomeFor(const core::Variables& vars, const AnnualFigures& figures,
                                const Decimal& balance) {
  InverseResult r;
  const Decimal paid = Num(vars, "I13_35");
  const Decimal target =
      balance + paid + Num(vars, "I13_22") + Num(vars, "I13_24") - Num(vars, "I13_25");
  if (balance.IsNegative() && -balance > paid) {
    r.refused = true;
    r.message = "O valor máximo da restituição de imposto é R$" + Money(paid);
    return r;
  }
  const Decimal line19 = Num(vars, "I13_19"), line11 = Num(vars, "I13_11");
  const Decimal search_target = Positive(target);
  if (line11.Sign() <= 0) {
    r.income = BandSearch(search_target, line19);
    return r;
  }
  // The pension allowance follows the income found: what was paid, up to 12 %
  // of it. The allowance moves by 12 % of the change of the income, so the
  // repetition settles; the bound only guards against a cent's oscillation.
  Decimal allowance;
  for (int round = 0; round < 50; ++round) {
    r.income = BandSearch(search_target, line19 - line11 + allowance);
    Decimal next =
        std::min(figures.private_pension_total, (r.income * kPrivatePensionRate).Despreza(2));
    if (next == allowance) break;
    allowance = next;
  }
  return r;
}

Decimal CompleteBalanceWith(const core::Variables& vars, const AnnualFigures& figures,
                            const Decimal& extra_deduction) {
  Decimal tax = AnnualTax(Positive(Num(vars, "I13_20") - extra_deduction));
  Decimal donations = std::min(figures.incentives, IncentiveLimitsOf(tax).overall);
  return tax - donations - Num(vars, "I13_35") + Num(vars, "I13_25");
}

}  // namespace dodu::tax
