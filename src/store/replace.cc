#include "store/replace.h"

#include <algorithm>
#include <optional>

#include "platform/paths.h"
#include "store/journal.h"

namespace dodu::store {
namespace {

constexpr size_t kCpfLength = 11;
constexpr uint64_t kHeaderBlock = 32;

// The first order whose key starts with the CPF field: "CPF", "CPF+...".
OrderIndex* CpfOrder(WorkArea& area) {
  for (size_t i = 0; i < area.order_count(); ++i) {
    const std::string& text = area.order(i).expr().text();
    if (text.size() >= 3 && platform::EqualsIgnoreCase(text.substr(0, 3), "CPF") &&
        (text.size() == 3 || text[3] == '+' || text[3] == ' '))
      return &area.order(i);
  }
  return nullptr;
}

std::string PaddedCpf(std::string_view cpf) {
  std::string s(cpf.substr(0, kCpfLength));
  s.resize(kCpfLength, ' ');
  return s;
}

struct Slot {
  RecNo recno;
  std::string bytes;  // as on file before the replacement
};

// The taxpayer's records (deleted ones too: their slots are reused first-come
// with the rest), in record order.
Result<std::vector<Slot>> TaxpayerSlots(Table& table, OrderIndex& order, const std::string& cpf) {
  std::vector<uint32_t> recnos;
  CdxIndex::Cursor c = order.index().NewCursor();
  DODU_ASSIGN_OR_RETURN(bool found, c.Seek(cpf));
  while (found && c.valid() && c.key().compare(0, kCpfLength, cpf) == 0) {
    recnos.push_back(c.recno());
    DODU_RETURN_IF_ERROR(c.Next());
  }
  std::sort(recnos.begin(), recnos.end());
  std::vector<Slot> slots;
  for (uint32_t n : recnos) {
    DODU_ASSIGN_OR_RETURN(Record r, table.Read(RecNo{n}));
    // The index is the table's own; a record whose CPF disagrees with its key
    // means the index is wrong, and writing over it would hit another taxpayer.
    DODU_ASSIGN_OR_RETURN(std::string_view raw, r.Raw("CPF"));
    if (raw != cpf)
      return Status::Corrupt(table.path() + ": record " + std::to_string(n) +
                             " is not the taxpayer's its index says (rebuild the index)");
    slots.push_back({RecNo{n}, r.bytes()});
  }
  return slots;
}

struct Plan {
  std::vector<std::pair<RecNo, std::string>> writes;  // slot, new bytes
  std::vector<RecNo> deletes;
  std::vector<std::string> appends;
  uint32_t unchanged = 0;
  bool empty() const { return writes.empty() && deletes.empty() && appends.empty(); }
};

Result<Journal> BuildJournal(platform::Env& env, Table& table, WorkArea& area,
                             const std::vector<Slot>& slots, const Plan& plan) {
  Journal j;
  DbfFile& dbf = table.file();
  j.generation = dbf.generation();
  {
    DODU_ASSIGN_OR_RETURN(std::unique_ptr<LockFile> lock, LockFile::Open(env, table.path()));
    DODU_ASSIGN_OR_RETURN(j.change_word, lock->ReadChangeWord());
  }
  j.record_count = dbf.record_count();
  j.record_length = dbf.header().record_length;
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> raw,
                        env.Open(table.path(), platform::OpenMode::kRead));
  DODU_ASSIGN_OR_RETURN(j.file_size, raw->Size());
  auto read_range = [&](uint64_t offset, uint64_t length) -> Status {
    std::string bytes(length, '\0');
    DODU_ASSIGN_OR_RETURN(size_t got, raw->ReadAt(offset, {reinterpret_cast<std::byte*>(bytes.data()),
                                                           bytes.size()}));
    bytes.resize(got);
    j.ranges.push_back({offset, std::move(bytes)});
    return Status::Ok();
  };
  DODU_RETURN_IF_ERROR(read_range(0, kHeaderBlock));
  const uint64_t base = dbf.header().header_length;
  const uint64_t len = j.record_length;
  auto slot_bytes = [&](RecNo n) -> const std::string& {
    return std::find_if(slots.begin(), slots.end(), [&](const Slot& s) { return s.recno == n; })->bytes;
  };
  for (const auto& [n, bytes] : plan.writes) j.ranges.push_back({base + (n.value - 1) * len, slot_bytes(n)});
  for (RecNo n : plan.deletes) j.ranges.push_back({base + (n.value - 1) * len, slot_bytes(n)});
  const uint64_t data_end = base + uint64_t{j.record_count} * len;
  if (!plan.appends.empty() && j.file_size > data_end)
    DODU_RETURN_IF_ERROR(read_range(data_end, j.file_size - data_end));
  for (size_t i = 0; i < area.order_count(); ++i) {
    OrderIndex& o = area.order(i);
    j.indexes.push_back({platform::BaseName(o.path()), o.expr().text()});
  }
  return j;
}

Status Apply(Table& table, WorkArea& area, const Plan& plan) {
  for (const auto& [n, bytes] : plan.writes)
    DODU_RETURN_IF_ERROR(table.Write(n, Record(table.shared_layout(), bytes)));
  for (RecNo n : plan.deletes) DODU_RETURN_IF_ERROR(table.SetDeleted(n, true));
  for (const std::string& bytes : plan.appends) {
    DODU_ASSIGN_OR_RETURN(RecNo n, table.Append(Record(table.shared_layout(), bytes)));
    (void)n;
  }
  DODU_RETURN_IF_ERROR(table.file().Sync());
  for (size_t i = 0; i < area.order_count(); ++i) DODU_RETURN_IF_ERROR(area.order(i).index().Sync());
  return Status::Ok();
}

}  // namespace

