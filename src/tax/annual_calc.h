// The annual adjustment of one open declaration: the calculation summary
// I13_01 .. I13_51 under the complete or the simplified model, the model
// comparison and its hint, the incentive deductions, the credit for tax paid
// abroad and the balance to pay or to refund.
//
// AnnualCalculation reads the declaration variables (the register, table 01
// and table 12 names, see core::Variables) and the work-copy rows, and writes
// the summary back into the variables: I13_xx, DESPADRAO, DESPDECLA, EXGSUSP,
// IMPPGRE, CGCPAGADOR, the exempt and exclusive lines the income feeds, and,
// when the caller's variables have them, the intermediates I13_11T, I13_13T,
// I13_14D, I13_22C, I13_22T, I13_22P, I13_34A, I13_34B, NFUNPRESP, DESPSIMP,
// NCOMPL, NSIMPL, DESCON and LIMMAX (they are also in AnnualFigures). A
// variable the caller lacks reads as zero: figures of later Parts (I13_07,
// I13_46 .. I13_48, I4_02, I4_03 ...) are taken as stored.
//
// The rows are never written here: what changes in them (I1_20 and I1_25 of
// cumulative-income lines, I6_5 of donations, NRODEPEN of people) comes back
// in AnnualOutcome::changes for the caller to write under the record lock.
// The model is never switched by the calculation. Messages and hints are UTF-8
// text; the screens convert them to code page 850.
//
// The carnê-leão (lines 03, 04, 18, 29, 30, 49, 50, CARNEINSS, CARNEDEPEN),
// the quota rules, the patrimony variation and the cash balance belong to the
// monthly computations; the calculation calls them through CalcHooks, in its
// order, when the caller supplies them.
#ifndef DODU_TAX_ANNUAL_CALC_H_
#define DODU_TAX_ANNUAL_CALC_H_

#include <functional>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/variables.h"
#include "tax/annual_rows.h"
#include "tax/annual_table.h"
#include "tax/annual_totals.h"

namespace dodu::tax {

using core::Decimal;

struct CalcHooks {
  // The carnê-leão figures of titular and dependants (Part of the monthly
  // computations), `mode` as CALC passes it.
  std::function<void(core::Variables&, int mode)> carne_leao;
  // The automatic-debit rule of a single quota.
  std::function<void(core::Variables&)> automatic_debit;
  // The patrimony variation after the asset and debt totals.
  std::function<void(core::Variables&)> patrimony;
  // The cash balance (SALDO, INDGAS) after the balance.
  std::function<void(core::Variables&)> cash_balance;
  // The capital-gain exempt parts of screen 3 (CALC screen 5).
  std::function<void(core::Variables&)> gains_exempt;
};

enum class HintKind {
  kNone,
  kSimplifiedBetter,  // complete model, the simplified tax is lower
  kCompleteBetter,    // simplified (or blank) model, the complete tax is lower
};

struct ModelHint {
  HintKind kind = HintKind::kNone;
  // The text to show, as the mode asks; empty when the mode shows none.
  std::vector<std::string> lines;
};

// Figures that are no field of table 01.
struct AnnualFigures {
  Decimal private_pension_total;  // I13_11T
  Decimal education_total;        // I13_13T
  Decimal medical_reimbursed;     // I13_14D
  Decimal children_fund;          // I13_22C
  Decimal incentives;             // I13_22T
  Decimal programmes;             // I13_22P
  Decimal line34_titular;         // I13_34A
  Decimal line34_dependants;      // I13_34B
  Decimal funpresp;               // NFUNPRESP
  Decimal declared_simplified;    // DESPSIMP
  // The two models' taxes the hint compares: NCOMPL, the annual tax of
  // (line 08 - line 19) less the incentive deductions the complete model gives
  // on it and line 24; NSIMPL, the annual tax of (line 08 - DESPADRAO).
  Decimal complete_tax;    // NCOMPL
  Decimal simplified_tax;  // NSIMPL
  Decimal deduction_used;  // DESCON
  Decimal limmax;          // LIMMAX
  // The credit for tax paid abroad: the tax with and without the foreign
  // income and the limit (tax with - tax without).
  Decimal foreign_tax_with, foreign_tax_without, foreign_limit;
};

struct AnnualOutcome {
  AnnualFigures figures;
  ModelHint hint;
  std::vector<RowChange> changes;
  // Messages for the operator, each a box of lines: missing dates of a
  // part-year declaration, cumulative-income lines missing data, donations in
  // the simplified model.
  std::vector<std::vector<std::string>> warnings;
  // The explanation of a foreign tax typed above its limit (mode 1 only).
  std::vector<std::string> foreign_explanation;
};

// The screens' CALC numbers this calculation answers.
inline constexpr int kCalcExemptTotals = 3;
inline constexpr int kCalcPayments = 4;
inline constexpr int kCalcGainsExempt = 5;
inline constexpr int kCalcSocialSecurity = 6;
inline constexpr int kCalcWhole = 7;

class AnnualCalculation {
 public:
  // `vars` and `rows` must outlive the object.
  AnnualCalculation(core::Variables& vars, const DeclarationRows& rows, CalcHooks hooks = {});

