// The companion lock file of a table, and the locks stations take in it.
//
// POSIX has no share modes, so every table "X.DBF" has beside it a lock file
// "X.DBF.LCK" (the table's whole file name + ".LCK": no file of the system ends
// so, and no xBase tool opens it). It is created on first use and never
// replaced or removed, so a table rebuilt by a rename keeps its locks. All locks
// are open-file-description locks taken without waiting: they conflict between
// two opens of one process as between two stations, and die with the open (or
// the process). The file holds no data a station depends on; its first eight
// bytes carry the table's change word (see below).
//
// Byte ranges locked:
//   16        open mode: shared open = read lock, exclusive open = write lock
//   17        probe byte of the "do locks work here" check
//   32        header (append) lock
//   64 + n    record n; the file lock is the write lock on [32, end), so it
//             covers the header lock and every record
//
// Change word: a rewrite that replaces the table (pack, zap...) writes the new
// generation here before it renames the new file in, while holding the file
// lock or the exclusive open. A station that sees the word change after one of
// its locks reopens the table by name.
#ifndef DODU_STORE_LOCK_FILE_H_
#define DODU_STORE_LOCK_FILE_H_

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "platform/env.h"
#include "platform/status.h"
#include "store/dbf_record.h"

namespace dodu::store {

enum class Sharing { kShared, kExclusive };

// How a table is held by others right now (see ProbeTableUse).
enum class TableUse { kFree, kShared, kExclusive };

// "X.DBF" -> "X.DBF.LCK".
std::string LockFilePath(const std::string& table_path);

class LockFile {
 public:
  inline static constexpr uint64_t kChangeWord = 0;     // 8 bytes
  inline static constexpr uint64_t kOpenModeByte = 16;
  inline static constexpr uint64_t kProbeByte = 17;
  inline static constexpr uint64_t kHeaderByte = 32;
  inline static constexpr uint64_t kRecordBase = 64;

  // Opens (creating when missing) the lock file of `table_path` and checks that
  // locks conflict on its filesystem: kIoError naming the folder when they do
  // not (some network mounts accept locks that do nothing).
  static Result<std::unique_ptr<LockFile>> Open(platform::Env& env, const std::string& table_path);

  // Shared or exclusive open mode; kLocked at once on a conflict.
  Status LockOpenMode(Sharing sharing);

  // Record n. kLocked at once when another open holds it or the file lock.
  // Held inside an own file lock, it is already covered and nothing changes.
  Status LockRecord(RecNo n);
  void UnlockRecord(RecNo n);
  bool HoldsRecord(RecNo n) const { return file_locked_ || records_.count(n.value) > 0; }
  const std::set<uint32_t>& held_records() const { return records_; }

  // The whole table: header and every record. kLocked at once on a conflict.
  Status LockFileRange();
  void UnlockFileRange();
  bool file_locked() const { return file_locked_; }

  // The header lock around an append. Inside an own file lock it is covered.
  Status LockHeader();
  void UnlockHeader();

  // Releases record locks, the file lock and the header lock (not the open mode).
  void UnlockAll();

  Result<uint64_t> ReadChangeWord();
  Status WriteChangeWord(uint64_t word);

  const std::string& path() const { return file_->path(); }

 private:
  friend Result<TableUse> ProbeTableUse(platform::Env& env, const std::string& table_path);
  explicit LockFile(std::unique_ptr<platform::File> f) : file_(std::move(f)) {}

  std::unique_ptr<platform::File> file_;
  std::set<uint32_t> records_;
  bool file_locked_ = false;
  bool header_locked_ = false;
};

// Whether locks conflict on the filesystem of `folder`: two opens of a probe
// lock file there, one holds a write lock, the other must be refused.
// kIoError naming the folder when they do not conflict or the probe file cannot
// be made. The probe file is "DODULOCK.LCK".
Status CheckFolderLocks(platform::Env& env, const std::string& folder);

// How a table is held by others right now, tested by trying locks on its lock
// file (this process's own opens count as others). For "is terminal NN running":
// its folder list is then held exclusively. Missing table: kNotFound.
Result<TableUse> ProbeTableUse(platform::Env& env, const std::string& table_path);

}  // namespace dodu::store

#endif  // DODU_STORE_LOCK_FILE_H_
