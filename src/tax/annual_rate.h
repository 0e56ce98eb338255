// The effective rate shown beside the balance on the calculation screen.
#ifndef DODU_TAX_ANNUAL_RATE_H_
#define DODU_TAX_ANNUAL_RATE_H_

#include <string>

#include "core/decimal.h"
#include "core/variables.h"

namespace dodu::tax {

struct EffectiveRate {
  // "Imposto a PAGAR", "Imposto a Restituir", "Sem saldo de Imposto" or "Zero".
  std::string label;
  core::Decimal rate;  // percent, cut to 2 decimals; 0 when line 08 is 0
  std::string text;    // the rate as "@E 99.99%" shows it
};

// From lines 08, 35, 36 and 38: with a balance to pay (36 + 35) / 08; with a
// refund 35 / 08 when 35 equals 38, else (35 - 38) / 08; with neither 35 / 08
// ("Zero" when 35 is zero); each x 100.
EffectiveRate EffectiveRateOf(const core::Variables& vars);

}  // namespace dodu::tax

#endif  // DODU_TAX_ANNUAL_RATE_H_
