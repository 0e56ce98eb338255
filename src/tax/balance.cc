#include "tax/balance.h"

#include <algorithm>

namespace dodu::tax {
namespace {

using core::Rounding;
using namespace core::literals;

constexpr Decimal kIndexFloor = "-99.99"_dec;
constexpr Decimal kIndexCeiling = "999.99"_dec;  // the widest N(6,2)
constexpr Decimal kIndexCapped = "999"_dec;
constexpr Decimal kSaldoFloor = "-99999999.99"_dec;
constexpr int kUpkeepMonthsOfValue = 120;  // 10 % of the value a year
constexpr size_t kItemWidth = 25;

bool FlagIs(const core::Variables& vars, const char* name, char letter) {
  const std::string& t = vars.Text(name);
  return !t.empty() && t[0] == letter;
}

bool HasText(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return c != ' '; });
}

}  // namespace

Patrimony Fi10_1(const AssetTotals& t) {
  const Decimal da = t.assets_current - t.assets_previous;
  const Decimal dd = t.debts_current - t.debts_previous;
  const Decimal zero;
  Patrimony p;
  p.variation = da - dd;
  if (da >= zero && dd >= zero) {
    if (dd > da) p.borrowing = dd - da;
  } else if (da < zero && dd >= zero) {
    p.borrowing = dd;
    p.decrease = -da;
  } else if (da < zero && dd < zero) {
    p.decrease = std::max(zero, -da + dd);
  }
  if (p.variation > zero) p.increase = p.variation;
  return p;
}

BalanceInputs BalanceInputsOf(const core::Variables& v, const Patrimony& patrimony,
                              const PaymentTotals& payments) {
  BalanceInputs in;
  in.spouse_income = v.Number("I9_2");
  in.spouse_balance = v.Number("I9_3");
  in.decrease = patrimony.decrease;
  in.borrowing = patrimony.borrowing;
  in.rural_loans = v.Number("EMPRUR");
  in.other_receipts = v.Number("OUTREC");
  in.gain_entries = v.Number("ENTRADGP");
  in.exempt_not_counted = v.Number("ISENTNAO");
  in.suspended = v.Number("EXGSUSP");
  in.taxable = v.Number("I13_08");
  in.exempt = v.Number("I13_44");
  in.exclusive = v.Number("I13_45");
  in.exclusive_gains = v.Number("I4_03");
  in.variable_gains = v.Number("LUCRRVA");
  in.variable_recovered = v.Number("I3_20");
  in.deferred_gain = v.Number("VALFUTUR");
  in.deferred_counted = !FlagIs(v, "SOMAG", 'N');
  in.rra_tax = v.Number("I13_34");
  in.earlier_taxes = v.Number("IMPOANTER");
  in.tax_paid = v.Number("I13_35");
  in.gains_tax = v.Number("I13_46");
  in.variable_tax = v.Number("I13_47");
  in.law_11033_tax = v.Number("I13_48");
  in.increase = patrimony.increase;
  in.rural_amortisation = v.Number("AMORUR");
  in.variable_losses = v.Number("PREJRVA");
  in.small_sales_losses = v.Number("PREJVEN1");
  in.rural_losses = v.Number("PREJRUR");
  in.asset_upkeep = v.Number("DESPNAO");
  in.personal_spending = v.Number("OUTRDES");
  in.cost_this_year = v.Number("CUSTOANO");
  in.cost_earlier = v.Number("CUSTOANT");
  in.simplified = FlagIs(v, "USAPADRAO", 'S');
  in.only_discount = FlagIs(v, "SO_SIMPLES", 'S');
  in.standard_discount = v.Number("DESPADRAO");
  in.declared = payments.declared;
  in.declared_simplified = payments.declared_simplified;
  in.social_security = v.Number("I13_09");
  in.dependants = v.Number("I13_12");
  in.cash_book = v.Number("I13_18");
  return in;
}

Decimal DeclaredExpenses(const BalanceInputs& in) {
  if (in.simplified && in.only_discount) return in.standard_discount + in.declared_simplified;
  if (in.simplified) return in.declared + in.social_security + in.cash_book;
  return in.declared + in.social_security + in.dependants + in.cash_book;
}

