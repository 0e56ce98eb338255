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

}  // namespace dodu::handover
