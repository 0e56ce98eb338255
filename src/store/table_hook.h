// The seam between a table and the indexes kept over it. A Table calls every
// attached IndexHook on each write, so an index never misses a change, and lets
// each build its file anew when the whole table is rewritten.
//
// Stamps: a rewrite stamps the new table (reserved bytes of the DBF header) and
// every index built for it with one new generation; an index also records the
// record count it covers. An index whose stamp disagrees with its table's is
// stale (a crash between the renames of a rewrite, an append that died between
// the index update and the table's header) and the opener rebuilds it.
#ifndef DODU_STORE_TABLE_HOOK_H_
#define DODU_STORE_TABLE_HOOK_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "store/dbf_record.h"

namespace dodu::store {

class DbfFile;

struct TableStamp {
  uint32_t generation = 0;
  uint32_t record_count = 0;
  friend bool operator==(const TableStamp&, const TableStamp&) = default;
};

// The opener's check: does an index stamped `index` belong to the table as it
// is (`table`)? Both the generation and the record count must agree.
inline bool IndexAgreesWithTable(const TableStamp& table, const TableStamp& index) {
  return table == index;
}

// A file built under a temporary name, to be renamed over `final_path`.
struct ReplacementFile {
  std::string temp_path;
  std::string final_path;
};

class IndexHook {
 public:
  virtual ~IndexHook() = default;

  // Record `recno` was written past the old end as the table's new last record.
  // Called with the table's header lock held, after the record's bytes are on
  // file and before the header's count includes it. A failure fails the append.
  virtual Status OnAppend(RecNo recno, std::string_view record) = 0;

  // Record `recno` changed from `before` to `after` (whole records, deletion
  // flag first: delete and recall arrive here too). Called after the write,
  // under the record's lock, the file lock or the exclusive open.
  virtual Status OnChange(RecNo recno, std::string_view before, std::string_view after) = 0;

  // A rewrite (pack, zap...): `table` is the complete new table under its
  // temporary name, synced, stamped `stamp`. Build this index's file for it
  // under a temporary name in the same folder, stamped the same, synced, and
  // answer both names. Rename nothing: the table renames all files once every
  // hook has built its file, the table first.
  virtual Result<ReplacementFile> BuildForRewrite(DbfFile& table, const TableStamp& stamp) = 0;

  // The table's file was replaced (by this open's rewrite after the renames, or
  // by another station's, noticed after a lock): reopen the index file by name.
  // `table` is the table as now open.
  virtual Status OnReplaced(DbfFile& table) = 0;
};

}  // namespace dodu::store

#endif  // DODU_STORE_TABLE_HOOK_H_
