// The simulator of the calculation screen (SIMUL): the balance with an extra
// deduction, and the inverse search for the taxable income that would give a
// desired balance. Nothing of a simulation is stored.
//
// The balance is the tax to pay (positive) or to refund (negative). The
// inverse searches use the annual table; the income found is in cents, the
// smallest income whose tax reaches the target. Messages are UTF-8.
#ifndef DODU_TAX_ANNUAL_SIMULATOR_H_
#define DODU_TAX_ANNUAL_SIMULATOR_H_

#include <string>

#include "core/decimal.h"
#include "core/variables.h"
#include "tax/annual_calc.h"

namespace dodu::tax {

using core::Decimal;

struct InverseResult {
  bool refused = false;  // a refund larger than the tax paid
  std::string message;   // the refusal
  Decimal income;        // the income found
};

// Simplified layout: the total income whose simplified tax gives `balance`.
InverseResult SimplifiedIncomeFor(const core::Variables& vars, const Decimal& balance);

// Complete layout: the total income whose complete tax gives `balance`, with
// the declaration's deductions (line 19) and, when line 11 is above zero, the
// private pension allowed again on the income found (the pension paid,
// `figures.private_pension_total`, up to 12 % of that income).
InverseResult CompleteIncomeFor(const core::Variables& vars, const AnnualFigures& figures,
                                const Decimal& balance);

// Complete layout: the balance with an extra deduction: the tax on (line 20 -
// extra) less the donations of codes 40..44 (`figures.incentives`) up to 6 % of
// that tax, less line 35, plus line 25.
Decimal CompleteBalanceWith(const core::Variables& vars, const AnnualFigures& figures,
                            const Decimal& extra_deduction);

// The answer to the simulation question other than "S" or "N".
inline constexpr const char* kSimulationQuestionHelp[] = {
    "Digite S (sim) ou N (não) se deseja simular   ",
    "o imposto devido colocando novo abatimento ou ",
    "fazer um cálculo inverso informando o imposto"};

// The tax from which the simplified discount is at its cap: the tax of the
// income at which 20 % reaches 16,754.34.
Decimal SimplifiedCapTax();

}  // namespace dodu::tax

#endif  // DODU_TAX_ANNUAL_SIMULATOR_H_
