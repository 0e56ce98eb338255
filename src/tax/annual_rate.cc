#include "tax/annual_rate.h"

#include "core/picture.h"
#include "tax/internal/annual_vars.h"

namespace dodu::tax {

using core::Decimal;
using namespace core::literals;

EffectiveRate EffectiveRateOf(const core::Variables& vars) {
  using internal::Num;
  const Decimal income = Num(vars, "I13_08"), paid = Num(vars, "I13_35");
  const Decimal to_pay = Num(vars, "I13_36"), refund = Num(vars, "I13_38");
  EffectiveRate r;
  Decimal tax;
  if (to_pay.Sign() > 0) {
    r.label = "Imposto a PAGAR";
    tax = to_pay + paid;
  } else if (refund.Sign() > 0) {
    r.label = "Imposto a Restituir";
    tax = paid == refund ? paid : paid - refund;
  } else {
    r.label = paid.IsZero() ? "Zero" : "Sem saldo de Imposto";
    tax = paid;
  }
  // Div answers 0 for a declaration without taxable income.
  r.rate = (tax * "100"_dec).Div(income, 8, core::Rounding::kHalfAwayFromZero).Despreza(2);
  r.text = core::Transform(r.rate, "@E 99.99") + "%";
  return r;
}

}  // namespace dodu::tax
