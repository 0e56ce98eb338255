#include "tax/carne_rows.h"

#include "tax/internal/annual_vars.h"

namespace dodu::tax {
namespace {

using internal::DateOf;
using internal::Int;
using internal::Num;
using internal::Text;

std::string Mm(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

char Letter(const core::Variables& row, const char* name) {
  const std::string t = Text(row, name);
  return t.empty() ? ' ' : t[0];
}

template <typename T, typename F>
std::vector<T> Each(const std::vector<const core::Variables*>& rows, F of) {
  std::vector<T> out;
  out.reserve(rows.size());
  for (const core::Variables* r : rows) out.push_back(of(*r));
  return out;
}

}  // namespace

CarneRow CarneRowOf(const core::Variables& row) {
  CarneRow r;
  r.cpfdepen = Text(row, "CPFDEPEN");
  for (int k = 1; k <= kCarneKinds; ++k) {
    for (int m = 1; m <= kYearRow; ++m) r.at(k, m) = Num(row, CarneFieldName(k, m));
  }
  return r;
}

void StoreCarneRow(const CarneRow& r, core::Variables& row) {
  internal::SetText(row, "CPFDEPEN", r.cpfdepen);
  for (int k = 1; k <= kCarneKinds; ++k) {
    for (int m = 1; m <= kYearRow; ++m) internal::SetNum(row, CarneFieldName(k, m), r.at(k, m));
  }
}

CarneLine CarneLineOf(const core::Variables& row) {
  CarneLine l;
  l.kind = Letter(row, "I1_1");
  l.titular = Text(row, "I1_11") != "N";
  l.dependant_cpf = Text(row, "I1_8");
  l.value = Num(row, "I1_4");
  for (int m = 1; m <= 12; ++m) l.monthly[m - 1] = Num(row, "I1_4" + Mm(m));
  l.payer_cpf = Text(row, "I1_3");
  l.beneficiary_cpf = Text(row, "I1_40");
  l.type = Letter(row, "I1_41");
  l.date = DateOf(row, "DT_LC");
  return l;
}

void StoreLineUpdate(const LineUpdate& u, core::Variables& row) {
  for (int m = 1; m <= 12; ++m) internal::SetNum(row, "I1_4" + Mm(m), u.monthly[m - 1]);
}

CarnePayment CarnePaymentOf(const core::Variables& row) {
  CarnePayment p;
  p.code = Int(row, "I6_3");
  for (int m = 1; m <= 12; ++m) p.monthly[m - 1] = Num(row, "I6_4" + Mm(m));
  return p;
}

PaymentLine PaymentLineOf(const core::Variables& row) {
  return {Int(row, "I6_3"), Num(row, "I6_4")};
}

AssetLine AssetLineOf(const core::Variables& row) {
  AssetLine a;
  a.item = Int(row, "I7_1");
  a.description = Text(row, "I7_2");
  a.code = Int(row, "I7_5");
  a.current = Num(row, "I7_4");
  return a;
}

std::vector<CarneRow> CarneRowsOf(const std::vector<const core::Variables*>& rows) {
  return Each<CarneRow>(rows, CarneRowOf);
}
std::vector<CarneLine> CarneLinesOf(const std::vector<const core::Variables*>& rows) {
  return Each<CarneLine>(rows, CarneLineOf);
}
std::vector<CarnePayment> CarnePaymentsOf(const std::vector<const core::Variables*>& rows) {
  return Each<CarnePayment>(rows, CarnePaymentOf);
}

}  // namespace dodu::tax
