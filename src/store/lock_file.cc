#include "store/lock_file.h"

#include "store/internal/dbf_bytes.h"

namespace dodu::store {

using platform::LockType;

namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// One file, two descriptions: the second must be refused while the first holds
// the probe byte. If the first is refused, another open already holds it, which
// proves the same.
Status ProbeConflict(platform::Env& env, const std::string& lock_path, const std::string& folder) {
  auto a = env.Open(lock_path, platform::OpenMode::kCreate);
  if (!a.ok()) return Status::IoError("folder " + folder + ": cannot create lock file: " +
                                      a.status().message());
  auto b = env.Open(lock_path, platform::OpenMode::kReadWrite);
  if (!b.ok()) return Status::IoError("folder " + folder + ": " + b.status().message());
  Status first = (*a)->TryLock(LockFile::kProbeByte, 1, LockType::kExclusive);
  if (first.IsLocked()) return Status::Ok();
  if (!first.ok()) return Status::IoError("folder " + folder + ": locks refused: " + first.message());
  Status second = (*b)->TryLock(LockFile::kProbeByte, 1, LockType::kExclusive);
  (void)(*a)->Unlock(LockFile::kProbeByte, 1);
  if (second.IsLocked()) return Status::Ok();
  if (second.ok()) (void)(*b)->Unlock(LockFile::kProbeByte, 1);
  return Status::IoError("folder " + folder +
                         ": locks do not work on this filesystem; tables there cannot be shared "
                         "between stations");
}

}  // namespace

std::string LockFilePath(const std::string& table_path) { return table_path + ".LCK"; }

Result<std::unique_ptr<LockFile>> LockFile::Open(platform::Env& env, const std::string& table_path) {
  std::string lock_path = LockFilePath(table_path);
  DODU_RETURN_IF_ERROR(ProbeConflict(env, lock_path, FolderOf(table_path)));
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> f,
                        env.Open(lock_path, platform::OpenMode::kReadWrite));
  return std::unique_ptr<LockFile>(new LockFile(std::move(f)));
}

Status LockFile::LockOpenMode(Sharing sharing) {
  return file_->TryLock(kOpenModeByte, 1,
                        sharing == Sharing::kShared ? LockType::kShared : LockType::kExclusive);
}

Status LockFile::LockRecord(RecNo n) {
  if (file_locked_ || records_.count(n.value)) return Status::Ok();
  DODU_RETURN_IF_ERROR(file_->TryLock(kRecordBase + n.value, 1, LockType::kExclusive));
  records_.insert(n.value);
  return Status::Ok();
}

void LockFile::UnlockRecord(RecNo n) {
  if (records_.erase(n.value) == 0 || file_locked_) return;
  (void)file_->Unlock(kRecordBase + n.value, 1);
}

Status LockFile::LockFileRange() {
  if (file_locked_) return Status::Ok();
  DODU_RETURN_IF_ERROR(file_->TryLock(kHeaderByte, 0, LockType::kExclusive));
  file_locked_ = true;
  return Status::Ok();
}

void LockFile::UnlockFileRange() {
  if (!file_locked_) return;
  // Unlocking the range drops the record and header locks inside it as well.
  (void)file_->Unlock(kHeaderByte, 0);
  file_locked_ = false;
  header_locked_ = false;
  records_.clear();
}

Status LockFile::LockHeader() {
  if (file_locked_) return Status::Ok();
  DODU_RETURN_IF_ERROR(file_->TryLock(kHeaderByte, 1, LockType::kExclusive));
  header_locked_ = true;
  return Status::Ok();
}

void LockFile::UnlockHeader() {
  if (!header_locked_ || file_locked_) return;
  (void)file_->Unlock(kHeaderByte, 1);
  header_locked_ = false;
}

void LockFile::UnlockAll() {
  if (file_locked_) {
    UnlockFileRange();
    return;
  }
  for (uint32_t r : records_) (void)file_->Unlock(kRecordBase + r, 1);
  records_.clear();
  UnlockHeader();
}

Result<uint64_t> LockFile::ReadChangeWord() {
  std::string buf(8, '\0');
  DODU_ASSIGN_OR_RETURN(size_t got, file_->ReadAt(kChangeWord, internal::AsBytes(buf)));
  if (got < 8) return uint64_t{0};
  uint64_t lo = *internal::GetLe32(buf, 0), hi = *internal::GetLe32(buf, 4);
  return lo | (hi << 32);
}

Status LockFile::WriteChangeWord(uint64_t word) {
  std::string buf(8, '\0');
  internal::PutLe32(buf, 0, static_cast<uint32_t>(word));
  internal::PutLe32(buf, 4, static_cast<uint32_t>(word >> 32));
  return file_->WriteAt(kChangeWord, internal::AsBytes(std::string_view(buf)));
}

Status CheckFolderLocks(platform::Env& env, const std::string& folder) {
  std::string probe = folder;
  if (!probe.empty() && probe.back() != '/') probe += '/';
  return ProbeConflict(env, probe + "DODULOCK.LCK", folder);
}

Result<TableUse> ProbeTableUse(platform::Env& env, const std::string& table_path) {
  if (!env.Exists(table_path)) return Status::NotFound(table_path + ": no such table");
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<LockFile> lf, LockFile::Open(env, table_path));
  Status w = lf->file_->TryLock(LockFile::kOpenModeByte, 1, LockType::kExclusive);
  if (w.ok()) return TableUse::kFree;
  if (!w.IsLocked()) return w;
  Status r = lf->file_->TryLock(LockFile::kOpenModeByte, 1, LockType::kShared);
  if (r.ok()) return TableUse::kShared;
  if (!r.IsLocked()) return r;
  return TableUse::kExclusive;
}

}  // namespace dodu::store
