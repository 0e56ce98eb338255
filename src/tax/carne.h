// The monthly carnê-leão: the month table of a person (the titular or one
// dependant), seven figures a month and their year totals, the tax due of each
// month by the monthly table, the inverse calculation of fill mode 4, the split
// of the deduction column, the carried tax of lines 29 and 30 and the
// correction of unpaid differences to a payment date.
//
// The month table is a row of table 12 (`I2_kmm`, kind k 1..7, month mm 1..12
// and 13 for the year); the caller fills CarneRow from the work copy and writes
// it back. Nothing here reads a table, the clock or a screen.
#ifndef DODU_TAX_CARNE_H_
#define DODU_TAX_CARNE_H_

#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/variables.h"
#include "platform/status.h"
#include "tax/selic.h"

namespace dodu::tax {

using core::Date;
using core::Decimal;

inline constexpr int kCarneKinds = 7;
inline constexpr int kYearRow = 13;

// The seven kinds of a month.
enum CarneKind : int {
  kFromIndividuals = 1,  // "Pes.Física"
  kFromAbroad = 2,       // "Exterior"
  kCashBook = 3,         // "Livro Caixa"
  kDeductions = 4,       // social security, alimony, dependants
  kPaid = 5,             // "Leão Pago"
  kDue = 6,              // "L. Devido", computed
  kCorrected = 7,        // "Corrigido", computed
};

// Fill modes (`CAL_AUTO`); any other stored value reads as kIndividual.
enum class FillMode : int { kIndividual = 1, kTotalsOnly = 2, kCashBookLedger = 3, kInverse = 4 };
FillMode FillModeOf(const Decimal& cal_auto);

// One row of table 12.
struct CarneRow {
  std::string cpfdepen;  // blank (or empty) for the titular's row
  std::array<std::array<Decimal, kYearRow>, kCarneKinds> v{};

  bool IsTitular() const;
  Decimal& at(int kind, int month) { return v[kind - 1][month - 1]; }
  const Decimal& at(int kind, int month) const { return v[kind - 1][month - 1]; }
  // Row 13 of `kind` := the sum of months 1..12.
  void SumYear(int kind);
};

// "I2_" + kind + two-digit month (month 13 is the year row).
std::string CarneFieldName(int kind, int month);
// The month grid from / into the declaration variables `I2_kmm` (the person's
// CPFDEPEN is not part of them and is left empty / untouched).
CarneRow GridFromVariables(const core::Variables& vars);
void GridToVariables(const CarneRow& grid, core::Variables& vars);

// The month's base: kinds 1 + 2 - 3 - 4 of `month`.
Decimal MonthBase(const CarneRow& row, int month);

// VE_LEAO without the correction: kind 6 of `month` := the monthly table's tax
// on its base (MonthlyTax of the annual table); with `sum_year` the year row of
// kind 6 is re-summed.
void MonthDue(CarneRow& row, int month, bool sum_year);

// The inverse calculation of fill mode 4 for `month`: from the tax paid (kind 5)
// and the cash book plus deductions (kinds 3 + 4), the gross income G of the
// month is found by trying the bands from the top; the first band whose tax on
// G - (3 + 4), rounded to whole reais, equals the paid tax rounded to whole
// reais is taken. When none matches, the 7.5 % band's G stands and the paid cell
// becomes its tax. Kind 1 := G - kind 2 (not below 0), to the cent, and the
// year row of kind 1 is re-summed. The due is not recomputed here.
void InverseMonth(CarneRow& row, int month);

// The dependants' deduction of a month for the titular: `dependants` x 189.59.
Decimal DependantsDeduction(int dependants);

// APREVID: a value V of the titular's deduction column split into the
// dependants' part D (when V >= D) and social security (the rest).
struct DeductionSplit {
  Decimal dependants, social_security;
};
DeductionSplit SplitDeduction(const Decimal& value, const Decimal& d);
// The split of all twelve months of the titular's row: the year's social
// security (`CARNEINSS`) and the year's dependants' part.
DeductionSplit SplitYear(const CarneRow& titular, int dependants);

// CONF_CARNE: what becomes of a value typed into the deduction column in fill
// modes 2 and 4. kRefused: on a dependant's table (the message is shown and the
// cell keeps its old value). kAsk: the question is put, `if_yes` / `if_no` is
// the value the cell keeps. kKeep: `if_yes` stands without a question.
struct DeductionEntry {
  enum Action { kKeep, kAsk, kRefused } action = kKeep;
  std::vector<std::string> message;  // the question or the refusal (UTF-8)
  Decimal if_yes, if_no;
};
DeductionEntry ConfCarne(const Decimal& typed, bool titular_table, int dependants);

// Lines 29 and 30 (`CALC_LEAOTOTAL`): over all rows and months 1..12 the paid
// tax when `so_rec`, else the larger of paid and due; the titular's row into
// `I13_29`, the dependants' rows into `I13_30`.
struct CarriedTax {
  Decimal titular, dependants;
};
CarriedTax CalcLeaoTotal(std::span<const CarneRow> rows, bool so_rec);

// CORR_DARF: kind 7 of months 1..12 and the year. For a month whose due (kind 6)
// is above its paid tax (kind 5) the difference is brought to `payment` with the
// late fine (LateFineRate) and the SELIC interest (AchaJuro) from the month's
// due date (the last business day of the next month), rounded to cents; other
// months get 0. A SELIC month missing from `selic` fails with kNotFound naming
// it and leaves `row` untouched. A blank `payment` clears kind 7.
// `age` of the result: how current the register was, when it was consulted.
Result<SelicAge> CorrDarf(CarneRow& row, const Date& payment, std::span<const SelicRow> selic,
                          const Date& today);

}  // namespace dodu::tax

#endif  // DODU_TAX_CARNE_H_
