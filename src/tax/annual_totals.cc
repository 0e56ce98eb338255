#include "tax/annual_totals.h"

#include <algorithm>

#include "tax/annual_table.h"
#include "tax/exercise.h"
#include "tax/internal/annual_vars.h"

namespace dodu::tax {
namespace {

using internal::Int;
using internal::Num;
using internal::Text;

struct ColumnMap {
  const char* column;
  const char* line;
};

// Income-line columns and the exempt / exclusive line each feeds.
constexpr ColumnMap kExemptColumns[] = {
    {"I1_29", "I3_01"}, {"I1_30", "I3_03"}, {"I1_15", "I3_05"}, {"I1_17", "I3_06"},
    {"I1_18", "I3_07"}, {"I1_37", "I3_08"}, {"I1_16", "I3_09"}, {"I1_23", "I3_10"},
    {"I1_31", "I3_12"}, {"I1_13", "I3_13"}, {"I1_14", "I3_14"}, {"I1_24", "I3_15"},
    {"I1_26", "I3_17"}, {"I1_27", "I3_18"}, {"I1_28", "I3_19"}, {"I1_9", "I3_24"}};
constexpr ColumnMap kExclusiveColumns[] = {
    {"I1_38", "I4_04"}, {"I1_32", "I4_08"}, {"I1_33", "I4_09"}, {"I1_34", "I4_10"}};
// Exclusive lines fed otherwise than by a column of their own.
constexpr const char* kExclusiveFed[] = {"I4_01", "I4_05", "I4_06", "I4_07"};

Decimal Positive(const Decimal& d) { return std::max(d, Decimal()); }

void AddCumulative(const core::Variables& line, size_t row, bool titular, IncomeTotals& t) {
  const Decimal paid_4 = Num(line, "I1_4"), withheld = Num(line, "I1_5");
  const Decimal social = Num(line, "I1_6"), alimony = Num(line, "I1_12");
  const Decimal over_65 = Num(line, "I1_17");
  Decimal taxable, tax;
  if (Text(line, "TIPOCR") != "N") {
    taxable = paid_4;
    (titular ? t.line05 : t.line06) += paid_4;
    (titular ? t.line27 : t.line28) += withheld;
    t.line10 += social;
    t.line17 += alimony;
    t.exempt["I3_06"] += over_65;
  } else {
    taxable = paid_4 + over_65;  // the part exempt at 65 is taxed here
    const Decimal months = Num(line, "I1_21");
    if (months.Sign() <= 0) {
      t.warnings.push_back({"É necessário informar a quantidade de meses"});
    }
    if (Text(line, "I1_36").empty()) {
      t.warnings.push_back({"É necessário informar o mês do recebimento"});
    }
    // A line without months has no monthly base (Div answers 0).
    Decimal base =
        Positive((taxable - social - alimony).Div(months, 6, core::Rounding::kHalfAwayFromZero));
    tax = (RraMonthlyTax(base) * months).Despreza(2);
    t.line25 += tax;
    (titular ? t.line34_titular : t.line34_dependants) += withheld;
    // Both holders' net amounts are floored: a negative exclusive income would
    // lower the declaration's total of exclusive income.
    Decimal net = Positive(taxable - withheld - social - alimony);
    t.exclusive[titular ? "I4_05" : "I4_07"] += net;
  }
  if (Num(line, "I1_25") != taxable) {
    t.changes.push_back({RowTable::kIncome, row, "I1_25", core::Value(taxable)});
  }
  if (Num(line, "I1_20") != tax) {
    t.changes.push_back({RowTable::kIncome, row, "I1_20", core::Value(tax)});
  }
}

void AddCompany(const core::Variables& line, bool titular, IncomeTotals& t, Decimal& largest) {
  const Decimal amount = Num(line, "I1_4");
  (titular ? t.line01 : t.line02) += amount;
  (titular ? t.line27 : t.line28) += Num(line, "I1_5");
  (titular ? t.social_security_titular : t.social_security_dependants) += Num(line, "I1_6");
  if (amount > largest) {
    largest = amount;
    t.main_payer = Text(line, "I1_3");
  }
  const Decimal thirteenth = Num(line, "I1_7");
  if (Num(line, "I1_18").Sign() > 0) {
    // Pension exempt for serious illness: the thirteenth is exempt too and its
    // withheld tax is credited.
    t.exempt["I3_07"] += thirteenth;
    (titular ? t.line27 : t.line28) += Num(line, "I1_39");
  } else {
    t.exclusive[titular ? "I4_01" : "I4_06"] += thirteenth;
  }
  for (const ColumnMap& c : kExemptColumns) t.exempt[c.line] += Num(line, c.column);
  for (const ColumnMap& c : kExclusiveColumns) t.exclusive[c.line] += Num(line, c.column);
  t.suspended += Num(line, "I1_19") - Num(line, "I1_20");
}

}  // namespace

IncomeTotals IncomeTotalsOf(const std::vector<const core::Variables*>& income) {
  IncomeTotals t;
  for (const ColumnMap& c : kExemptColumns) t.exempt[c.line] = Decimal();
  for (const ColumnMap& c : kExclusiveColumns) t.exclusive[c.line] = Decimal();
  for (const char* line : kExclusiveFed) t.exclusive[line] = Decimal();
  Decimal largest;
  std::string first_choice;
  bool mixed = false;
  for (size_t row = 0; row < income.size(); ++row) {
    const core::Variables& line = *income[row];
    const std::string kind = Text(line, "I1_1");
    if (kind == "J" || kind == "D") {
      AddCompany(line, kind == "J", t, largest);
    } else if (kind == "A") {
      std::string choice = Text(line, "TIPOCR") == "N" ? "N" : "S";
      if (first_choice.empty()) first_choice = choice;
      mixed = mixed || choice != first_choice;
      AddCumulative(line, row, Text(line, "I1_11") != "N", t);
    }
  }
  if (mixed) {
    t.warnings.push_back({"Atenção! Todos os lançamentos devem ter a mesma opção de tributação"});
  }
  return t;
}

Decimal EducationNotDeductible(const Decimal& paid) { return Positive(paid - kEducationLimit); }

int DependantCount(const std::vector<const core::Variables*>& people) {
  return static_cast<int>(std::count_if(people.begin(), people.end(), [](const core::Variables* p) {
    return Int(*p, "CODIDEPEN") < kFirstAlimonyCode;
  }));
}

int AlimonyCount(const std::vector<const core::Variables*>& people) {
  return static_cast<int>(std::count_if(people.begin(), people.end(), [](const core::Variables* p) {
    int code = Int(*p, "CODIDEPEN");
    return code >= kFirstAlimonyCode && code < kHeirCode;
  }));
}

PaymentTotals PaymentTotalsOf(const std::vector<const core::Variables*>& payments,
                              const std::vector<const core::Variables*>& people) {
  namespace pc = payment;
  PaymentTotals t;
  std::vector<Decimal> education(1 + DependantCount(people) + AlimonyCount(people));
  for (const core::Variables* row : payments) {
    const int code = Int(*row, "I6_3");
    const Decimal paid = Num(*row, "I6_4"), not_deductible = Num(*row, "I6_5");
    if (code == pc::kEducation || code == pc::kEducationAbroad) {
      t.education_total += paid;
      int person = Int(*row, "I6_6");
      if (person >= 0 && person < static_cast<int>(education.size())) education[person] += paid;
    } else if (code >= pc::kMedicalFirst && code <= pc::kMedicalLast) {
      t.medical += Positive(paid - not_deductible);
      if (paid.Sign() > 0) t.medical_reimbursed += not_deductible;
    } else if (code == pc::kCourtAlimony || code == pc::kCourtAlimonyAbroad) {
      t.court_alimony += paid;
    } else if (code == pc::kDeedAlimony || code == pc::kDeedAlimonyAbroad) {
      t.deed_alimony += paid;
    } else if (code == pc::kPrivatePension || code == pc::kPrivatePensionFapi) {
      t.private_pension_total += paid;
    } else if (code == pc::kFunpresp) {
      // The sponsor's part counts as official social security, but never more
      // than was paid.
      t.funpresp += std::min(paid, not_deductible);
      t.private_pension_total += Positive(paid - not_deductible);
    } else if (code == pc::kChildrenFundDirect) {
      t.children_fund += paid;
    } else if (code >= pc::kIncentiveFirst && code <= pc::kIncentiveLast) {
      t.incentives += paid;
    } else if (code == pc::kProgrammeA || code == pc::kProgrammeB) {
      t.programmes += paid;
    }
    if (code >= pc::kIgnoredFirst && code <= pc::kIgnoredLast) continue;
    const Decimal sign_paid = code == pc::kBrokers ? -paid : paid;
    t.declared += sign_paid;
    const bool simplified_group = (code >= 51 && code <= 71) || code == 76 || code == 80 ||
                                  code == 81 || code == 90 || code == 98 || code == 99 ||
                                  code == pc::kBrokers;
    if (simplified_group) t.declared_simplified += sign_paid;
  }
  for (const Decimal& person : education) t.education += std::min(person, kEducationLimit);
  return t;
}

std::vector<RowChange> RenumberPeople(const std::vector<const core::Variables*>& people) {
  std::vector<RowChange> out;
  for (size_t i = 0; i < people.size(); ++i) {
    Decimal number = Decimal::FromInt(static_cast<int64_t>(i) + 1);
    if (Num(*people[i], "NRODEPEN") != number) {
      out.push_back({RowTable::kPeople, i, "NRODEPEN", core::Value(number)});
    }
  }
  return out;
}

AssetTotals AssetTotalsOf(const std::vector<const core::Variables*>& assets,
                          const std::vector<const core::Variables*>& debts) {
  AssetTotals t;
  for (const core::Variables* a : assets) {
    t.assets_previous += Num(*a, "I7_3");
    t.assets_current += Num(*a, "I7_4");
  }
  for (const core::Variables* d : debts) {
    t.debts_previous += Num(*d, "I8_3");
    t.debts_current += Num(*d, "I8_4");
    t.debts_paid += Num(*d, "I8_7");
  }
  return t;
}

}  // namespace dodu::tax
