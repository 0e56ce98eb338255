// Whole-table rewrites of Table: build beside, stamp, sync, rename.
#include <algorithm>

#include "store/table.h"

namespace dodu::store {
namespace {

// Records are copied to the new file in chunks of about this many bytes.
constexpr size_t kChunkBytes = 1 << 20;

}  // namespace

Status Table::Rewrite(const KeepFn& keep) {
  if (options_.read_only) return Status::Invalid(path_ + ": opened read only");
  if (!HoldsTableLock()) return Status::Invalid(path_ + ": rewritten without the file lock");
  DODU_RETURN_IF_ERROR(AfterLock());
  if (dbf_->NeedsRepair()) DODU_RETURN_IF_ERROR(dbf_->Repair());

  DODU_ASSIGN_OR_RETURN(uint64_t word, lock_->ReadChangeWord());
  uint32_t generation =
      static_cast<uint32_t>(std::max<uint64_t>(dbf_->generation(), word & 0xFFFFFFFFu) + 1);
  if (generation == 0) generation = 1;

  std::string temp = TempPathFor(path_);
  std::vector<ReplacementFile> built;
  auto cleanup = [&](Status s) {
    (void)env_.Remove(temp);
    for (const ReplacementFile& f : built) (void)env_.Remove(f.temp_path);
    return s;
  };

  DbfHeader h = dbf_->header();
  h.generation = generation;
  platform::CivilTime today = env_.clock().Now();
  h.update_year = today.year;
  h.update_month = today.month;
  h.update_day = today.day;
  auto created = DbfFile::Create(env_, temp, h);
  if (!created.ok()) return cleanup(created.status());
  std::unique_ptr<DbfFile> fresh = std::move(created).value();

  std::string chunk;
  uint32_t count = dbf_->record_count();
  for (uint32_t i = 1; i <= count; ++i) {
    auto bytes = dbf_->ReadRecord(RecNo{i});
    if (!bytes.ok()) return cleanup(bytes.status());
    Record rec(dbf_->shared_layout(), std::move(bytes).value());
    auto k = keep(RecNo{i}, rec);
    if (!k.ok()) return cleanup(k.status());
    if (!*k) continue;
    chunk += rec.bytes();
    if (chunk.size() >= kChunkBytes) {
      Status st = fresh->AppendBulk(chunk, today);
      if (!st.ok()) return cleanup(st);
      chunk.clear();
    }
  }
  if (Status st = fresh->AppendBulk(chunk, today); !st.ok()) return cleanup(st);
  if (Status st = fresh->Sync(); !st.ok()) return cleanup(st);

  TableStamp stamp{generation, fresh->record_count()};
  for (IndexHook* hook : hooks_) {
    auto f = hook->BuildForRewrite(*fresh, stamp);
    if (!f.ok()) return cleanup(f.status());
    built.push_back(std::move(f).value());
  }
  fresh.reset();

  // Other opens reopen the table once they see the word change after a lock;
  // it is written before the rename so that a crash right after the rename
  // cannot hide the replacement.
  if (Status st = lock_->WriteChangeWord(generation); !st.ok()) return cleanup(st);
  // The commit point: from here on the table is the new one.
  if (Status st = env_.Rename(temp, path_); !st.ok()) return cleanup(st);

  // Past the commit point a failure no longer undoes anything: it is reported
  // as such, and an index left behind disagrees with the table by its stamp.
  auto after_commit = [&](const Status& st, const std::string& what) {
    return Status(st.code(), path_ + ": rewritten, but " + what + ": " + st.message());
  };
  Status result = Status::Ok();
  for (const ReplacementFile& f : built) {
    Status st = env_.Rename(f.temp_path, f.final_path);
    if (!st.ok() && result.ok())
      result = after_commit(st, f.final_path + " was not replaced (stale: rebuild it)");
  }
  if (Status st = OpenFiles(); !st.ok()) return result.ok() ? after_commit(st, "reopening failed") : result;
  change_word_ = generation;
  for (IndexHook* hook : hooks_) {
    Status st = hook->OnReplaced(*dbf_);
    if (!st.ok() && result.ok()) result = after_commit(st, "an index could not be reopened");
  }
  return result;
}

Status Table::Pack() {
  return Rewrite([](RecNo, const Record& r) -> Result<bool> { return !r.deleted(); });
}

Status Table::Zap() {
  return Rewrite([](RecNo, const Record&) -> Result<bool> { return false; });
}

}  // namespace dodu::store
