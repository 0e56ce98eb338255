// The totals the annual calculation starts from: the income lines summed by
// kind and column (FI1_T, with the tax of income received cumulatively), the
// payments summed by group with the per-person education limit (FDE_TUDO),
// the asset and debt totals (FI7_T, FI8_T) and the renumbering of the people.
// Pure functions over the work-copy rows; nothing here writes.
#ifndef DODU_TAX_ANNUAL_TOTALS_H_
#define DODU_TAX_ANNUAL_TOTALS_H_

#include <map>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "tax/annual_rows.h"

namespace dodu::tax {

using core::Decimal;

struct IncomeTotals {
  Decimal line01, line02;                     // company income, titular / dependants
  Decimal line05, line06;                     // cumulative income in the adjustment
  Decimal line10;                             // its official social security
  Decimal line17;                             // its alimony
  Decimal line25;                             // tax of cumulative income taxed exclusively
  Decimal line27, line28;                     // tax withheld, titular / dependants
  Decimal line34_titular, line34_dependants;  // withheld on exclusive cumulative income
  Decimal social_security_titular, social_security_dependants;  // I1_6 of J / D lines
  // The exempt (I3_..) and exclusive (I4_..) lines the income columns feed,
  // every one of them present (0 when nothing feeds it). Lines fed by other
  // Parts (I3_02, I3_04, I3_11, I3_20 ..., I4_02, I4_03, I4_11, I4_12) are not
  // here and keep their values.
  std::map<std::string, Decimal> exempt;
  std::map<std::string, Decimal> exclusive;
  Decimal suspended;       // EXGSUSP
  std::string main_payer;  // CGCPAGADOR: I1_3 of the company line with the largest I1_4
  // I1_20 and I1_25 of the cumulative-income lines as recomputed.
  std::vector<RowChange> changes;
  // Messages for the operator: lines missing their months or month, mixed
  // taxation choices.
  std::vector<std::vector<std::string>> warnings;

  Decimal line34() const { return line34_titular + line34_dependants; }
};

// FI1_T over the income lines (kinds "J", "D", "A"; the others belong to the
// carnê-leão). A cumulative-income line with TIPOCR "N" is taxed exclusively:
// monthly base := (I1_4 + I1_17 - I1_6 - I1_12) / I1_21 rounded to six places
// (0 with no months), its tax RraMonthlyTax x I1_21 cut to cents into I1_20.
IncomeTotals IncomeTotalsOf(const std::vector<const core::Variables*>& income);

struct PaymentTotals {
  Decimal education_total;        // I13_13T, codes 1 and 2 as paid
  Decimal education;              // line 13, each person capped
  Decimal medical;                // line 14, paid less reimbursed
  Decimal medical_reimbursed;     // I13_14D
  Decimal court_alimony;          // line 15
  Decimal deed_alimony;           // line 16
  Decimal private_pension_total;  // I13_11T
  Decimal funpresp;               // NFUNPRESP, part of line 09
  Decimal children_fund;          // I13_22C, code 39
  Decimal incentives;             // I13_22T, codes 40..44
  Decimal programmes;             // I13_22P, codes 45 and 46
  Decimal declared;               // DESPDECLA
  Decimal declared_simplified;    // DESPSIMP
};

// FDE_TUDO over the payments. Education has one accumulator for the titular
// (person 0) and one per dependant and alimony recipient of `people`; a payment
// naming a person beyond them is left out of line 13. Funpresp (code 37)
// counts min(I6_4, I6_5) as official social security and what was paid above
// I6_5 as private pension.
PaymentTotals PaymentTotalsOf(const std::vector<const core::Variables*>& payments,
                              const std::vector<const core::Variables*>& people);

// The part of one education payment above the per-person limit: its I6_5.
Decimal EducationNotDeductible(const Decimal& paid);

// People of table 03 with a code below 98.
int DependantCount(const std::vector<const core::Variables*>& people);
// People with code 98 or 99.
int AlimonyCount(const std::vector<const core::Variables*>& people);

// Each person's NRODEPEN := its position in the table (1, 2 ...), for the rows
// whose number differs.
std::vector<RowChange> RenumberPeople(const std::vector<const core::Variables*>& people);

struct AssetTotals {
  Decimal assets_previous, assets_current;  // lines 39, 40 (I7_3, I7_4)
  Decimal debts_previous, debts_current;    // lines 41, 42 (I8_3, I8_4)
  Decimal debts_paid;                       // line 51 (I8_7)
};
AssetTotals AssetTotalsOf(const std::vector<const core::Variables*>& assets,
                          const std::vector<const core::Variables*>& debts);

}  // namespace dodu::tax

#endif  // DODU_TAX_ANNUAL_TOTALS_H_
