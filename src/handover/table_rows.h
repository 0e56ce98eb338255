// Rows of a schedule table for the snapshot: the records of an open table (a
// work copy of the declaration) in file order, deleted records left out.
#ifndef DODU_HANDOVER_TABLE_ROWS_H_
#define DODU_HANDOVER_TABLE_ROWS_H_

#include <string_view>
#include <vector>

#include "handover/snapshot.h"
#include "platform/status.h"
#include "store/table.h"

namespace dodu::handover {

// Every active record; with a non-empty `cpf`, only those whose CPF field
// holds it (a table without a CPF field keeps all). kCorrupt/kIoError as the
// table's reads.
Result<std::vector<Row>> RowsOfTable(store::Table& table, std::string_view cpf = {});

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_TABLE_ROWS_H_
