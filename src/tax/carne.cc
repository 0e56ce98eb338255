#include "tax/carne.h"

#include <algorithm>

#include "core/picture.h"
#include "tax/annual_table.h"
#include "tax/calendar.h"
#include "tax/exercise.h"

namespace dodu::tax {
namespace {

using core::Rounding;

// The bands of the inverse calculation, from the top: rate and deduction.
struct Band {
  Decimal rate, deduction;
};
constexpr Band kInverseBands[] = {
    {"0.275"_dec, kMonthlyBandDeduction[3]},
    {"0.225"_dec, kMonthlyBandDeduction[2]},
    {"0.15"_dec, kMonthlyBandDeduction[1]},
    {"0.075"_dec, kMonthlyBandDeduction[0]},
};

constexpr const char* kDeductionMask = "@Ez 9999,999.99";

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

FillMode FillModeOf(const Decimal& cal_auto) {
  for (int m = 2; m <= 4; ++m) {
    if (cal_auto == Decimal::FromInt(m)) return static_cast<FillMode>(m);
  }
  return FillMode::kIndividual;
}

bool CarneRow::IsTitular() const {
  return std::all_of(cpfdepen.begin(), cpfdepen.end(), [](char c) { return c == ' '; });
}

void CarneRow::SumYear(int kind) {
  Decimal sum;
  for (int m = 1; m <= 12; ++m) sum += at(kind, m);
  at(kind, kYearRow) = sum;
}

std::string CarneFieldName(int kind, int month) {
  return "I2_" + std::to_string(kind) + TwoDigits(month);
}

CarneRow GridFromVariables(const core::Variables& vars) {
  CarneRow g;
  for (int k = 1; k <= kCarneKinds; ++k) {
    for (int m = 1; m <= kYearRow; ++m) g.at(k, m) = vars.Number(CarneFieldName(k, m));
  }
  return g;
}

void GridToVariables(const CarneRow& grid, core::Variables& vars) {
  for (int k = 1; k <= kCarneKinds; ++k) {
    for (int m = 1; m <= kYearRow; ++m) vars.SetNumber(CarneFieldName(k, m), grid.at(k, m));
  }
}

Decimal MonthBase(const CarneRow& row, int month) {
  return row.at(kFromIndividuals, month) + row.at(kFromAbroad, month) - row.at(kCashBook, month) -
         row.at(kDeductions, month);
}

void MonthDue(CarneRow& row, int month, bool sum_year) {
  row.at(kDue, month) = MonthlyTax(MonthBase(row, month));
  if (sum_year) row.SumYear(kDue);
}

void InverseMonth(CarneRow& row, int month) {
  const Decimal paid = row.at(kPaid, month);
  const Decimal x = row.at(kCashBook, month) + row.at(kDeductions, month);
  const Decimal paid_reais = paid.RoundHalfAway(0);
  Decimal gross, tax;
  bool matched = false;
  for (const Band& b : kInverseBands) {
    gross = (paid + b.deduction + x * b.rate).Div(b.rate, 2, Rounding::kHalfAwayFromZero);
    tax = MonthlyTax(gross - x);
    if (tax.RoundHalfAway(0) == paid_reais) {
      matched = true;
      break;
    }
  }
  if (!matched) {
    row.at(kPaid, month) = tax;
    row.SumYear(kPaid);
  }
  Decimal income = gross - row.at(kFromAbroad, month);
  row.at(kFromIndividuals, month) = income.IsNegative() ? Decimal() : income;
  row.SumYear(kFromIndividuals);
}

Decimal DependantsDeduction(int dependants) {
  return kDependantPerMonth * Decimal::FromInt(dependants);
}

DeductionSplit SplitDeduction(const Decimal& value, const Decimal& d) {
  if (value >= d) return {d, value - d};
  return {Decimal(), value};
}

DeductionSplit SplitYear(const CarneRow& titular, int dependants) {
  const Decimal d = DependantsDeduction(dependants);
  DeductionSplit year;
  for (int m = 1; m <= 12; ++m) {
    DeductionSplit s = SplitDeduction(titular.at(kDeductions, m), d);
    year.dependants += s.dependants;
    year.social_security += s.social_security;
  }
  return year;
}

DeductionEntry ConfCarne(const Decimal& typed, bool titular_table, int dependants) {
  DeductionEntry e;
  if (!titular_table) {
    e.action = DeductionEntry::kRefused;
    e.message = {"Se deseja lançar a previdência de dependentes",
                 "use a opção de preenchimento no modo Individual"};
    return e;
  }
  const Decimal d = DependantsDeduction(dependants);
  e.if_yes = typed;
  if (typed.IsZero() || typed == d) return e;
  const Decimal asked = typed > d ? typed - d : typed;
  e.action = DeductionEntry::kAsk;
  e.message = {"O valor " + core::Transform(asked, kDeductionMask) +
               " deve ser considerado como  Previdência?"};
  e.if_no = typed > d ? d : Decimal();
  return e;
}

CarriedTax CalcLeaoTotal(std::span<const CarneRow> rows, bool so_rec) {
  CarriedTax t;
  for (const CarneRow& r : rows) {
    Decimal sum;
    for (int m = 1; m <= 12; ++m) {
      sum += so_rec ? r.at(kPaid, m) : std::max(r.at(kPaid, m), r.at(kDue, m));
    }
    (r.IsTitular() ? t.titular : t.dependants) += sum;
  }
  return t;
}

Result<SelicAge> CorrDarf(CarneRow& row, const Date& payment, std::span<const SelicRow> selic,
                          const Date& today) {
  std::array<Decimal, 12> corrected{};
  SelicAge age = SelicAge::kCurrent;
  if (!payment.IsBlank()) {
    for (int m = 1; m <= 12; ++m) {
      const Decimal diff = row.at(kDue, m) - row.at(kPaid, m);
      if (diff <= Decimal()) continue;
      const Date due = UltimoDia(m, kBaseYear, 2);
      DODU_ASSIGN_OR_RETURN(Interest interest, AchaJuro(selic, due, payment, today));
      if (interest.age > age) age = interest.age;
      Charges c = ChargesOf(diff, LateFineRate(due, payment), interest);
      corrected[m - 1] = c.total.RoundHalfAway(2);
    }
  }
  for (int m = 1; m <= 12; ++m) row.at(kCorrected, m) = corrected[m - 1];
  row.SumYear(kCorrected);
  return age;
}

}  // namespace dodu::tax
