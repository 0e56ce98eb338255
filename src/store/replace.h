// In-place replacement of one taxpayer's records in a shared declaration
// table: the save of an open declaration writes its work copy back this way.
//
// Cost. Only the taxpayer's records are touched: they are found through an
// index whose key begins with the CPF, their slots are reused in record order
// (a record already equal is not written at all), only the records beyond
// the old ones are appended and only the old ones left over are marked
// deleted. Every index attached to the table follows each change. Records of
// other taxpayers, deleted ones included, are never read or written: nothing
// is packed.
//
// Crash safety. Before its first write the replacement writes and syncs a
// rollback journal (journal.h) with the old bytes of every slot it will
// overwrite and of the header; when done it syncs the table and its indexes and
// removes the journal. A process killed at any moment thus leaves either the
// old records of the taxpayer (the journal undoes the part written, when the
// table is next opened exclusively or before the next replacement) or the new
// ones; the indexes are rebuilt after a rollback. A failure reported while the
// replacement runs is rolled back at once when the disk allows, so the caller
// sees the old records and may simply save again.
#ifndef DODU_STORE_REPLACE_H_
#define DODU_STORE_REPLACE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"
#include "store/dbf_record.h"
#include "store/table.h"
#include "store/workarea.h"

namespace dodu::store {

struct ReplaceStats {
  uint32_t rewritten = 0;  // old slots overwritten with a new record
  uint32_t unchanged = 0;  // old slots that already held the new record
  uint32_t appended = 0;
  uint32_t deleted = 0;    // old records marked deleted (surplus)
  bool recovered = false;  // an earlier interrupted replacement was rolled back first
  bool operator==(const ReplaceStats&) const = default;
};

// Replaces the records of taxpayer `cpf` in the table open in `area` by
// `records`, in their order (records marked deleted among them are skipped).
// Needs the table opened exclusively (kInvalid otherwise) and an order of the
// area whose key begins with the CPF field (kInvalid otherwise). Each record
// must have the table's layout and carry `cpf` in its CPF field (kInvalid,
// nothing written). Tables with memo fields are refused (kInvalid): their
// records point into a memo file of their own.
//
// First rolls back an interrupted earlier replacement of the table
// (stats.recovered). On kIoError / kCorrupt while writing, the part written is
// rolled back before returning when possible; otherwise the journal stays and
// the next exclusive open or replacement undoes it.
Result<ReplaceStats> ReplaceTaxpayerRecords(platform::Env& env, WorkArea& area,
                                            std::string_view cpf,
                                            const std::vector<Record>& records);

// The same with the live records of `work_copy` (a taxpayer's work copy, same
// layout), read in record order.
Result<ReplaceStats> ReplaceFromWorkCopy(platform::Env& env, WorkArea& area, std::string_view cpf,
                                         Table& work_copy);

// Rolls back an interrupted replacement of the table open in `area` (held
// exclusively) and makes the open table and its orders reread their files.
// Answers whether there was one. See RollBackInterruptedReplacement.
Result<bool> RecoverReplacement(platform::Env& env, WorkArea& area);

}  // namespace dodu::store

#endif  // DODU_STORE_REPLACE_H_