  // BALANCO: the full base recalculation of opening and saving (people
  // renumbered, every total rebuilt, base, tax due, incentives, tax paid,
  // balance, the spouse figure I13_43 := I9_2, the cash balance).
  AnnualOutcome Balanco();

  // CALC(screen, mode): 1 and 2 the carnê-leão (through the hook), 3 the exempt
  // and exclusive totals, 4 the payment totals and line 22, 5 the gains' exempt
  // parts (hook), 6 line 09 only, 7 the whole calculation. Mode 0 is silent,
  // 1 the calculation screen, 2 its simplified layout (which alone shows the
  // "complete is better" hint). Another screen number does nothing.
  AnnualOutcome Calc(int screen, int mode);

 private:
  struct Pass;
  void IncomeStep(Pass& p);
  void PaymentStep(Pass& p);
  void Line08();
  void Line09(const Pass& p);
  void Line11(const Pass& p);
  void Line12();
  void Line19(Pass& p);
  void Base(Pass& p, int mode);
  void Incentives(Pass& p, bool complete);
  void TaxDue(bool complete);
  void Foreign(Pass& p, bool complete, int mode);
  void TaxPaid();
  void Balance();
  void ExemptTotals();
  void Run(int hook_mode, const std::function<void(core::Variables&, int)>& f);
  void Run(const std::function<void(core::Variables&)>& f);
  Decimal Get(int line) const;
  void Put(int line, const Decimal& value);

  core::Variables& vars_;
  const DeclarationRows& rows_;
  CalcHooks hooks_;
  TaxTable table_;
};

// True for the complete model ("N"); "S" and blank compute as the simplified.
bool IsCompleteModel(const core::Variables& vars);

// Opening the calculation screen: a final or exit declaration is always
// complete (USAPADRAO := "N"). Answers whether the model was changed.
bool EnforceCompleteModel(core::Variables& vars);

// The refusal of a switch to the simplified model, empty when allowed.
std::string ModelSwitchRefusal(const core::Variables& vars);

// The register's copies of the summary that differ from table 01:
// I13_27 := lines 27 + 28 and I13_35 := line 35 - line 34.
struct RegisterCopies {
  Decimal withheld;  // register I13_27
  Decimal paid;      // register I13_35
};
RegisterCopies RegisterCopiesOf(const core::Variables& vars);

// The spouse's figures from the spouse's register record: I13_1C := its
// I13_20, I13_2C := I13_44, I13_3C := I13_45, I13_4C := I13_35 (as stored
// there), I13_5C := EXGSUSP.
void SpouseFigures(const core::Variables& spouse_register, core::Variables& vars);

}  // namespace dodu::tax

#endif  // DODU_TAX_ANNUAL_CALC_H_
