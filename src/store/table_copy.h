// Moving records between tables: a set of records copied to a new table of the
// same layout, and records appended from another table field by field name.
#ifndef DODU_STORE_TABLE_COPY_H_
#define DODU_STORE_TABLE_COPY_H_

#include <cstdint>
#include <functional>
#include <string>

#include "platform/env.h"
#include "platform/status.h"
#include "store/table.h"

namespace dodu::store {

// Which source records take part. Deleted records are offered too; the
// selection decides (most callers skip them).
using RecordFilter = std::function<Result<bool>(RecNo, const Record&)>;

// Writes the selected records of `source` (deletion flag kept) to a new table
// `dest_path` with the same layout, memo texts copied into its own .DBT. The new
// table is built under a temporary name and renamed in, so `dest_path` holds the
// old file or the complete new one. kLocked when `dest_path` is open elsewhere.
// Answers the number of records written.
Result<uint32_t> CopyToNewTable(platform::Env& env, Table& source, const std::string& dest_path,
                                const RecordFilter& select);

// Appends the selected records of `source` to `dest`: each field of `dest` takes
// the value of the `source` field of the same name (any case) when both have the
// same type, and stays blank otherwise. Text is cut or padded to its new length,
// numbers re-written for their new width (a number that does not fit stops the
// append with kInvalid naming the record; the records before it stay appended),
// memos copied. The deletion flag is kept. Each appended record is unlocked
// again. Answers the number of records appended.
Result<uint32_t> AppendFromTable(Table& dest, Table& source, const RecordFilter& select);

}  // namespace dodu::store

#endif  // DODU_STORE_TABLE_COPY_H_
