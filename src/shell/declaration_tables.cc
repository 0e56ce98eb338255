#include "shell/internal/declaration_tables.h"

#include <algorithm>
#include <functional>

#include "platform/paths.h"
#include "store/catalogue.h"
#include "store/lock_file.h"
#include "store/opener.h"
#include "store/rec_lock.h"
#include "store/rec_lock_wait.h"
#include "store/replace_wait.h"
#include "store/table.h"

namespace dodu::shell::internal {
namespace {

using store::OpenerContext;
using store::Record;
using store::WorkAreas;

Record Convert(const Record& from, const std::shared_ptr<const store::RecordLayout>& to) {
  if (from.layout().fields() == to->fields()) return Record(to, from.bytes());
  Record r = Record::Blank(to);
  for (const store::FieldSlot& slot : to->slots()) {
    const store::FieldSlot* src = from.layout().Find(slot.spec.name);
    if (src == nullptr || !(src->spec == slot.spec)) continue;
    (void)r.PutRaw(slot.spec.name, from.bytes().substr(src->offset, src->spec.length));
  }
  r.set_deleted(from.deleted());
  return r;
}

Status RemoveIfThere(platform::Env& env, const std::string& path) {
  if (Result<std::string> on_disk = platform::ResolveExisting(env, path); on_disk.ok()) {
    return env.Remove(*on_disk);
  }
  return Status::Ok();
}

std::string IndexPathOfWorkCopy(const OpenerContext& ctx, int n) {
  std::string dbf = WorkCopyPath(ctx, n);
  return dbf.substr(0, dbf.size() - 4) + ".CDX";
}

constexpr int kSharedOpenWaitMs = 10000;

}  // namespace

std::string Mm(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

int64_t Whole(const core::Decimal& d) { return d.Truncate(0).units() / core::Decimal::kScale; }

std::string Trimmed(std::string_view s) {
  size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

Record ConvertRecord(const Record& from, const std::shared_ptr<const store::RecordLayout>& to) {
  return Convert(from, to);
}

const std::vector<int>& WorkCopyTables() {
  static const std::vector<int> k = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                     11, 12, 14, 15, 16, 17, 18, 19, 20, 21};
  return k;
}

std::string WorkCopyKey(int table_number) {
  // The rural work copies hold one record per activity of the taxpayer.
  if (table_number == 15 || table_number == 16) return "cpf+ATV_BRASIL";
  const store::TableDef* t = store::FindTable(table_number);
  return t == nullptr ? std::string() : t->work_copy_key;
}

std::string WorkCopyPath(const OpenerContext& ctx, int table_number) {
  return platform::JoinPath(
      ctx.work_folder,
      store::TableFileName(*store::FindWorkCopy(table_number), ctx.names()) + ".DBF");
}

QuietContext::QuietContext(OpenerContext& base)
    : sink_(base.sink), ctx_(base.env, sink_, base.wait) {
  ctx_.confirm = base.confirm;
  ctx_.paths = base.paths;
  ctx_.terminal = base.terminal;
  ctx_.year = base.year;
  ctx_.installation_folder = base.installation_folder;
  ctx_.data_folder = base.data_folder;
  ctx_.work_folder = base.work_folder;
  ctx_.declaration_option = base.declaration_option;
  ctx_.show_messages = base.show_messages;
}

Status OpenDeclarationTable(OpenerContext& ctx, WorkAreas& areas, int table_number, int area,
                            bool exclusive) {
  const store::TableDef* def = store::FindTable(table_number);
  if (def == nullptr)
    return Status::Invalid("no declaration table " + std::to_string(table_number));
  const std::string base = store::TableFileName(*def, ctx.names());
  store::OpenRequest req;
  req.area = area;
  req.number = table_number;
  req.table = def;
  req.file = platform::JoinPath(ctx.data_folder, base + ".DBF");
  req.exclusive = exclusive;
  for (const store::IndexDef& k : def->keys) {
    req.keys.push_back(
        {platform::JoinPath(ctx.data_folder, store::IndexFileName(k, base)), k.expression});
  }
  QuietContext quiet(ctx);
  return store::RET_FECHAJAN(ctx, store::ABREARQ(quiet.ctx(), areas, req));
}

Status OpenSharedBriefly(OpenerContext& ctx, const std::function<Status(OpenerContext&)>& open) {
  QuietContext quiet(ctx);
  const store::WaitRule rule{kSharedOpenWaitMs, false, store::WaitingOtherTerminal()};
  return store::WaitWhileLocked(ctx, rule, [&] { return open(quiet.ctx()); });
}

Status OpenRegister(OpenerContext& ctx, WorkAreas& areas) {
  return OpenSharedBriefly(ctx, [&](OpenerContext& c) {
    return OpenDeclarationTable(c, areas, 9, kRegisterArea, false);
  });
}

Status OpenDeclarationTableWaiting(OpenerContext& ctx, WorkAreas& areas, int table_number, int area,
                                   WaitKind kind, int ask_after_ms) {
  auto attempt = [&] { return OpenDeclarationTable(ctx, areas, table_number, area, true); };
  if (kind == WaitKind::kSave) {
    return store::WaitForExclusive(ctx, store::SaveWaitRule(table_number, ctx.year, ask_after_ms),
                                   attempt);
  }
  Status st = attempt();
  if (!st.IsLocked()) return st;
  store::ExclusiveWaitRule rule = store::LoadWaitRule();
  rule.question = store::TableInUseQuestion(table_number, ctx.year);
  if (!ctx.Confirm(rule.question)) return Status::Cancelled(st.message());
  rule.ask_after_ms = ask_after_ms;
  return store::WaitForExclusive(ctx, rule, attempt);
}

Result<std::vector<Record>> TaxpayerRecords(store::WorkArea& area, std::string_view cpf) {
  std::vector<Record> out;
  area.hide_deleted = true;
  if (area.active_order() == 0) DODU_RETURN_IF_ERROR(area.SetOrder(1));
  DODU_ASSIGN_OR_RETURN(bool hit, area.Seek(cpf));
  if (!hit) return out;
  const std::string want = Trimmed(cpf);
  while (!area.eof()) {
    DODU_ASSIGN_OR_RETURN(Record r, area.Current());
    DODU_ASSIGN_OR_RETURN(std::string c, r.GetText("CPF"));
    if (Trimmed(c) != want) break;
    if (!r.deleted()) out.push_back(std::move(r));
    DODU_RETURN_IF_ERROR(area.Skip(1));
  }
  return out;
}

Status WriteWorkCopy(OpenerContext& ctx, WorkAreas& areas, int table_number,
                     const std::vector<Record>& records) {
  const store::TableDef* w = store::FindWorkCopy(table_number);
  if (w == nullptr) return Status::Invalid("no work copy of table " + std::to_string(table_number));
  areas.Close(w->number);
  const std::string path = WorkCopyPath(ctx, table_number);
  DODU_RETURN_IF_ERROR(RemoveIfThere(ctx.env, path));
  DODU_RETURN_IF_ERROR(RemoveIfThere(ctx.env, IndexPathOfWorkCopy(ctx, table_number)));
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<store::Table> t,
                        store::Table::Create(ctx.env, path, w->layout, store::Sharing::kExclusive));
  for (const Record& r : records) {
    DODU_ASSIGN_OR_RETURN(store::RecNo n, t->Append(Convert(r, t->shared_layout())));
    (void)n;
  }
  return Status::Ok();
}

Status RewriteWorkCopy(OpenerContext& ctx, WorkAreas& areas, int table_number,
                       const std::vector<Record>& records) {
  const store::TableDef* w = store::FindWorkCopy(table_number);
  if (w == nullptr) return Status::Invalid("no work copy of table " + std::to_string(table_number));
  DODU_ASSIGN_OR_RETURN(std::string path,
                        platform::ResolveExisting(ctx.env, WorkCopyPath(ctx, table_number)));
  const std::string temp = store::Table::TempPathFor(path);
  DODU_RETURN_IF_ERROR(RemoveIfThere(ctx.env, temp));
  {
    DODU_ASSIGN_OR_RETURN(
        std::unique_ptr<store::Table> t,
        store::Table::Create(ctx.env, temp, w->layout, store::Sharing::kExclusive));
    for (const Record& r : records) {
      DODU_ASSIGN_OR_RETURN(store::RecNo n, t->Append(Convert(r, t->shared_layout())));
      (void)n;
    }
    DODU_RETURN_IF_ERROR(t->file().Sync());
  }
  areas.Close(w->number);
  DODU_RETURN_IF_ERROR(ctx.env.Rename(temp, path));
  (void)RemoveIfThere(ctx.env, store::LockFilePath(temp));
  DODU_RETURN_IF_ERROR(OpenWorkCopyArea(ctx, areas, table_number));
  return areas.Get(w->number)->Top();
}

Status OpenWorkCopyArea(OpenerContext& ctx, WorkAreas& areas, int table_number) {
  const store::TableDef* w = store::FindWorkCopy(table_number);
  if (w == nullptr) return Status::Invalid("no work copy of table " + std::to_string(table_number));
  areas.Close(w->number);
  const std::string path = WorkCopyPath(ctx, table_number);
  if (!platform::ResolveExisting(ctx.env, path).ok())
    return Status::NotFound(path + ": no work copy");
  // The index is built afresh on every open: the copy is small and private.
  DODU_RETURN_IF_ERROR(RemoveIfThere(ctx.env, IndexPathOfWorkCopy(ctx, table_number)));
  store::OpenRequest req;
  req.area = w->number;
  req.table = w;
  req.file = path;
  req.exclusive = true;
  req.keys = {{"", WorkCopyKey(table_number)}};
  return store::RET_FECHAJAN(ctx, store::ABREARQ(ctx, areas, req));
}

Status OpenWorkCopyPlain(OpenerContext& ctx, WorkAreas& areas, int table_number, int area) {
  const store::TableDef* w = store::FindWorkCopy(table_number);
  if (w == nullptr) return Status::Invalid("no work copy of table " + std::to_string(table_number));
  areas.Close(area);
  const std::string path = WorkCopyPath(ctx, table_number);
  Result<std::string> on_disk = platform::ResolveExisting(ctx.env, path);
  if (!on_disk.ok()) return Status::NotFound(path + ": no work copy");
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<store::Table> t,
                        store::Table::Open(ctx.env, *on_disk, store::Sharing::kExclusive));
  areas.Place(area, platform::BaseName(path.substr(0, path.size() - 4)), std::move(t), {});
  return Status::Ok();
}

namespace {

Status WithRetries(OpenerContext& ctx, int attempts,
                   const std::function<Status(OpenerContext&)>& f) {
  Status st = Status::Ok();
  QuietContext quiet(ctx);
  for (int i = 1; i <= std::max(attempts, 1); ++i) {
    const bool last = i >= attempts;
    st = f(last ? ctx : quiet.ctx());
    if (st.ok() || st.IsCancelled() || !st.IsLocked()) return st;
  }
  return st;
}

}  // namespace

Status LockWithRetries(OpenerContext& ctx, store::WorkArea& area, int attempts) {
  return WithRetries(ctx, attempts, [&](OpenerContext& c) { return store::REC_LOCK(c, area, 5); });
}

Status PrepRegWithRetries(OpenerContext& ctx, store::WorkArea& area, std::string_view key,
                          int attempts) {
  return WithRetries(ctx, attempts,
                     [&](OpenerContext& c) { return store::PREP_REG(c, area, key); });
}

}  // namespace dodu::shell::internal
