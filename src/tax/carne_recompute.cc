#include "tax/carne_recompute.h"

#include <algorithm>

namespace dodu::tax {
namespace {

enum Bucket { kWork = 0, kRent = 1, kOther = 2 };
constexpr const char* kTitularTotals[] = {"TOTTRABT", "TOTALUGT", "TOTOUTRT"};
constexpr const char* kDependantTotals[] = {"TOTTRABD", "TOTALUGD", "TOTOUTRD"};
constexpr int kFirstAlimonyCode = 30;
constexpr int kLastAlimonyCode = 34;

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

char FirstLetter(const std::string& text) {
  std::string t = Trim(text);
  return t.empty() ? ' ' : t[0];
}

Bucket ByDefaultType(char tipo_pf) {
  if (tipo_pf == 'A') return kRent;
  if (tipo_pf == 'O') return kOther;
  return kWork;
}

Bucket BucketOf(const CarneLine& line, char tipo_pf) {
  switch (line.type) {
    case 'T':
      return kWork;
    case 'A':
      return kRent;
    case 'O':
      return kOther;
    default:
      return Trim(line.payer_cpf).empty() ? ByDefaultType(tipo_pf) : kWork;
  }
}

// The grid kind a line's kind fills, 0 for lines the carnê-leão skips.
int KindOfLine(char kind) {
  switch (kind) {
    case 'F':
      return kFromIndividuals;
    case 'E':
      return kFromAbroad;
    case 'L':
      return kCashBook;
    case 'P':
      return kDeductions;  // social security; alimony and dependants are added to it
    case 'I':
      return kPaid;
    default:
      return 0;
  }
}

bool BelongsTo(const CarneLine& line, const CarneRow& person) {
  if (person.IsTitular()) return line.titular;
  return !line.titular && Trim(line.dependant_cpf) == Trim(person.cpfdepen);
}

using MonthSums = std::array<Decimal, kYearRow>;  // months 1..12 and the year

// Fill modes 1 and 3: columns 2..6 from the lines.
void BuildFromLines(core::Variables& vars, CarneRow& row, FillMode mode,
                    std::span<const CarneLine> lines, std::span<const CarnePayment> payments,
                    const CarneSetting& setting, CarnePass pass, CarneOutcome& out) {
  const char tipo_pf = FirstLetter(vars.Text("TIPO_PF"));
  const bool titular = row.IsTitular();
  std::array<MonthSums, kPaid + 1> sums{};  // indexed by grid kind 1..5
  std::array<Decimal, 3> type_totals{};
  for (size_t i = 0; i < lines.size(); ++i) {
    const CarneLine& line = lines[i];
    const int kind = KindOfLine(line.kind);
    if (kind == 0 || !BelongsTo(line, row)) continue;
    if (line.kind == 'F') type_totals[BucketOf(line, tipo_pf)] += line.value;
    const bool dated = mode == FillMode::kCashBookLedger && kind <= kCashBook;
    if (dated) {
      if (line.date.IsBlank()) continue;
      const int m = line.date.month();
      sums[kind][m - 1] += line.value;
      sums[kind][kYearRow - 1] += line.value;
      // The ledger line stands in its dated month only: a value left in another
      // month by an earlier date or by fill mode 1 would be counted there again.
      LineUpdate u{i, {}};
      u.monthly[m - 1] = line.value;
      if (u.monthly != line.monthly) out.line_updates.push_back(u);
    } else {
      for (int m = 1; m <= 12; ++m) {
        sums[kind][m - 1] += line.monthly[m - 1];
        sums[kind][kYearRow - 1] += line.monthly[m - 1];
      }
    }
  }
  const char* const* names = titular ? kTitularTotals : kDependantTotals;
  for (int b = 0; b < 3; ++b) vars.SetNumber(names[b], type_totals[b]);

  MonthSums alimony{};
  if (titular) {
    for (const CarnePayment& p : payments) {
      if (p.code < kFirstAlimonyCode || p.code > kLastAlimonyCode) continue;
      for (int m = 1; m <= 12; ++m) {
        alimony[m - 1] += p.monthly[m - 1];
        alimony[kYearRow - 1] += p.monthly[m - 1];
      }
    }
    out.pensaom = alimony[kYearRow - 1];
  }

  const Decimal d = titular ? DependantsDeduction(setting.dependants) : Decimal();
  MonthSums deductions{};
  for (int m = 1; m <= 12; ++m) {
    Decimal applied;
    if (titular && sums[kFromIndividuals][m - 1] + sums[kFromAbroad][m - 1] >= d) applied = d;
    out.dependants_applied += applied;
    deductions[m - 1] = sums[kDeductions][m - 1] + alimony[m - 1] + applied;
  }
  deductions[kYearRow - 1] =
      sums[kDeductions][kYearRow - 1] + alimony[kYearRow - 1] + out.dependants_applied;
  sums[kDeductions] = deductions;

  const int first_month = pass == CarnePass::kTotals ? kYearRow : 1;
  for (int kind = kFromIndividuals; kind <= kPaid; ++kind) {
    for (int m = first_month; m <= kYearRow; ++m) row.at(kind, m) = sums[kind][m - 1];
  }
}

// Fill modes 2 and 4: the typed grid stands; its year rows are re-summed.
void TypedGrid(core::Variables& vars, CarneRow& row, FillMode mode, const CarneSetting& setting) {
  for (int kind = kFromIndividuals; kind <= kPaid; ++kind) row.SumYear(kind);
  if (mode == FillMode::kInverse && setting.inverse_cursor) {
    for (int m = 1; m <= 12; ++m) InverseMonth(row, m);
  }
  const char* const* names = row.IsTitular() ? kTitularTotals : kDependantTotals;
  const Bucket b = ByDefaultType(FirstLetter(vars.Text("TIPO_PF")));
  vars.SetNumber(names[b], row.at(kFromIndividuals, kYearRow));
}

Decimal SumLines(std::span<const CarneLine> lines, bool titular) {
  Decimal sum;
  for (const CarneLine& l : lines) {
    if (l.kind == 'P' && l.titular == titular) sum += l.value;
  }
  return sum;
}

}  // namespace

CarneOutcome FdeLeao(core::Variables& vars, std::vector<CarneRow>& rows, size_t current,
                     std::span<const CarneLine> lines, std::span<const CarnePayment> payments,
                     const CarneSetting& setting, CarnePass pass) {
  CarneOutcome out;
  CarneRow& row = rows.at(current);
  row.v = GridFromVariables(vars).v;
  for (const char* n : kTitularTotals) vars.SetNumber(n, Decimal());
  for (const char* n : kDependantTotals) vars.SetNumber(n, Decimal());

  const FillMode mode = FillModeOf(vars.Number("CAL_AUTO"));
  const bool from_lines = mode == FillMode::kIndividual || mode == FillMode::kCashBookLedger;
  if (from_lines) {
    BuildFromLines(vars, row, mode, lines, payments, setting, pass, out);
  } else {
    TypedGrid(vars, row, mode, setting);
  }
  for (int m = 1; m <= 12; ++m) MonthDue(row, m, m == 12);
  auto age = CorrDarf(row, setting.payment, setting.selic, setting.today);
  if (age.ok()) {
    out.age = *age;
  } else {
    out.correction = age.status();
    for (int m = 1; m <= kYearRow; ++m) row.at(kCorrected, m) = Decimal();
  }

  if (from_lines) {
    vars.SetNumber("CARNEINSS", SumLines(lines, true));
    vars.SetNumber("CARNEDEPEN", SumLines(lines, false));
  } else {
    auto titular =
        std::find_if(rows.begin(), rows.end(), [](const CarneRow& r) { return r.IsTitular(); });
    if (titular != rows.end()) {
      vars.SetNumber("CARNEINSS", SplitYear(*titular, setting.dependants).social_security);
    }
  }

  Decimal i03, i49, i04, i50, i18;
  for (const CarneRow& r : rows) {
    Decimal k1, k2;
    for (int m = 1; m <= 12; ++m) {
      k1 += r.at(kFromIndividuals, m);
      k2 += r.at(kFromAbroad, m);
      i18 += r.at(kCashBook, m);
    }
    (r.IsTitular() ? i03 : i04) += k1;
    (r.IsTitular() ? i49 : i50) += k2;
  }
  vars.SetNumber("I13_03", i03);
  vars.SetNumber("I13_04", i04);
  vars.SetNumber("I13_49", i49);
  vars.SetNumber("I13_50", i50);
  vars.SetNumber("I13_18", i18);
  CalcLeaoTotal(vars, rows);
  GridToVariables(row, vars);
  return out;
}

bool CarneCellEditable(FillMode mode, int month, int kind) {
  const bool typed = mode == FillMode::kTotalsOnly || mode == FillMode::kInverse;
  return typed && month >= 1 && month <= 12 && kind >= kFromIndividuals && kind <= kPaid;
}

Status CarneCellTyped(CarneRow& row, FillMode mode, int month, int kind, const Decimal& value,
                      const CarneSetting& setting) {
  row.at(kind, month) = value;
  row.SumYear(kind);
  if (mode == FillMode::kInverse && kind >= kCashBook) InverseMonth(row, month);
  MonthDue(row, month, true);
  auto age = CorrDarf(row, setting.payment, setting.selic, setting.today);
  if (age.ok()) return Status::Ok();
  for (int m = 1; m <= kYearRow; ++m) row.at(kCorrected, m) = Decimal();
  return age.status();
}

void CalcLeaoTotal(core::Variables& vars, std::span<const CarneRow> rows) {
  const CarriedTax t = CalcLeaoTotal(rows, vars.Logical("SO_REC"));
  vars.SetNumber("I13_29", t.titular);
  vars.SetNumber("I13_30", t.dependants);
}

}  // namespace dodu::tax
