#include "entry/adic_reg.h"

#include <cstdio>

#include "store/rec_lock.h"

namespace dodu::entry {
namespace {

// Presets skip fields the table does not have.
void Text(store::Record& r, std::string_view field, std::string_view value) {
  if (r.layout().Find(field) != nullptr) (void)r.PutText(field, value);
}

void Number(store::Record& r, std::string_view field, int64_t value) {
  if (r.layout().Find(field) != nullptr) (void)r.PutNumber(field, core::Decimal::FromInt(value));
}

void LineWhenZero(store::Record& r, std::string_view field, store::RecNo recno) {
  if (r.layout().Find(field) == nullptr) return;
  Result<core::Decimal> v = r.GetNumber(field);
  if (v.ok() && v->IsZero()) Number(r, field, int64_t{recno.value} * 10);
}

bool In(int p, std::initializer_list<int> set) {
  for (int x : set)
    if (x == p) return true;
  return false;
}

}  // namespace

void ApplyPresets(const EntryContext& ec, int p, store::RecNo recno, store::Record& r) {
  const EntryState& s = ec.state;
  const AppendPresets& pre = s.presets;
  if (p < 28 || (p >= 34 && p <= 39)) Text(r, "CPF", s.cpf);
  if (p >= 34 && p <= 39) Text(r, "ATV_BRASIL", pre.rural_activity);
  if (In(p, {1, 2, 16, 17, 18, 20, 24})) {
    Text(r, "I1_1", pre.income_kind);
    Text(r, "I1_11", pre.titular);
    const bool dependant_kind = pre.income_kind == "D" && In(p, {1, 2});
    const bool dependant_line = pre.titular == "N" && In(p, {16, 17, 18, 20, 24});
    if (dependant_kind || dependant_line) Text(r, "I1_8", pre.dependant_cpf);
  }
  if (p == 3) {
    if (pre.dependant_list == DependantList::kHeirs) Number(r, "CODIDEPEN", 100);
    if (pre.dependant_list == DependantList::kAlimony) Number(r, "CODIDEPEN", 99);
  }
  if (In(p, {5, 8, 22})) LineWhenZero(r, "I7_0", recno);
  if (In(p, {6, 9, 23})) LineWhenZero(r, "I8_0", recno);
  if (p == 35) LineWhenZero(r, "I8R_0", recno);
  if (p == 36) LineWhenZero(r, "I9R_0", recno);
  if (p == 10) Number(r, "BEM_NRO", pre.asset_number);
  if (In(p, {14, 19})) {
    Number(r, "RVAR_NRO", pre.variable_item);
    Text(r, "DAY_TRADE", pre.day_trade);
  }
  if (In(p, {18, 38})) Text(r, "TIPOCR", pre.credit_debit);
  if (p == 27) Number(r, "REFEREN", pre.asset_line);
  if (p == 48 || p == 49) {
    if (r.layout().Find("DATAG") != nullptr) (void)r.PutDate("DATAG", pre.agenda_day);
    Text(r, "NOMEAG", pre.agenda_owner);
  }
  if (p == 48) {
    platform::CivilTime now = ec.tk.clock().Now();
    char hhmm[8];
    std::snprintf(hhmm, sizeof hhmm, "%02d %02d", now.hour % 100, now.minute % 100);
    Text(r, "HORAG", hhmm);
  }
  if (p == 49 && r.layout().Find("AVISAG") != nullptr) (void)r.PutLogical("AVISAG", true);
}

Result<store::RecNo> ADIC_REG(EntryContext& ec, store::WorkArea& area, int profile) {
  DODU_RETURN_IF_ERROR(store::ADD_REC(ec.store, area, 5));
  const store::RecNo n = area.recno();
  DODU_ASSIGN_OR_RETURN(store::Record rec, area.Current());
  ApplyPresets(ec, profile, n, rec);
  Status st = area.WriteCurrent(rec);
  if (!st.ok()) {
    area.table().UnlockRecord(n);
    return st;
  }
  return n;
}

}  // namespace dodu::entry
