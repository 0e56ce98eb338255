// Table: one open DBF table shared with other stations, with its memo file,
// its locks and the indexes attached to it.
//
// Sharing. Open() takes the open-mode lock of the table's lock file (see
// lock_file.h): shared opens coexist, an exclusive open excludes every other
// open; a conflict fails at once with kLocked. Two Table objects of one process
// conflict exactly like two stations. Locks die with the Table or the process.
//
// Reading needs no lock. Writing a record needs its record lock, the file lock
// or an exclusive open (kInvalid otherwise: a caller's mistake). Appending takes
// the header lock for the moment the count is re-read, the record written and
// the header updated, and leaves the new record locked.
//
// Nothing is cached across a lock: after every lock taken, on append, and when a
// read goes past the last known record, the count is re-read from the header,
// and a table replaced by another station's rewrite is reopened (lock_file.h,
// change word).
//
// Crash recovery. An exclusive open (and every append, under the header lock)
// repairs a file whose size disagrees with its header count (dbf_file.h says
// which count wins); a shared open without the header lock only clamps.
#ifndef DODU_STORE_TABLE_H_
#define DODU_STORE_TABLE_H_

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"
#include "store/dbf_file.h"
#include "store/dbf_record.h"
#include "store/dbt_file.h"
#include "store/field.h"
#include "store/lock_file.h"
#include "store/table_hook.h"

namespace dodu::store {

struct TableOptions {
  bool read_only = false;  // no writes at all (reference tables)
};

class Table {
 public:
  // Opens an existing table. kNotFound when the file is missing, kLocked when
  // another open holds it in a conflicting mode, kCorrupt when it is not a valid
  // table, kIoError when the system refuses or locks do not work in its folder.
  // A table with memo fields also opens its .DBT (kNotFound when missing).
  static Result<std::unique_ptr<Table>> Open(platform::Env& env, const std::string& path,
                                             Sharing sharing, TableOptions options = {});

  // Creates the table (and its .DBT when the layout has a memo field) and opens
  // it. kInvalid when the layout cannot be stored or the file already exists;
  // kLocked when another station is creating or holding it right now.
  static Result<std::unique_ptr<Table>> Create(platform::Env& env, const std::string& path,
                                               const Layout& layout, Sharing sharing);

  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  const std::string& path() const { return path_; }
  Sharing sharing() const { return sharing_; }
  bool read_only() const { return options_.read_only; }
  const RecordLayout& layout() const { return dbf_->layout(); }
  const std::shared_ptr<const RecordLayout>& shared_layout() const { return dbf_->shared_layout(); }
  DbfFile& file() { return *dbf_; }

  // The record count as last read.
  uint32_t record_count() const { return dbf_->record_count(); }
  // Re-reads it from the file (reopening a table replaced meanwhile).
  Result<uint32_t> RefreshCount();
  // Generation and record count, re-read, for the opener's index check.
  Result<TableStamp> Stamp();

  Record BlankRecord() const { return Record::Blank(shared_layout()); }
  // Record n. kNotFound past the end (after re-reading the count).
  Result<Record> Read(RecNo n);
  // Overwrites record n and tells the indexes. See the locking rule above.
  Status Write(RecNo n, const Record& record);
  // Marks record n deleted or active again; same rules as Write.
  Status SetDeleted(RecNo n, bool deleted);
  // Appends `record` (or a blank one) and leaves it locked. kLocked when the
  // header stays locked by another station for more than a moment.
  Result<RecNo> Append(const Record& record);
  Result<RecNo> AppendBlank() { return Append(BlankRecord()); }

  // Locks, all without waiting (kLocked at once); the waits with their messages
  // are the opener's. An exclusive open needs none and every lock call succeeds.
  Status LockRecord(RecNo n);
  void UnlockRecord(RecNo n);
  Status LockTable();
  void UnlockTable();
  void UnlockAll();
  bool HoldsRecordLock(RecNo n) const;
  bool HoldsTableLock() const;

  // Memo text of a memo field ("" for none). kInvalid when the field is not a memo.
  Result<std::string> ReadMemo(const Record& record, std::string_view field);
  // Writes `text` as a new memo and points the field of `record` at it; the
  // caller then writes the record. Needs a writable table.
  Status PutMemo(Record& record, std::string_view field, std::string_view text);

  // Index maintenance. The hook must stay alive while attached.
  void AttachIndex(IndexHook& hook) { hooks_.push_back(&hook); }
  void DetachIndex(IndexHook& hook);

  // Whole-table rewrites (rewrite.cc). They need an exclusive open or the file
  // lock (kInvalid otherwise). The new table and every index's new file are
  // built under temporary names beside the old ones, stamped with one new
  // generation and synced, then renamed over the old ones (the table first):
  // a process killed at any moment leaves the old table or the new one, and an
  // index left behind disagrees with its table by its stamp. On failure before
  // the table's rename nothing changed. Memo blocks are kept as they are.
  //
  // Keeps the records for which `keep` answers true (an error stops the rewrite).
  using KeepFn = std::function<Result<bool>(RecNo, const Record&)>;
  Status Rewrite(const KeepFn& keep);
  // Drops the records marked deleted, for good.
  Status Pack();
  // Drops every record.
  Status Zap();

  // The temporary name a rewrite builds a file under: final path + ".NEW".
  static std::string TempPathFor(const std::string& final_path) { return final_path + ".NEW"; }

 private:
  Table(platform::Env& env, std::string path, Sharing sharing, TableOptions options)
      : env_(env), path_(std::move(path)), sharing_(sharing), options_(options) {}

  Status CanWrite(RecNo n) const;
  // After a lock: reopen a replaced table, re-read the count.
  Status AfterLock();
  Status ReopenIfReplaced();
  Status OpenFiles();
  Status WriteLocked(RecNo n, const std::string& bytes);

  platform::Env& env_;
  std::string path_;
  Sharing sharing_;
  TableOptions options_;
  std::unique_ptr<LockFile> lock_;
  std::unique_ptr<DbfFile> dbf_;
  std::unique_ptr<DbtFile> dbt_;
  uint64_t change_word_ = 0;
  std::vector<IndexHook*> hooks_;
};

}  // namespace dodu::store

#endif  // DODU_STORE_TABLE_H_
