// The detail windows of the cash-balance screen (Alt F1, F2, F3, F5, F7, F8,
// F9): the rows of the detail work table 68, each with its value, its share of
// the expenses (expense windows only) and of the receipts, and the total row.
// The caller empties table 68, appends the rows and shows them; a window
// with nothing to list says "Nada declarado" instead. Texts are UTF-8.
#ifndef DODU_TAX_BALANCE_DETAIL_H_
#define DODU_TAX_BALANCE_DETAIL_H_

#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/variables.h"
#include "tax/annual_totals.h"
#include "tax/balance.h"

namespace dodu::tax {

// A row of table 68: `DESCRICAO`, `VALORDOC`, `PERCDESP`, `PERCRECE`.
struct DetailRow {
  std::string description;
  Decimal value;
  Decimal expense_share;  // per cent of DESPESA, 2 places (0 in receipt windows)
  Decimal receipt_share;  // per cent of RECEITA, 2 places
};

struct DetailWindow {
  std::vector<DetailRow> rows;  // the items and, last, the total (when there is one)
  bool expense_window = false;  // the "% DESP" column is shown
  bool nothing = false;         // show "Nada declarado" instead of the window

  static constexpr const char* kNothing = "Nada declarado";
};

// value / base x 100 to two places, 0 when the base is 0.
Decimal ShareOf(const Decimal& value, const Decimal& base);

// Alt F1: the taxable income lines and `I13_08`; nothing when `I13_08` <= 0.
DetailWindow TaxableDetail(const core::Variables& vars, const CashBalance& b);
// Alt F2: the exempt lines `I3_01` .. `I3_24` above zero and `I13_44`.
DetailWindow ExemptDetail(const core::Variables& vars, const CashBalance& b);
// Alt F3: the exclusive lines `I4_01` .. `I4_12` above zero except `I4_03`;
// `I4_05` and `I4_07` with the tax withheld on the titular's and the
// dependants' exclusively taxed cumulative income added.
DetailWindow ExclusiveDetail(const core::Variables& vars, const IncomeTotals& income,
                             const CashBalance& b);
// Alt F4: for each variable-income row of line 14 (its `REC_MES01` ..
// `REC_MES12`) and each month with a non-zero amount, "Lucro no mês " or
// "Prejuízo no mês " + the month's name (a loss negative, its shares those of
// its absolute value; a gain has its receipt share only); then an empty row
// and the totals of gains and of losses.
DetailWindow VariableIncomeDetail(std::span<const std::array<Decimal, 12>> line14,
                                  const CashBalance& b);
// Alt F5: the spouse's figures; nothing without a spouse model (`CONJPAD`
// neither "S" nor "N").
DetailWindow SpouseDetail(const core::Variables& vars, const CashBalance& b);
// Alt F7: the assets and debts of both years, their variations and the total
// variation less the debts paid in the year.
DetailWindow PatrimonyDetail(const AssetTotals& totals, const CashBalance& b);
// Alt F8: the taxes paid in the year.
DetailWindow TaxesDetail(const core::Variables& vars, const CashBalance& b);

// A payment of table 06 as the expense window groups it.
struct PaymentLine {
  int code = 0;  // I6_3
  Decimal paid;  // I6_4
};
// Alt F9: the declared expenses by model and the other-payment groups.
DetailWindow ExpensesDetail(const core::Variables& vars, const PaymentTotals& totals,
                            std::span<const PaymentLine> payments, const BalanceInputs& in,
                            const CashBalance& b);

// The result line of the balance screen: "   Saldo de " with a positive
// balance, else "Déficit de  "; in the alert colour when the balance is not
// positive or the index is below the alert percentage.
struct ResultLine {
  std::string label;
  Decimal index, saldo;
  bool alert = false;
};
ResultLine ResultLineOf(const CashBalance& b, const Decimal& alert_percent);

}  // namespace dodu::tax

#endif  // DODU_TAX_BALANCE_DETAIL_H_
