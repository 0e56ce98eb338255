// Incentive deductions: the donations of the year (codes 40..44, 45, 46) and
// those made in the declaration itself to the children's and the elderly
// funds (39, 49) consume limits taken from the tax on the base. One set of
// limits serves the recomputation of line 22 (FI13_22) and the check of a
// donation typed on the donation screens (LIMDOA). Messages are UTF-8.
#ifndef DODU_TAX_ANNUAL_INCENTIVES_H_
#define DODU_TAX_ANNUAL_INCENTIVES_H_

#include <optional>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "tax/annual_rows.h"

namespace dodu::tax {

using core::Decimal;

// The limits of a tax on the base (line 21), each cut to cents: 6 % overall,
// 3 % for each fund in the declaration, 1 % for each of codes 45 and 46.
struct IncentiveLimits {
  Decimal overall, per_fund, per_programme;
};
IncentiveLimits IncentiveLimitsOf(const Decimal& line21);

struct IncentiveResult {
  Decimal line22;
  // The new I6_5 of every donation whose value changes (table kPayments).
  std::vector<RowChange> changes;
  // "Abatimentos somente na declaração completa!" when the simplified model
  // zeroes a line 22 that had a value.
  std::vector<std::string> message;
};

// FI13_22. Complete model: codes 40..44 in table order consume the overall
// limit (a donation within what remains is deductible, the first beyond it
// keeps paid - remaining as not deductible, the later ones are not deductible
// at all); codes 39 and 49 then consume what is left; codes 45 and 46 each
// consume their own limit. Line 22 := the sum of paid - not deductible, at most
// line 21. Simplified model (`complete` false): every donation becomes wholly
// not deductible and line 22 is 0. `previous_line22` decides the message.
IncentiveResult IncentiveDeductions(const std::vector<const core::Variables*>& payments,
                                    const Decimal& line21, bool complete,
                                    const Decimal& previous_line22);

enum class DirectFund { kChildren = 1, kElderly = 2 };

// LIMDOA: what a donation in the declaration to `fund` may still be, from the
// amounts deducted so far (paid - I6_5) of the payments: the overall limit less
// codes 40..44, 39 and 49, and at most the fund's own limit less its code.
// Never negative.
Decimal DirectDonationAvailable(const std::vector<const core::Variables*>& payments,
                                const Decimal& line21, DirectFund fund);

// The check of a typed direct donation: nullopt when `value` fits `available`,
// else the message ("Não há valor disponível para a doação direta na
// declaração" when nothing is available, "Valor acima do limite da doação!
// Confira." otherwise).
std::optional<std::string> CheckDirectDonation(const Decimal& value, const Decimal& available);

}  // namespace dodu::tax

#endif  // DODU_TAX_ANNUAL_INCENTIVES_H_