CashBalance VeSaldo(const BalanceInputs& in) {
  CashBalance b;
  b.receipts = in.spouse_income + (in.spouse_balance - in.spouse_income) + in.decrease +
               in.borrowing + in.rural_loans + in.other_receipts + in.gain_entries -
               in.exempt_not_counted + in.suspended + in.taxable + in.exempt + in.exclusive -
               in.exclusive_gains + in.variable_gains +
               (in.deferred_counted ? in.deferred_gain : Decimal()) + in.rra_tax;
  b.declared_expenses = DeclaredExpenses(in);
  b.expenses = in.earlier_taxes + in.tax_paid + in.gains_tax + in.variable_tax + in.law_11033_tax +
               in.increase + in.rural_amortisation + in.variable_losses + in.small_sales_losses +
               in.rural_losses + in.asset_upkeep + in.personal_spending + in.cost_this_year +
               in.cost_earlier + b.declared_expenses;
  const Decimal saldo = b.receipts - b.expenses;
  // A ratio with no receipts is 0.
  Decimal index;
  if (!b.receipts.IsZero()) {
    index =
        (saldo * Decimal::FromInt(100)).Div(b.receipts, 4, Rounding::kHalfAwayFromZero).Despreza(2);
  }
  if (index < kIndexFloor) index = kIndexFloor;
  if (index > kIndexCeiling) index = kIndexCapped;
  b.indgas = index;
  b.saldo = std::max(saldo, kSaldoFloor);
  return b;
}

bool CashProblem(const CashBalance& b, const Decimal& alert_percent) {
  return b.saldo <= Decimal() || b.indgas < alert_percent;
}

void ApplyBalance(core::Variables& vars, const CashBalance& b, const Patrimony& patrimony) {
  vars.SetNumber("SALDO", b.saldo);
  vars.SetNumber("INDGAS", b.indgas);
  vars.SetNumber("EMPREST", patrimony.borrowing);
}

Decimal DeclarationFee(const Decimal& size_bytes, int64_t working_seconds,
                       const Decimal& per_kilobyte, const Decimal& per_minute,
                       const Decimal& minimum) {
  const Decimal by_size =
      (size_bytes * per_kilobyte).Div(Decimal::FromInt(1000), 8, Rounding::kHalfAwayFromZero);
  const Decimal by_time = (Decimal::FromInt(working_seconds) * per_minute)
                              .Div(Decimal::FromInt(60), 8, Rounding::kHalfAwayFromZero);
  return std::max(by_size + by_time, minimum).RoundHalfAway(2);
}

std::vector<UpkeepRow> BuscaDesp(std::span<const AssetLine> assets,
                                 const std::map<int, std::string>& expense_of) {
  std::vector<UpkeepRow> rows;
  size_t i = 0;
  while (i < assets.size()) {
    // An asset: its first row and the continuation rows with item number 0.
    size_t end = i + 1;
    while (end < assets.size() && assets[end].item == 0) ++end;
    std::string item = assets[i].description.substr(0, kItemWidth);
    int code = 0;
    Decimal value;
    bool valued = false;
    for (size_t j = i; j < end; ++j) {
      if (assets[j].code != 0) code = assets[j].code;
      if (!valued && !assets[j].current.IsZero()) {
        value = assets[j].current;
        valued = true;
      }
    }
    const Decimal monthly =
        value.Div(Decimal::FromInt(kUpkeepMonthsOfValue), 4, Rounding::kHalfAwayFromZero)
            .Despreza(2);
    auto it = expense_of.find(code);
    if (it != expense_of.end() && HasText(it->second) && !monthly.IsZero()) {
      rows.push_back({code, item, it->second, monthly});
    }
    i = end;
  }
  return rows;
}

Decimal TotalDesp(std::span<const UpkeepRow> rows) {
  Decimal sum;
  for (const UpkeepRow& r : rows) sum += r.monthly;
  return sum * Decimal::FromInt(12);
}

}  // namespace dodu::tax
