#include "handover/table_rows.h"

#include "handover/value_formats.h"

namespace dodu::handover {

Result<std::vector<Row>> RowsOfTable(store::Table& table, std::string_view cpf) {
  std::vector<Row> rows;
  const bool by_cpf = !cpf.empty() && table.layout().Find("CPF") != nullptr;
  for (uint32_t n = 1; n <= table.record_count(); ++n) {
    DODU_ASSIGN_OR_RETURN(store::Record record, table.Read(store::RecNo{n}));
    if (record.deleted()) continue;
    if (by_cpf) {
      DODU_ASSIGN_OR_RETURN(std::string owner, record.GetText("CPF"));
      if (Trim(owner) != Trim(cpf)) continue;
    }
    DODU_ASSIGN_OR_RETURN(Row row, Row::FromRecord(record));
    rows.push_back(std::move(row));
  }
  return rows;
}

namespace {

Result<std::vector<Row>> RowsOfArea(store::WorkArea& area) {
  std::vector<Row> rows;
  const store::RecNo saved = area.recno();
  const bool had_record = !area.eof();
  const bool hide = area.hide_deleted;
  area.hide_deleted = true;
  Status st = area.Top();
  while (st.ok() && !area.eof()) {
    auto record = area.Current();
    if (!record.ok()) {
      st = record.status();
      break;
    }
    auto row = Row::FromRecord(*record);
    if (!row.ok()) {
      st = row.status();
      break;
    }
    rows.push_back(std::move(*row));
    st = area.Skip(1);
  }
  area.hide_deleted = hide;
  if (had_record) (void)area.GoTo(saved);
  if (!st.ok()) return st;
  return rows;
}

}  // namespace

Status FillFromWorkAreas(store::WorkAreas& areas, Snapshot& snapshot) {
  for (Schedule s : {Schedule::kIncome, Schedule::kDependants, Schedule::kAssets, Schedule::kDebts,
                     Schedule::kPayments, Schedule::kGains, Schedule::kMonthly,
                     Schedule::kRuralResults, Schedule::kRuralProperties, Schedule::kRuralAssets,
                     Schedule::kRuralDebts, Schedule::kHeirShares}) {
    store::WorkArea* area = areas.Get(static_cast<int>(s) + 20);
    if (area == nullptr) {
      snapshot.rows.erase(s);
      continue;
    }
    DODU_ASSIGN_OR_RETURN(snapshot.rows[s], RowsOfArea(*area));
  }
  return Status::Ok();
}

}  // namespace dodu::handover
