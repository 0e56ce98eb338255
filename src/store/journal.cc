#include "store/journal.h"

#include <algorithm>

#include "platform/paths.h"
#include "store/dbf_file.h"
#include "store/dbf_format.h"
#include "store/internal/dbf_bytes.h"
#include "store/lock_file.h"
#include "store/table.h"
#include "store/workarea_index.h"

namespace dodu::store {
namespace {

constexpr char kMagic[] = "DODUJNL1";
constexpr size_t kMagicLength = 8;
constexpr uint32_t kVersion = 1;
constexpr char kEndMark[] = "END!";
constexpr uint32_t kRollbackGenerationStep = 0x10000;
// Fixed part: magic, version, generation, change word, count, record length,
// file size, range count, index count.
constexpr size_t kFixedLength = 8 + 4 + 4 + 8 + 4 + 4 + 8 + 4 + 4;

void PutLe64(std::string& b, uint64_t v) {
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutLe32(std::string& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutLe16(std::string& b, uint16_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>(v >> 8));
}

// FNV-1a over the journal's bytes: it only has to tell a journal cut short
// from a complete one.
uint32_t Checksum(std::string_view bytes) {
  uint32_t h = 2166136261u;
  for (char c : bytes) {
    h ^= static_cast<uint8_t>(c);
    h *= 16777619u;
  }
  return h;
}

// Sequential reader over the journal's bytes; every read is bounds checked.
class Reader {
 public:
  explicit Reader(std::string_view b) : b_(b) {}
  bool Le64(uint64_t& v) {
    auto lo = internal::GetLe32(b_, pos_), hi = internal::GetLe32(b_, pos_ + 4);
    if (!lo || !hi) return false;
    v = *lo | (uint64_t{*hi} << 32);
    pos_ += 8;
    return true;
  }
  bool Le32(uint32_t& v) {
    auto x = internal::GetLe32(b_, pos_);
    if (!x) return false;
    v = *x;
    pos_ += 4;
    return true;
  }
  bool Le16(uint16_t& v) {
    auto x = internal::GetLe16(b_, pos_);
    if (!x) return false;
    v = *x;
    pos_ += 2;
    return true;
  }
  bool Bytes(size_t n, std::string& out) {
    if (pos_ > b_.size() || b_.size() - pos_ < n) return false;
    out.assign(b_.substr(pos_, n));
    pos_ += n;
    return true;
  }
  size_t pos() const { return pos_; }

 private:
  std::string_view b_;
  size_t pos_ = 0;
};

std::string Encode(const Journal& j) {
  std::string b(kMagic, kMagicLength);
  PutLe32(b, kVersion);
  PutLe32(b, j.generation);
  PutLe64(b, j.change_word);
  PutLe32(b, j.record_count);
  PutLe32(b, j.record_length);
  PutLe64(b, j.file_size);
  PutLe32(b, static_cast<uint32_t>(j.ranges.size()));
  PutLe32(b, static_cast<uint32_t>(j.indexes.size()));
  for (const JournalRange& r : j.ranges) {
    PutLe64(b, r.offset);
    PutLe32(b, static_cast<uint32_t>(r.old_bytes.size()));
    b += r.old_bytes;
  }
  for (const JournalIndex& ix : j.indexes) {
    PutLe16(b, static_cast<uint16_t>(ix.file.size()));
    b += ix.file;
    PutLe16(b, static_cast<uint16_t>(ix.expression.size()));
    b += ix.expression;
  }
  PutLe32(b, Checksum(b));
  b.append(kEndMark, 4);
  return b;
}

// nullopt for anything but a complete journal.
std::optional<Journal> Decode(std::string_view b) {
  if (b.size() < kFixedLength + 8 || b.substr(0, kMagicLength) != std::string_view(kMagic, kMagicLength))
    return std::nullopt;
  if (b.substr(b.size() - 4) != std::string_view(kEndMark, 4)) return std::nullopt;
  std::string_view body = b.substr(0, b.size() - 8);
  auto sum = internal::GetLe32(b, b.size() - 8);
  if (!sum || *sum != Checksum(body)) return std::nullopt;
  Reader r(body);
  std::string magic;
  uint32_t version = 0, ranges = 0, indexes = 0;
  Journal j;
  if (!r.Bytes(kMagicLength, magic) || !r.Le32(version) || version != kVersion ||
      !r.Le32(j.generation) || !r.Le64(j.change_word) || !r.Le32(j.record_count) ||
      !r.Le32(j.record_length) || !r.Le64(j.file_size) || !r.Le32(ranges) || !r.Le32(indexes))
    return std::nullopt;
  for (uint32_t i = 0; i < ranges; ++i) {
    JournalRange range;
    uint32_t len = 0;
    if (!r.Le64(range.offset) || !r.Le32(len) || !r.Bytes(len, range.old_bytes)) return std::nullopt;
    j.ranges.push_back(std::move(range));
  }
  for (uint32_t i = 0; i < indexes; ++i) {
    JournalIndex ix;
    uint16_t len = 0;
    if (!r.Le16(len) || !r.Bytes(len, ix.file) || !r.Le16(len) || !r.Bytes(len, ix.expression))
      return std::nullopt;
    j.indexes.push_back(std::move(ix));
  }
  if (r.pos() != body.size()) return std::nullopt;
  return j;
}

Result<uint32_t> ReadGeneration(platform::File& f, const std::string& path) {
  std::string head(dbf::kOffGeneration + 4, '\0');
  DODU_ASSIGN_OR_RETURN(size_t got, f.ReadAt(0, internal::AsBytes(head)));
  if (got < head.size()) return Status::Corrupt(path + ": header cut short");
  return *internal::GetLe32(head, dbf::kOffGeneration);
}

}  // namespace

std::string JournalPathFor(const std::string& table_path) { return table_path + ".JNL"; }

uint32_t Journal::RollbackGeneration() const {
  // Far from the next generation a rewrite would choose (one more than the
  // greater of the two), so that a table rewritten after the crash is told
  // from one whose rollback was cut short.
  uint32_t g = std::max<uint32_t>(generation, static_cast<uint32_t>(change_word & 0xFFFFFFFFu)) +
               kRollbackGenerationStep;
  return g == 0 ? 1 : g;
}

Status WriteJournal(platform::Env& env, const std::string& table_path, const Journal& journal) {
  const std::string path = JournalPathFor(table_path);
  const std::string bytes = Encode(journal);
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> f,
                        env.Open(path, platform::OpenMode::kTruncate));
  DODU_RETURN_IF_ERROR(f->WriteAt(0, internal::AsBytes(std::string_view(bytes))));
  return f->Sync();
}

Result<std::optional<Journal>> ReadJournal(platform::Env& env, const std::string& table_path) {
  const std::string path = JournalPathFor(table_path);
  if (!env.Exists(path)) return std::optional<Journal>();
  DODU_ASSIGN_OR_RETURN(std::string bytes, platform::ReadWholeFile(env, path));
  return Decode(bytes);
}

Status RemoveJournal(platform::Env& env, const std::string& table_path) {
  return env.Remove(JournalPathFor(table_path));
}

Result<bool> RollBackInterruptedReplacement(platform::Env& env, const std::string& table_path) {
  const std::string jpath = JournalPathFor(table_path);
  if (!env.Exists(jpath)) return false;
  DODU_ASSIGN_OR_RETURN(std::optional<Journal> journal, ReadJournal(env, table_path));
  if (!journal) {
    // Cut short while it was being written: the table was not touched yet.
    DODU_RETURN_IF_ERROR(env.Remove(jpath));
    return false;
  }
  const uint32_t rollback_generation = journal->RollbackGeneration();
  {
    DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> f,
                          env.Open(table_path, platform::OpenMode::kReadWrite));
    DODU_ASSIGN_OR_RETURN(uint32_t now, ReadGeneration(*f, table_path));
    // The replacement never changes the generation, and a rollback cut short
    // leaves its own; any other means the table was rewritten since, and the
    // old bytes no longer belong at their offsets.
    if (now != journal->generation && now != rollback_generation) {
      (void)env.Rename(jpath, jpath + ".BAD");
      return Status::Corrupt(table_path + ": its replacement journal belongs to an older file (kept as " +
                             jpath + ".BAD)");
    }
    for (const JournalRange& r : journal->ranges) {
      DODU_RETURN_IF_ERROR(f->WriteAt(r.offset, internal::AsBytes(std::string_view(r.old_bytes))));
    }
    DODU_RETURN_IF_ERROR(f->Truncate(journal->file_size));
    DODU_RETURN_IF_ERROR(f->Sync());
  }
  {
    DODU_ASSIGN_OR_RETURN(std::unique_ptr<DbfFile> dbf, DbfFile::Open(env, table_path, true));
    DODU_RETURN_IF_ERROR(dbf->SetGeneration(rollback_generation));
    DODU_RETURN_IF_ERROR(dbf->Sync());
    const TableStamp stamp{rollback_generation, dbf->record_count()};
    const std::string folder = platform::ParentPath(table_path);
    for (const JournalIndex& ix : journal->indexes) {
      const std::string path = platform::JoinPath(folder, ix.file);
      if (!env.Exists(path)) continue;  // the opener builds a missing one
      const std::string temp = Table::TempPathFor(path);
      {
        DODU_ASSIGN_OR_RETURN(CdxIndex built, BuildIndexFile(env, *dbf, temp, ix.expression, stamp));
      }
      DODU_RETURN_IF_ERROR(env.Rename(temp, path));
    }
  }
  {
    DODU_ASSIGN_OR_RETURN(std::unique_ptr<LockFile> lock, LockFile::Open(env, table_path));
    DODU_RETURN_IF_ERROR(lock->WriteChangeWord(rollback_generation));
  }
  DODU_RETURN_IF_ERROR(env.Remove(jpath));
  return true;
}

}  // namespace dodu::store
