#include "store/table.h"

#include <algorithm>

#include "store/journal.h"

namespace dodu::store {
namespace {

// An append holds the header lock for a few writes only; a station that finds
// it taken waits this long, in short sleeps, before reporting kLocked.
constexpr int kHeaderLockTries = 50;
constexpr std::chrono::milliseconds kHeaderLockPause{4};

// Rolls back an interrupted replacement of `path`, held exclusively. A journal
// that belongs to an older file was set aside (.BAD) and the table is used as
// it is; other failures stop the open, so nobody reads half a replacement.
Status RollBackUnlessStale(platform::Env& env, const std::string& path) {
  Result<bool> back = RollBackInterruptedReplacement(env, path);
  if (!back.ok() && !back.status().IsCorrupt()) return back.status();
  return Status::Ok();
}

std::string RecText(RecNo n) { return "record " + std::to_string(n.value); }

}  // namespace

Result<std::unique_ptr<Table>> Table::Open(platform::Env& env, const std::string& path,
                                           Sharing sharing, TableOptions options) {
  if (!env.Exists(path)) return Status::NotFound(path + ": no such table");
  std::unique_ptr<Table> t(new Table(env, path, sharing, options));
  const bool journal = !options.read_only && env.Exists(JournalPathFor(path));
  if (journal && sharing == Sharing::kShared) {
    // A replacement killed half-way left its journal: undo it before reading,
    // when nobody holds the table (else whoever holds it exclusively does).
    DODU_ASSIGN_OR_RETURN(std::unique_ptr<LockFile> probe, LockFile::Open(env, path));
    if (probe->LockOpenMode(Sharing::kExclusive).ok()) {
      DODU_RETURN_IF_ERROR(RollBackUnlessStale(env, path));
    }
  }
  DODU_ASSIGN_OR_RETURN(t->lock_, LockFile::Open(env, path));
  Status mode = t->lock_->LockOpenMode(sharing);
  if (mode.IsLocked())
    return Status::Locked(path + (sharing == Sharing::kExclusive ? ": in use by another station"
                                                                 : ": held exclusively by another station"));
  DODU_RETURN_IF_ERROR(mode);
  if (journal && sharing == Sharing::kExclusive) DODU_RETURN_IF_ERROR(RollBackUnlessStale(env, path));
  DODU_ASSIGN_OR_RETURN(t->change_word_, t->lock_->ReadChangeWord());
  DODU_RETURN_IF_ERROR(t->OpenFiles());
  if (sharing == Sharing::kExclusive && !options.read_only && t->dbf_->NeedsRepair()) {
    DODU_RETURN_IF_ERROR(t->dbf_->Repair());
    // A rewrite that died leaves its temporary table; nobody else can be
    // building one while we hold the table exclusively.
    std::string temp = TempPathFor(path);
    if (env.Exists(temp)) (void)env.Remove(temp);
  }
  return t;
}

Status Table::OpenFiles() {
  bool writable = !options_.read_only;
  DODU_ASSIGN_OR_RETURN(dbf_, DbfFile::Open(env_, path_, writable));
  dbt_.reset();
  if (dbf_->header().has_memo()) {
    DODU_ASSIGN_OR_RETURN(dbt_, DbtFile::Open(env_, MemoPathFor(path_), writable));
  }
  return Status::Ok();
}

Result<std::unique_ptr<Table>> Table::Create(platform::Env& env, const std::string& path,
                                             const Layout& layout, Sharing sharing) {
  DODU_RETURN_IF_ERROR(ValidateLayout(layout));
  if (env.Exists(path)) return Status::Invalid(path + ": table exists already");
  {
    // The exclusive open mode keeps a second station from creating the same
    // table at the same moment.
    DODU_ASSIGN_OR_RETURN(std::unique_ptr<LockFile> lock, LockFile::Open(env, path));
    Status mode = lock->LockOpenMode(Sharing::kExclusive);
    if (mode.IsLocked()) return Status::Locked(path + ": being created by another station");
    DODU_RETURN_IF_ERROR(mode);
    if (env.Exists(path)) return Status::Invalid(path + ": table exists already");
    DbfHeader h;
    h.fields = layout;
    platform::CivilTime today = env.clock().Now();
    h.update_year = today.year;
    h.update_month = today.month;
    h.update_day = today.day;
    if (h.has_memo()) {
      DODU_ASSIGN_OR_RETURN(std::unique_ptr<DbtFile> dbt, DbtFile::Create(env, MemoPathFor(path)));
      DODU_RETURN_IF_ERROR(dbt->Sync());
    }
    // Built under a temporary name and renamed in, so that a station killed
    // meanwhile leaves no table at all rather than a file too short to be one
    // (which every later open would call corrupt).
    const std::string temp = TempPathFor(path);
    if (env.Exists(temp)) DODU_RETURN_IF_ERROR(env.Remove(temp));
    {
      DODU_ASSIGN_OR_RETURN(std::unique_ptr<DbfFile> dbf, DbfFile::Create(env, temp, h));
      DODU_RETURN_IF_ERROR(dbf->Sync());
    }
    DODU_RETURN_IF_ERROR(env.Rename(temp, path));
  }
  return Open(env, path, sharing);
}

Table::~Table() {
  if (lock_) lock_->UnlockAll();
}

Status Table::ReopenIfReplaced() {
  DODU_ASSIGN_OR_RETURN(uint64_t word, lock_->ReadChangeWord());
  if (word == change_word_) return Status::Ok();
  DODU_RETURN_IF_ERROR(OpenFiles());
  change_word_ = word;
  for (IndexHook* h : hooks_) DODU_RETURN_IF_ERROR(h->OnReplaced(*dbf_));
  return Status::Ok();
}

Status Table::AfterLock() {
  DODU_RETURN_IF_ERROR(ReopenIfReplaced());
  return dbf_->Refresh();
}

Result<uint32_t> Table::RefreshCount() {
  DODU_RETURN_IF_ERROR(AfterLock());
  return dbf_->record_count();
}

Result<TableStamp> Table::Stamp() {
  DODU_RETURN_IF_ERROR(AfterLock());
  return TableStamp{dbf_->generation(), dbf_->record_count()};
}

Result<Record> Table::Read(RecNo n) {
  if (n.value > dbf_->record_count()) DODU_RETURN_IF_ERROR(AfterLock());
  DODU_ASSIGN_OR_RETURN(std::string bytes, dbf_->ReadRecord(n));
  return Record(dbf_->shared_layout(), std::move(bytes));
}

Status Table::CanWrite(RecNo n) const {
  if (options_.read_only) return Status::Invalid(path_ + ": opened read only");
  if (sharing_ == Sharing::kExclusive || lock_->HoldsRecord(n)) return Status::Ok();
  return Status::Invalid(path_ + ": " + RecText(n) + " written without its lock");
}

Status Table::WriteLocked(RecNo n, const std::string& bytes) {
  DODU_ASSIGN_OR_RETURN(std::string before, dbf_->ReadRecord(n));
  DODU_RETURN_IF_ERROR(dbf_->WriteRecord(n, bytes));
  for (IndexHook* h : hooks_) DODU_RETURN_IF_ERROR(h->OnChange(n, before, bytes));
  return Status::Ok();
}

Status Table::Write(RecNo n, const Record& record) {
  DODU_RETURN_IF_ERROR(CanWrite(n));
  if (record.bytes().size() != layout().record_length() ||
      record.layout().fields() != layout().fields())
    return Status::Invalid(path_ + ": record of another layout");
  return WriteLocked(n, record.bytes());
}

Status Table::SetDeleted(RecNo n, bool deleted) {
  DODU_RETURN_IF_ERROR(CanWrite(n));
  DODU_ASSIGN_OR_RETURN(std::string bytes, dbf_->ReadRecord(n));
  bytes[0] = deleted ? '*' : ' ';
  return WriteLocked(n, bytes);
}

Result<RecNo> Table::Append(const Record& record) {
  if (options_.read_only) return Status::Invalid(path_ + ": opened read only");
  if (record.bytes().size() != layout().record_length() ||
      record.layout().fields() != layout().fields())
    return Status::Invalid(path_ + ": record of another layout");
  Status st = lock_->LockHeader();
  for (int i = 1; st.IsLocked() && i < kHeaderLockTries; ++i) {
    env_.clock().SleepFor(kHeaderLockPause);
    st = lock_->LockHeader();
  }
  if (st.IsLocked()) return Status::Locked(path_ + ": another station is appending");
  DODU_RETURN_IF_ERROR(st);
  struct HeaderGuard {
    LockFile& l;
    ~HeaderGuard() { l.UnlockHeader(); }
  } guard{*lock_};

  DODU_RETURN_IF_ERROR(AfterLock());
  // Under the header lock no append is running anywhere: a size that disagrees
  // with the count is what a crash left.
  if (dbf_->NeedsRepair()) DODU_RETURN_IF_ERROR(dbf_->Repair());
  uint32_t count = dbf_->record_count();
  if (count == UINT32_MAX) return Status::Invalid(path_ + ": table full");
  RecNo n{count + 1};
  bool had_lock = lock_->HoldsRecord(n);
  if (sharing_ != Sharing::kExclusive) {
    Status rl = lock_->LockRecord(n);
    if (rl.IsLocked()) return Status::Locked(path_ + ": " + RecText(n) + " locked by another station");
    DODU_RETURN_IF_ERROR(rl);
  }
  auto fail = [&](Status s) {
    if (!had_lock) lock_->UnlockRecord(n);
    return s;
  };
  Status w = dbf_->WriteNewRecord(record.bytes());
  if (!w.ok()) return fail(w);
  for (IndexHook* h : hooks_) {
    Status hs = h->OnAppend(n, record.bytes());
    if (!hs.ok()) return fail(hs);
  }
  Status c = dbf_->CommitCount(count + 1, env_.clock().Now());
  if (!c.ok()) return fail(c);
  return n;
}

Status Table::LockRecord(RecNo n) {
  if (sharing_ == Sharing::kExclusive) return AfterLock();
  Status st = lock_->LockRecord(n);
  if (st.IsLocked()) return Status::Locked(path_ + ": " + RecText(n) + " locked by another station");
  DODU_RETURN_IF_ERROR(st);
  return AfterLock();
}

void Table::UnlockRecord(RecNo n) { lock_->UnlockRecord(n); }

Status Table::LockTable() {
  if (sharing_ == Sharing::kExclusive) return AfterLock();
  Status st = lock_->LockFileRange();
  if (st.IsLocked()) return Status::Locked(path_ + ": locked by another station");
  DODU_RETURN_IF_ERROR(st);
  return AfterLock();
}

void Table::UnlockTable() { lock_->UnlockFileRange(); }
void Table::UnlockAll() { lock_->UnlockAll(); }

bool Table::HoldsRecordLock(RecNo n) const {
  return sharing_ == Sharing::kExclusive || lock_->HoldsRecord(n);
}
bool Table::HoldsTableLock() const { return sharing_ == Sharing::kExclusive || lock_->file_locked(); }

Result<std::string> Table::ReadMemo(const Record& record, std::string_view field) {
  const FieldSlot* s = record.layout().Find(field);
  if (!s) return Status::NotFound(path_ + ": no field " + std::string(field));
  if (s->spec.type != FieldType::kMemo) return Status::Invalid(path_ + ": " + s->spec.name + " is no memo");
  DODU_ASSIGN_OR_RETURN(std::optional<uint32_t> block,
                        DecodeMemoBlock(std::string_view(record.bytes()).substr(s->offset, s->spec.length),
                                        s->spec));
  if (!block) return std::string();
  if (!dbt_) return Status::Corrupt(path_ + ": memo without a memo file");
  return dbt_->Read(*block);
}

Status Table::PutMemo(Record& record, std::string_view field, std::string_view text) {
  if (options_.read_only) return Status::Invalid(path_ + ": opened read only");
  const FieldSlot* s = record.layout().Find(field);
  if (!s) return Status::NotFound(path_ + ": no field " + std::string(field));
  if (s->spec.type != FieldType::kMemo) return Status::Invalid(path_ + ": " + s->spec.name + " is no memo");
  if (!dbt_) return Status::Corrupt(path_ + ": memo without a memo file");
  if (text.empty()) return record.PutRaw(field, EncodeMemoBlock(std::nullopt));
  // Memo blocks are allocated under the header lock, like records.
  if (sharing_ != Sharing::kExclusive) {
    Status st = lock_->LockHeader();
    for (int i = 1; st.IsLocked() && i < kHeaderLockTries; ++i) {
      env_.clock().SleepFor(kHeaderLockPause);
      st = lock_->LockHeader();
    }
    if (st.IsLocked()) return Status::Locked(path_ + ": another station is appending");
    DODU_RETURN_IF_ERROR(st);
  }
  Result<uint32_t> block = dbt_->Append(text);
  lock_->UnlockHeader();
  if (!block.ok()) return block.status();
  return record.PutRaw(field, EncodeMemoBlock(*block));
}

void Table::DetachIndex(IndexHook& hook) {
  hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), &hook), hooks_.end());
}

}  // namespace dodu::store
