#include "store/table_copy.h"

#include <vector>

#include "store/dbf_file.h"
#include "store/dbt_file.h"
#include "store/lock_file.h"

namespace dodu::store {
namespace {

// Copies memo fields of `from` (read through `source`) into `to` (written through `write_memo`).
Status CopyMemos(Table& source, const Record& from, Record& to,
                 const std::function<Result<uint32_t>(std::string_view)>& write_memo) {
  for (const FieldSlot& s : to.layout().slots()) {
    if (s.spec.type != FieldType::kMemo) continue;
    const FieldSlot* src = from.layout().Find(s.spec.name);
    if (!src || src->spec.type != FieldType::kMemo) continue;
    DODU_ASSIGN_OR_RETURN(std::string text, source.ReadMemo(from, s.spec.name));
    std::optional<uint32_t> block;
    if (!text.empty()) {
      DODU_ASSIGN_OR_RETURN(uint32_t b, write_memo(text));
      block = b;
    }
    DODU_RETURN_IF_ERROR(to.PutRaw(s.spec.name, EncodeMemoBlock(block)));
  }
  return Status::Ok();
}

}  // namespace

Result<uint32_t> CopyToNewTable(platform::Env& env, Table& source, const std::string& dest_path,
                                const RecordFilter& select) {
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<LockFile> lock, LockFile::Open(env, dest_path));
  Status mode = lock->LockOpenMode(Sharing::kExclusive);
  if (mode.IsLocked()) return Status::Locked(dest_path + ": in use by another station");
  DODU_RETURN_IF_ERROR(mode);

  std::string temp = Table::TempPathFor(dest_path);
  std::string memo_temp = Table::TempPathFor(MemoPathFor(dest_path));
  auto fail = [&](Status s) {
    (void)env.Remove(temp);
    (void)env.Remove(memo_temp);
    return s;
  };
  DbfHeader h = source.file().header();
  h.generation = 0;
  platform::CivilTime today = env.clock().Now();
  h.update_year = today.year;
  h.update_month = today.month;
  h.update_day = today.day;
  auto created = DbfFile::Create(env, temp, h);
  if (!created.ok()) return fail(created.status());
  std::unique_ptr<DbfFile> out = std::move(created).value();
  std::unique_ptr<DbtFile> memo;
  if (h.has_memo()) {
    auto m = DbtFile::Create(env, memo_temp);
    if (!m.ok()) return fail(m.status());
    memo = std::move(m).value();
  }
  auto write_memo = [&](std::string_view text) { return memo->Append(text); };

  DODU_ASSIGN_OR_RETURN(uint32_t count, source.RefreshCount());
  std::string chunk;
  for (uint32_t i = 1; i <= count; ++i) {
    auto rec = source.Read(RecNo{i});
    if (!rec.ok()) return fail(rec.status());
    auto take = select(RecNo{i}, *rec);
    if (!take.ok()) return fail(take.status());
    if (!*take) continue;
    Record copy = *rec;
    if (memo) {
      Status st = CopyMemos(source, *rec, copy, write_memo);
      if (!st.ok()) return fail(st);
    }
    chunk += copy.bytes();
  }
  if (Status st = out->AppendBulk(chunk, today); !st.ok()) return fail(st);
  if (Status st = out->Sync(); !st.ok()) return fail(st);
  if (memo) {
    if (Status st = memo->Sync(); !st.ok()) return fail(st);
  }
  uint32_t written = out->record_count();
  out.reset();
  memo.reset();
  // The memo file first: until the table's rename, the old table (if any)
  // no longer matches it, but no open of it can exist while we hold it exclusively.
  if (h.has_memo()) {
    if (Status st = env.Rename(memo_temp, MemoPathFor(dest_path)); !st.ok()) return fail(st);
  }
  if (Status st = env.Rename(temp, dest_path); !st.ok()) return fail(st);
  return written;
}

Result<uint32_t> AppendFromTable(Table& dest, Table& source, const RecordFilter& select) {
  // For every destination field, the source field it takes its value from.
  const RecordLayout& dl = dest.layout();
  const RecordLayout& sl = source.layout();
  std::vector<const FieldSlot*> from(dl.slots().size(), nullptr);
  for (size_t i = 0; i < dl.slots().size(); ++i) {
    const FieldSlot* s = sl.Find(dl.slots()[i].spec.name);
    if (s && s->spec.type == dl.slots()[i].spec.type) from[i] = s;
  }
  DODU_ASSIGN_OR_RETURN(uint32_t count, source.RefreshCount());
  uint32_t appended = 0;
  for (uint32_t n = 1; n <= count; ++n) {
    DODU_ASSIGN_OR_RETURN(Record src, source.Read(RecNo{n}));
    DODU_ASSIGN_OR_RETURN(bool take, select(RecNo{n}, src));
    if (!take) continue;
    Record out = dest.BlankRecord();
    out.set_deleted(src.deleted());
    for (size_t i = 0; i < from.size(); ++i) {
      if (!from[i]) continue;
      const FieldSpec& d = dl.slots()[i].spec;
      const FieldSpec& s = from[i]->spec;
      std::string_view raw = std::string_view(src.bytes()).substr(from[i]->offset, s.length);
      Status st;
      switch (d.type) {
        case FieldType::kChar:
          st = out.PutText(d.name, raw);
          break;
        case FieldType::kNumeric: {
          if (s.length == d.length && s.decimals == d.decimals) {
            st = out.PutRaw(d.name, raw);
            break;
          }
          auto v = DecodeNumber(raw, s);
          st = v.ok() ? out.PutNumber(d.name, *v) : v.status();
          break;
        }
        case FieldType::kMemo: {
          auto text = source.ReadMemo(src, s.name);
          st = text.ok() ? dest.PutMemo(out, d.name, *text) : text.status();
          break;
        }
        default:
          st = out.PutRaw(d.name, raw);
          break;
      }
      if (!st.ok())
        return Status(st.code(), source.path() + ": record " + std::to_string(n) + ": " + st.message());
    }
    DODU_ASSIGN_OR_RETURN(RecNo at, dest.Append(out));
    dest.UnlockRecord(at);
    ++appended;
  }
  return appended;
}

}  // namespace dodu::store