Result<bool> RecoverReplacement(platform::Env& env, WorkArea& area) {
  Table& table = area.table();
  if (table.sharing() != Sharing::kExclusive)
    return Status::Invalid(table.path() + ": a replacement is undone only with the table held exclusively");
  DODU_ASSIGN_OR_RETURN(bool recovered, RollBackInterruptedReplacement(env, table.path()));
  // The rollback rewrote the files under the open table: the change word it
  // left makes the table and every order reopen them.
  if (recovered) DODU_RETURN_IF_ERROR(table.LockTable());
  return recovered;
}

Result<ReplaceStats> ReplaceTaxpayerRecords(platform::Env& env, WorkArea& area,
                                            std::string_view cpf_text,
                                            const std::vector<Record>& records) {
  Table& table = area.table();
  const std::string& path = table.path();
  if (table.sharing() != Sharing::kExclusive || table.read_only())
    return Status::Invalid(path + ": records are replaced only with the table held exclusively");
  for (const FieldSpec& f : table.layout().fields()) {
    if (f.type == FieldType::kMemo) return Status::Invalid(path + ": a table with memo fields");
  }
  OrderIndex* order = CpfOrder(area);
  if (order == nullptr) return Status::Invalid(path + ": no order on the CPF");
  const std::string cpf = PaddedCpf(cpf_text);

  std::vector<std::string> wanted;
  for (const Record& r : records) {
    if (r.deleted()) continue;
    if (r.layout().fields() != table.layout().fields())
      return Status::Invalid(path + ": a record of another layout");
    DODU_ASSIGN_OR_RETURN(std::string_view raw, r.Raw("CPF"));
    if (raw != cpf) return Status::Invalid(path + ": a record of another taxpayer (" + std::string(raw) + ")");
    wanted.push_back(r.bytes());
  }

  ReplaceStats stats;
  DODU_ASSIGN_OR_RETURN(stats.recovered, RecoverReplacement(env, area));
  DODU_RETURN_IF_ERROR(table.RefreshCount().status());
  if (table.file().NeedsRepair()) DODU_RETURN_IF_ERROR(table.file().Repair());

  DODU_ASSIGN_OR_RETURN(std::vector<Slot> slots, TaxpayerSlots(table, *order, cpf));
  Plan plan;
  for (size_t i = 0; i < std::max(slots.size(), wanted.size()); ++i) {
    if (i < slots.size() && i < wanted.size()) {
      if (slots[i].bytes == wanted[i]) {
        ++plan.unchanged;
      } else {
        plan.writes.emplace_back(slots[i].recno, wanted[i]);
      }
    } else if (i < wanted.size()) {
      plan.appends.push_back(wanted[i]);
    } else if (slots[i].bytes[0] != '*') {
      plan.deletes.push_back(slots[i].recno);
    }
  }
  stats.unchanged = plan.unchanged;
  if (plan.empty()) return stats;

  DODU_ASSIGN_OR_RETURN(Journal journal, BuildJournal(env, table, area, slots, plan));
  if (Status st = WriteJournal(env, path, journal); !st.ok()) {
    (void)RemoveJournal(env, path);  // the table was not touched
    return st;
  }
  auto undo = [&](const Status& failure) -> Status {
    Result<bool> back = RecoverReplacement(env, area);
    if (back.ok())
      return Status(failure.code(), failure.message() + " (" + path + " left as it was)");
    return Status(failure.code(), failure.message() + " (" + path +
                                      " will be restored when next opened exclusively)");
  };
  if (Status st = Apply(table, area, plan); !st.ok()) return undo(st);
  if (Status st = RemoveJournal(env, path); !st.ok()) return undo(st);
  stats.rewritten = static_cast<uint32_t>(plan.writes.size());
  stats.deleted = static_cast<uint32_t>(plan.deletes.size());
  stats.appended = static_cast<uint32_t>(plan.appends.size());
  return stats;
}

Result<ReplaceStats> ReplaceFromWorkCopy(platform::Env& env, WorkArea& area, std::string_view cpf,
                                         Table& work_copy) {
  DODU_ASSIGN_OR_RETURN(uint32_t count, work_copy.RefreshCount());
  std::vector<Record> records;
  records.reserve(count);
  for (uint32_t n = 1; n <= count; ++n) {
    DODU_ASSIGN_OR_RETURN(Record r, work_copy.Read(RecNo{n}));
    if (!r.deleted()) records.push_back(std::move(r));
  }
  return ReplaceTaxpayerRecords(env, area, cpf, records);
}

}  // namespace dodu::store
