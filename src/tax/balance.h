// The cash balance of a declaration: the patrimony variation (FI10_1), the
// year's receipts against its expenses (VE_SALDO), the spending index and the
// cash-problem rule, the wealth-sign expenses rebuilt from the assets
// (BUSCA_DESP) and the fee the office computes for the declaration.
//
// Inputs are plain values: the caller reads the declaration variables
// (BalanceInputsOf does it for the stored ones) and hands in what other
// computations produce (the asset totals and the payment totals of the annual
// calculation). The taxable income `I13_08` must be current: the caller
// recomputes it first.
#ifndef DODU_TAX_BALANCE_H_
#define DODU_TAX_BALANCE_H_

#include <map>
#include <span>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/variables.h"
#include "tax/annual_totals.h"

namespace dodu::tax {

using core::Decimal;

// FI10_1.
struct Patrimony {
  Decimal increase;   // I10_1, an expense
  Decimal decrease;   // I10_2, a receipt
  Decimal borrowing;  // EMPREST, a receipt
  Decimal variation;  // VARPATR = (A1 - A0) - (D1 - D0)
};
Patrimony Fi10_1(const AssetTotals& totals);

struct BalanceInputs {
  // Receipts.
  Decimal spouse_income;         // I9_2
  Decimal spouse_balance;        // I9_3
  Decimal decrease;              // I10_2
  Decimal borrowing;             // EMPREST
  Decimal rural_loans;           // EMPRUR
  Decimal other_receipts;        // OUTREC
  Decimal gain_entries;          // ENTRADGP
  Decimal exempt_not_counted;    // ISENTNAO
  Decimal suspended;             // EXGSUSP
  Decimal taxable;               // I13_08
  Decimal exempt;                // I13_44
  Decimal exclusive;             // I13_45
  Decimal exclusive_gains;       // I4_03
  Decimal variable_gains;        // LUCRRVA
  Decimal variable_recovered;    // I3_20 (shown against LUCRRVA on the screen only)
  Decimal deferred_gain;         // VALFUTUR
  bool deferred_counted = true;  // SOMAG other than "N"
  Decimal rra_tax;               // I13_34
  // Expenses.
  Decimal earlier_taxes;                           // IMPOANTER
  Decimal tax_paid;                                // I13_35
  Decimal gains_tax, variable_tax, law_11033_tax;  // I13_46, I13_47, I13_48
  Decimal increase;                                // I10_1
  Decimal rural_amortisation;                      // AMORUR
  Decimal variable_losses;                         // PREJRVA
  Decimal small_sales_losses;                      // PREJVEN1
  Decimal rural_losses;                            // PREJRUR
  Decimal asset_upkeep;                            // DESPNAO
  Decimal personal_spending;                       // OUTRDES
  Decimal cost_this_year;                          // CUSTOANO
  Decimal cost_earlier;                            // CUSTOANT
  // The declared expenses.
  bool simplified = false;      // USAPADRAO "S"
  bool only_discount = true;    // SO_SIMPLES "S"
  Decimal standard_discount;    // DESPADRAO
  Decimal declared;             // DESPDECLA
  Decimal declared_simplified;  // DESPSIMP
  Decimal social_security;      // I13_09
  Decimal dependants;           // I13_12
  Decimal cash_book;            // I13_18
};

// The stored figures from the declaration variables (the names above); the
// patrimony and the payment totals from their computations.
BalanceInputs BalanceInputsOf(const core::Variables& vars, const Patrimony& patrimony,
                              const PaymentTotals& payments);

struct CashBalance {
  Decimal receipts;           // RECEITA
  Decimal expenses;           // DESPESA
  Decimal declared_expenses;  // the declared-expenses row of the screen
  Decimal saldo;              // SALDO, within its field
  Decimal indgas;             // INDGAS, within its field
};

// The declared expenses: simplified model with only the discount: DESPADRAO +
// DESPSIMP; simplified otherwise: DESPDECLA + I13_09 + I13_18; complete (or no
// model): DESPDECLA + I13_09 + I13_12 + I13_18.
Decimal DeclaredExpenses(const BalanceInputs& in);

// VE_SALDO with VE_LIM_NEG: RECEITA, DESPESA, SALDO = RECEITA - DESPESA and
// INDGAS = SALDO / RECEITA x 100 (truncated to cents; 0 with no receipts). The
// index is kept within -99.99 .. 999.99 (above it becomes 999), SALDO not below
// -99,999,999.99.
CashBalance VeSaldo(const BalanceInputs& in);

// The cash-problem rule: SALDO <= 0 or INDGAS below the alert percentage.
bool CashProblem(const CashBalance& b, const Decimal& alert_percent);

// Writes `SALDO`, `INDGAS` and `EMPREST`.
void ApplyBalance(core::Variables& vars, const CashBalance& b, const Patrimony& patrimony);

// The fee on screen 10: size / 1000 x fee per kilobyte + seconds / 60 x fee per
// minute, at least the minimum fee; rounded to cents.
Decimal DeclarationFee(const Decimal& size_bytes, int64_t working_seconds,
                       const Decimal& per_kilobyte, const Decimal& per_minute,
                       const Decimal& minimum);

// An asset row of table 04 as BUSCA_DESP reads it.
struct AssetLine {
  int item = 0;             // I7_1: an asset starts at a non-zero item number
  std::string description;  // I7_2
  int code = 0;             // I7_5, the asset code (0 when the row has none)
  Decimal current;          // I7_4
};

// A wealth-sign expense row of table 10.
struct UpkeepRow {
  int code = 0;         // CODDESP
  std::string item;     // DESCRITEM, 25 characters
  std::string expense;  // DESCDESP
  Decimal monthly;      // VALODESP
};

// BUSCA_DESP: one row per asset whose code has an expense description
// (`expense_of`: asset code -> `DESPBEM` of table 46) and whose monthly cost is
// not zero; the monthly cost is the first base-year value of the asset / 120,
// truncated to cents. The description comes from the asset's first row, the
// code from its last row that has one.
std::vector<UpkeepRow> BuscaDesp(std::span<const AssetLine> assets,
                                 const std::map<int, std::string>& expense_of);

// TOTALDESP: DESPNAO = the sum of the monthly values x 12.
Decimal TotalDesp(std::span<const UpkeepRow> rows);

}  // namespace dodu::tax

#endif  // DODU_TAX_BALANCE_H_
