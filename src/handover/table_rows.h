// Rows of a schedule table for the snapshot: the records of an open table (a
// work copy of the declaration) in file order, deleted records left out.
#ifndef DODU_HANDOVER_TABLE_ROWS_H_
#define DODU_HANDOVER_TABLE_ROWS_H_

#include <string_view>
#include <vector>

#include "handover/snapshot.h"
#include "platform/status.h"
#include "store/table.h"
#include "store/workarea.h"

namespace dodu::handover {

// Every active record; with a non-empty `cpf`, only those whose CPF field
// holds it (a table without a CPF field keeps all). kCorrupt/kIoError as the
// table's reads.
Result<std::vector<Row>> RowsOfTable(store::Table& table, std::string_view cpf = {});

// Fills `snapshot.rows` for every schedule from the open work copies of the
// declaration (area = table number + 20), each read in its active order (the
// work copy's key: the table order the document follows), deleted records
// hidden. An area that is not open leaves its schedule empty. The current
// record of each area is put back.
Status FillFromWorkAreas(store::WorkAreas& areas, Snapshot& snapshot);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_TABLE_ROWS_H_
