#include "tax/annual_calc.h"

#include <algorithm>
#include <cstdio>

#include "core/picture.h"
#include "tax/annual_incentives.h"
#include "tax/exercise.h"
#include "tax/internal/annual_vars.h"

namespace dodu::tax {
namespace {

using internal::Line;
using internal::Num;
using internal::SetNum;
using internal::Text;

Decimal Positive(const Decimal& d) { return std::max(d, Decimal()); }

std::string Money(const Decimal& d) { return core::Transform(d, "@E 999,999,999.99"); }

// The simplified discount of a total income: 20 % cut to cents, capped.
Decimal SimplifiedDiscount(const Decimal& income) {
  return std::min((Positive(income) * kSimplifiedRate).Despreza(2), kSimplifiedLimit);
}

}  // namespace

struct AnnualCalculation::Pass {
  IncomeTotals income;
  PaymentTotals payments;
  AnnualOutcome out;
};

bool IsCompleteModel(const core::Variables& vars) { return Text(vars, "USAPADRAO") == "N"; }

bool EnforceCompleteModel(core::Variables& vars) {
  bool part_year = internal::Yes(vars, "DECFINAL") || internal::Yes(vars, "DECSAIDA");
  if (!part_year || IsCompleteModel(vars)) return false;
  internal::SetText(vars, "USAPADRAO", "N");
  return true;
}

std::string ModelSwitchRefusal(const core::Variables& vars) {
  if (internal::Yes(vars, "DECFINAL"))
    return "A declaração final de espólio só pode ser uma completa";
  if (internal::Yes(vars, "DECSAIDA"))
    return "A declaração de saída definitiva só pode ser uma completa";
  return "";
}

RegisterCopies RegisterCopiesOf(const core::Variables& vars) {
  return {Num(vars, "I13_27") + Num(vars, "I13_28"), Num(vars, "I13_35") - Num(vars, "I13_34")};
}

void SpouseFigures(const core::Variables& spouse, core::Variables& vars) {
  SetNum(vars, "I13_1C", Num(spouse, "I13_20"));
  SetNum(vars, "I13_2C", Num(spouse, "I13_44"));
  SetNum(vars, "I13_3C", Num(spouse, "I13_45"));
  SetNum(vars, "I13_4C", Num(spouse, "I13_35"));
  SetNum(vars, "I13_5C", Num(spouse, "EXGSUSP"));
}

AnnualCalculation::AnnualCalculation(core::Variables& vars, const DeclarationRows& rows,
                                     CalcHooks hooks)
    : vars_(vars), rows_(rows), hooks_(std::move(hooks)) {}

Decimal AnnualCalculation::Get(int line) const { return Num(vars_, Line(line)); }
void AnnualCalculation::Put(int line, const Decimal& value) { SetNum(vars_, Line(line), value); }

void AnnualCalculation::Run(int hook_mode, const std::function<void(core::Variables&, int)>& f) {
  if (f) f(vars_, hook_mode);
}
void AnnualCalculation::Run(const std::function<void(core::Variables&)>& f) {
  if (f) f(vars_);
}

void AnnualCalculation::IncomeStep(Pass& p) {
  p.income = IncomeTotalsOf(rows_.income);
  const IncomeTotals& t = p.income;
  Put(1, t.line01);
  Put(2, t.line02);
  Put(5, t.line05);
  Put(6, t.line06);
  Put(10, t.line10);
  Put(17, t.line17);
  Put(25, t.line25);
  Put(27, t.line27);
  Put(28, t.line28);
  Put(34, t.line34());
  for (const auto& [name, value] : t.exempt) SetNum(vars_, name, value);
  for (const auto& [name, value] : t.exclusive) SetNum(vars_, name, value);
  SetNum(vars_, "EXGSUSP", t.suspended);
  internal::SetText(vars_, "CGCPAGADOR", t.main_payer);
  p.out.figures.line34_titular = t.line34_titular;
  p.out.figures.line34_dependants = t.line34_dependants;
  SetNum(vars_, "I13_34A", t.line34_titular);
  SetNum(vars_, "I13_34B", t.line34_dependants);
  p.out.changes.insert(p.out.changes.end(), t.changes.begin(), t.changes.end());
  p.out.warnings.insert(p.out.warnings.end(), t.warnings.begin(), t.warnings.end());
}

void AnnualCalculation::PaymentStep(Pass& p) {
  p.payments = PaymentTotalsOf(rows_.payments, rows_.people);
  const PaymentTotals& t = p.payments;
  Put(13, t.education);
  Put(14, t.medical);
  Put(15, t.court_alimony);
  Put(16, t.deed_alimony);
  SetNum(vars_, "DESPDECLA", t.declared);
  AnnualFigures& f = p.out.figures;
  f.private_pension_total = t.private_pension_total;
  f.education_total = t.education_total;
  f.medical_reimbursed = t.medical_reimbursed;
  f.children_fund = t.children_fund;
  f.incentives = t.incentives;
  f.programmes = t.programmes;
  f.funpresp = t.funpresp;
  f.declared_simplified = t.declared_simplified;
  SetNum(vars_, "I13_11T", t.private_pension_total);
  SetNum(vars_, "I13_13T", t.education_total);
  SetNum(vars_, "I13_14D", t.medical_reimbursed);
  SetNum(vars_, "I13_22C", t.children_fund);
  SetNum(vars_, "I13_22T", t.incentives);
  SetNum(vars_, "I13_22P", t.programmes);
  SetNum(vars_, "NFUNPRESP", t.funpresp);
  SetNum(vars_, "DESPSIMP", t.declared_simplified);
}

void AnnualCalculation::Line08() {
  Decimal total;
  for (int line : {1, 2, 3, 4, 5, 6, 7, 49, 50}) total += Get(line);
  Put(8, total);
}

void AnnualCalculation::Line09(const Pass& p) {
  Put(9, Num(vars_, "CARNEINSS") + Num(vars_, "CARNEDEPEN") + p.income.social_security_titular +
             p.income.social_security_dependants + p.payments.funpresp);
}

void AnnualCalculation::Line11(const Pass& p) {
  Decimal limit = (Positive(Get(8)) * kPrivatePensionRate).Despreza(2);
  Put(11, std::min(p.payments.private_pension_total, limit));
}

void AnnualCalculation::Line12() {
  Put(12, kDependantPerYear * Decimal::FromInt(DependantCount(rows_.people)));
}

void AnnualCalculation::Line19(Pass& p) {
  Decimal total;
  for (int line = 9; line <= 18; ++line) total += Get(line);
  Put(19, total);
  p.out.figures.limmax = Positive(Get(8) - total);
  SetNum(vars_, "LIMMAX", p.out.figures.limmax);
}

void AnnualCalculation::Base(Pass& p, int mode) {
  const Decimal income = Get(8);
  const Decimal discount = SimplifiedDiscount(income);
  SetNum(vars_, "DESPADRAO", discount);
  Line19(p);
  AnnualFigures& f = p.out.figures;
  // The complete model's tax with the incentive deductions that model would
  // give on it: in the simplified model line 22 is 0, and before FI13_22 runs
  // it still holds the previous computation's value.
  const Decimal complete_base_tax = table_(Positive(income - Get(19)));
  const Decimal complete_incentives =
      IncentiveDeductions(rows_.payments, complete_base_tax, true, Decimal()).line22;
  f.complete_tax = complete_base_tax - complete_incentives - Get(24);
  f.simplified_tax = table_(Positive(income - discount));
  SetNum(vars_, "NCOMPL", f.complete_tax);
  SetNum(vars_, "NSIMPL", f.simplified_tax);
  ModelHint& hint = p.out.hint;
  hint = {};
  if (IsCompleteModel(vars_)) {
    f.deduction_used = Get(19);
    if (f.simplified_tax < f.complete_tax) {
      hint.kind = HintKind::kSimplifiedBetter;
      if (internal::Yes(vars_, "DECFINAL")) {
        hint.lines = {"Na declaração Final somente uma quota e completa"};
      } else if (internal::Yes(vars_, "DECSAIDA")) {
        hint.lines = {"Na declaração de Saida so uma quota e completa"};
      } else if (mode != 0) {
        hint.lines = {"ATENÇÃO! É mais vantajoso usar o formulário simples"};
      }
    }
  } else {
    f.deduction_used = discount;
    if (f.simplified_tax > f.complete_tax && income.Sign() > 0) {
      hint.kind = HintKind::kCompleteBetter;
      if (mode == 2)
        hint.lines = {"  ATENÇAO!!  ", " Melhor opção", "  Formulario ", "   Completo  "};
    }
  }
  SetNum(vars_, "DESCON", f.deduction_used);
  Put(20, Positive(income - f.deduction_used));
}

void AnnualCalculation::Incentives(Pass& p, bool complete) {
  IncentiveResult r = IncentiveDeductions(rows_.payments, Get(21), complete, Get(22));
  Put(22, r.line22);
  p.out.changes.insert(p.out.changes.end(), r.changes.begin(), r.changes.end());
  if (!r.message.empty()) p.out.warnings.push_back(r.message);
}

void AnnualCalculation::TaxDue(bool complete) {
  Put(21, table_(Get(20)));
  Put(24, Decimal());
  if (complete) {
    Put(23, Get(21) - Get(22));
    Put(26, Positive(Get(23) + Get(25) - Get(24)));
  } else {
    Put(23, Get(21));
    Put(26, Get(23) + Get(25));
  }
}

void AnnualCalculation::Foreign(Pass& p, bool complete, int mode) {
  AnnualFigures& f = p.out.figures;
  f.foreign_tax_with = f.foreign_tax_without = f.foreign_limit = Decimal();
  const Decimal foreign_income = Get(49) + Get(50);
  if (foreign_income.Sign() <= 0) {
    Put(32, Decimal());
    return;
  }
  const Decimal income = Get(8);
  const Decimal without_income = income - foreign_income;
  if (complete) {
    // Both sides without the exclusive tax of cumulative income (line 25),
    // which the foreign income does not change.
    f.foreign_tax_with = Positive(Get(26) - Get(25));
    Decimal pension = std::min(p.payments.private_pension_total,
                               (Positive(without_income) * kPrivatePensionRate).Despreza(2));
    Decimal deductions = Get(19) - Get(11) + pension;
    Decimal tax = table_(Positive(without_income - deductions));
    Decimal donations = std::min(p.payments.incentives, IncentiveLimitsOf(tax).overall);
    f.foreign_tax_without = Positive(tax - donations);
  } else {
    f.foreign_tax_with = table_(Positive(income - SimplifiedDiscount(income)));
    f.foreign_tax_without = table_(Positive(without_income - SimplifiedDiscount(without_income)));
  }
  f.foreign_limit = f.foreign_tax_with - f.foreign_tax_without;
  const Decimal previous = Get(32);
  if (f.foreign_limit.Sign() <= 0) {
    Put(32, Decimal());
    return;
  }
  const Decimal typed = Num(vars_, "IR_EXTER");
  Put(32, std::min(typed, f.foreign_limit));
  if (typed > f.foreign_limit && previous != f.foreign_limit && mode == 1) {
    p.out.foreign_explanation = {
        "O imposto pago no exterior " + Money(typed) + " não pode execeder ",
        "a diferença entre o imposto devido com e sem esses rendimentos.     ",
        "Ir devido com o Rendimento Exterior:" + Money(f.foreign_tax_with) + "     ",
        "Ir devido sem o Rendimento Exterior:" + Money(f.foreign_tax_without) + "     ",
        "       O limite Legal assumido é de.....:" + Money(f.foreign_limit)};
  }
}

void AnnualCalculation::TaxPaid() {
  Decimal total;
  for (int line = 27; line <= 34; ++line) total += Get(line);
  Put(35, total);
}

void AnnualCalculation::Balance() {
  const Decimal balance = Get(26) - Get(35);
  SetNum(vars_, "IMPPGRE", balance);
  Put(36, Positive(balance));
  Put(38, Positive(-balance));
}

void AnnualCalculation::ExemptTotals() {
  Decimal exempt, exclusive;
  char name[8];
  for (int mm = 1; mm <= 24; ++mm) {
    std::snprintf(name, sizeof name, "I3_%02d", mm);
    exempt += Num(vars_, name);
    if (mm <= 12) {
      std::snprintf(name, sizeof name, "I4_%02d", mm);
      exclusive += Num(vars_, name);
    }
  }
  Put(44, exempt);
  Put(45, exclusive);
}

AnnualOutcome AnnualCalculation::Balanco() {
  Pass p;
  PartYearMonths months = PartYearMonthsOf(vars_);
  table_ = TaxTable(months);
  if (!months.warning.empty()) p.out.warnings.push_back(months.warning);
  p.out.changes = RenumberPeople(rows_.people);
  Run(2, hooks_.carne_leao);
  IncomeStep(p);
  PaymentStep(p);
  ExemptTotals();
  AssetTotals a = AssetTotalsOf(rows_.assets, rows_.debts);
  Put(39, a.assets_previous);
  Put(40, a.assets_current);
  Put(41, a.debts_previous);
  Put(42, a.debts_current);
  Put(51, a.debts_paid);
  Run(hooks_.patrimony);
  const bool complete = IsCompleteModel(vars_);
  Line08();
  Line09(p);
  Line11(p);
  Line12();
  Base(p, 0);  // line 19 inside
  Put(21, table_(Get(20)));
  Incentives(p, complete);
  TaxDue(complete);
  TaxPaid();
  Balance();
  SetNum(vars_, "I13_43", Num(vars_, "I9_2"));
  Run(hooks_.cash_balance);
  return std::move(p.out);
}

AnnualOutcome AnnualCalculation::Calc(int screen, int mode) {
  Pass p;
  PartYearMonths months = PartYearMonthsOf(vars_);
  table_ = TaxTable(months);
  switch (screen) {
    case 1:
    case 2:
      Run(screen, hooks_.carne_leao);
      break;
    case kCalcExemptTotals:
      IncomeStep(p);
      ExemptTotals();
      Line08();
      break;
    case kCalcPayments:
      PaymentStep(p);
      IncomeStep(p);
      Line09(p);
      Incentives(p, IsCompleteModel(vars_));
      break;
    case kCalcGainsExempt:
      Run(hooks_.gains_exempt);
      ExemptTotals();
      break;
    case kCalcSocialSecurity:
      IncomeStep(p);
      PaymentStep(p);
      Line09(p);
      break;
    case kCalcWhole: {
      if (!months.warning.empty()) p.out.warnings.push_back(months.warning);
      IncomeStep(p);
      PaymentStep(p);
      Run(mode, hooks_.carne_leao);
      Line09(p);
      Run(hooks_.automatic_debit);
      const bool complete = IsCompleteModel(vars_);
      Line08();
      if (complete) {
        Line11(p);
        Line12();
        Line19(p);
        Base(p, mode);
        Put(21, table_(Get(20)));
        Incentives(p, true);
        TaxDue(true);
        Foreign(p, true, mode);
      } else {
        Line11(p);
        Line12();
        Foreign(p, false, mode);
        Base(p, mode);
        TaxDue(false);
      }
      TaxPaid();
      Balance();
      ExemptTotals();
      Run(hooks_.cash_balance);
      break;
    }
    default:
      break;
  }
  return std::move(p.out);
}

}  // namespace dodu::tax
