// CRIA, NETUSE, ABREARQ and the closing routines.
#include "store/opener.h"

#include <cctype>
#include <memory>

#include "core/date.h"
#include "core/decimal.h"
#include "platform/paths.h"
#include "store/internal/layout_builder.h"
#include "store/opener_messages.h"
#include "store/rec_lock.h"
#include "store/rec_lock_wait.h"

namespace dodu::store {
namespace {

constexpr int kErrorBox = static_cast<int>(platform::BoxStyle::kError);
constexpr int kInfoBox = static_cast<int>(platform::BoxStyle::kInfo);

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// "x/IMP0920.DBF" -> "x/IMP0920"; a name without extension stays.
std::string DropExtension(const std::string& path) {
  const std::string base = platform::BaseName(path);
  size_t dot = base.rfind('.');
  if (dot == std::string::npos) return path;
  return path.substr(0, path.size() - (base.size() - dot));
}

std::string WithDbf(const std::string& file) {
  return platform::BaseName(file).find('.') == std::string::npos ? file + ".DBF" : file;
}

Status AppendDefineDefaults(Table& table) {
  Record r = table.BlankRecord();
  const int due[8][3] = {{2020, 6, 30},  {2020, 7, 31},  {2020, 8, 31},  {2020, 9, 30},
                         {2020, 10, 30}, {2020, 11, 30}, {2020, 12, 30}, {2021, 1, 29}};
  for (int k = 0; k < 8; ++k) {
    DODU_RETURN_IF_ERROR(r.PutDate("VCTO" + std::to_string(k + 1),
                                   *core::Date::FromYmd(due[k][0], due[k][1], due[k][2])));
  }
  DODU_RETURN_IF_ERROR(r.PutNumber("VAL_SEG", core::Decimal::FromScaled(400, 2)));
  DODU_RETURN_IF_ERROR(r.PutNumber("VAL_BYTE", core::Decimal::FromScaled(300, 2)));
  DODU_RETURN_IF_ERROR(r.PutNumber("VAL_MIN", core::Decimal::FromInt(120)));
  DODU_RETURN_IF_ERROR(r.PutNumber("COMO_SAL", core::Decimal::FromInt(2)));
  DODU_RETURN_IF_ERROR(r.PutNumber("TEMP_SAL", core::Decimal::FromInt(15)));
  DODU_RETURN_IF_ERROR(r.PutNumber("TEMP_DES", core::Decimal::FromInt(4)));
  DODU_RETURN_IF_ERROR(r.PutNumber("VAL_CPMF", core::Decimal::FromInt(0)));
  DODU_RETURN_IF_ERROR(r.PutNumber("VAL_DOLAR", core::Decimal::FromScaled(40301, 4)));
  DODU_RETURN_IF_ERROR(r.PutText("PROCESSA", "N"));
  DODU_RETURN_IF_ERROR(r.PutText("PROGCOMP", "S"));
  DODU_ASSIGN_OR_RETURN(RecNo n, table.Append(r));
  table.UnlockRecord(n);
  return Status::Ok();
}

enum class IndexState { kGood, kMissing, kStale };

struct IndexSlot {
  std::string path;  // with ".CDX", the name on disk when it exists
  std::string expression;
  IndexState state = IndexState::kMissing;
  std::optional<CdxIndex> index;
};

// Opens the index at slot.path and decides whether it belongs to the table.
void CheckIndex(platform::Env& env, const Layout& layout, const TableStamp& stamp,
                IndexSlot& slot) {
  slot.index.reset();
  if (!env.Exists(slot.path)) {
    slot.state = IndexState::kMissing;
    return;
  }
  Result<CdxIndex> idx = CdxIndex::Open(env, slot.path, layout);
  if (!idx.ok()) {
    slot.state = IndexState::kStale;
    return;
  }
  const CdxStamp& s = idx->stamp();
  const bool agrees = !s.present || IndexAgreesWithTable(stamp, {s.generation, s.record_count});
  if (s.interrupted || !agrees || !platform::EqualsIgnoreCase(idx->expr().text(), slot.expression)) {
    slot.state = IndexState::kStale;
    return;
  }
  slot.state = IndexState::kGood;
  slot.index.emplace(std::move(idx).value());
}

Result<std::unique_ptr<Table>> OpenTable(OpenerContext& ctx, const std::string& path,
                                         bool exclusive) {
  return Table::Open(ctx.env, path, exclusive ? Sharing::kExclusive : Sharing::kShared);
}

}  // namespace

std::string CreatingMessage(int number, const std::string& year) {
  if (number == 10) return msg::Creating("IMP10.DBF");
  if (number == 21) return msg::Creating("IMP21.DBF");
  if (number == 50) return msg::Creating("DIRETOR.DBF");
  if (number >= 1 && number < 22) return msg::Creating("IMP" + internal::Mm(number) + year + ".DBF");
  return "";
}

Status CRIA(OpenerContext& ctx, int number, const std::string& path) {
  const TableDef* def = FindTable(number);
  if (def == nullptr) return Status::NotFound("no table " + std::to_string(number));
  return CRIA(ctx, *def, path);
}

Status CRIA(OpenerContext& ctx, const TableDef& table, const std::string& path) {
  const TableDef* def = &table;
  const int number = def->number;
  if (!def->created) {
    return Status::NotFound("table " + std::to_string(number) + " has no layout to create");
  }
  const std::string text =
      def->rule == NameRule::kWorkCopy ? std::string() : CreatingMessage(number, ctx.year);
  if (!text.empty()) ctx.sink.StatusText(text);
  Status st = [&]() -> Status {
    Result<std::unique_ptr<Table>> t = Table::Create(ctx.env, path, def->layout, Sharing::kExclusive);
    if (!t.ok()) {
      // Another station made it between our look and our create.
      if (ctx.env.Exists(path)) return Status::Ok();
      return t.status();
    }
    if (number == 43) return AppendDefineDefaults(**t);
    return Status::Ok();
  }();
  if (!text.empty()) ctx.sink.StatusText("");
  return st;
}

Status NETUSE(OpenerContext& ctx, WorkAreas& areas, const std::string& file, bool exclusive) {
  const std::string name = WithDbf(file);
  const std::string stem = Upper(platform::BaseName(DropExtension(name)));
  if (WorkArea* a = areas.Get(areas.current())) {
    if ((ctx.alias.empty() && platform::EqualsIgnoreCase(a->alias(), stem)) ||
        (!ctx.alias.empty() && platform::EqualsIgnoreCase(a->alias(), ctx.alias))) {
      return Status::Ok();
    }
  }
  std::optional<std::string> path = FindExisting(ctx, name);
  if (!path) {
    ctx.sink.Box(kInfoBox, {msg::DoesNotExist(name)}, "");
    return Status::NotFound(name);
  }
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<Table> table, OpenTable(ctx, *path, exclusive));
  std::string alias = ctx.alias.empty() ? stem : ctx.alias;
  ctx.alias.clear();
  areas.Place(areas.current(), std::move(alias), std::move(table), {});
  return Status::Ok();
}

Status ABREARQ(OpenerContext& ctx, WorkAreas& areas, const OpenRequest& req) {
  areas.Close(req.area);
  areas.Select(req.area);
  const std::string file = WithDbf(req.file);
  const std::string stem_path = DropExtension(file);
  const std::string name = platform::BaseName(stem_path);  // as the messages show it
  if (ctx.show_messages) ctx.sink.StatusText(msg::Checking(Upper(name)));
  auto done = [&](Status st) {
    if (ctx.show_messages) ctx.sink.StatusText("");
    return st;
  };

  std::optional<std::string> path = FindExisting(ctx, file);
  if (!path) {
    const TableDef* def = req.table != nullptr ? req.table
                          : req.number > 0   ? FindTable(req.number)
                                             : nullptr;
    if (def == nullptr || !def->created) return done(Status::Ok());  // nothing to open
    const std::string target = PathForCreate(ctx, file);
    DODU_RETURN_IF_ERROR(done(CRIA(ctx, *def, target)));
    path = target;
  }

  const bool exclusive = req.exclusive;
  Result<std::unique_ptr<Table>> opened = OpenTable(ctx, *path, exclusive);
  if (!opened.ok()) {
    ctx.sink.Box(kErrorBox, {msg::NotAvailable(name)}, "");
    return done(opened.status());
  }
  std::unique_ptr<Table> table = std::move(opened).value();

  // The index files: beside the table; a second without a name is file + "B".
  const std::string folder = platform::ParentPath(*path);
  std::vector<IndexSlot> slots;
  for (size_t i = 0; i < req.keys.size() && i < 3; ++i) {
    std::string f = req.keys[i].file;
    if (f.empty()) f = i == 0 ? platform::BaseName(DropExtension(*path)) : Upper(name) + "B";
    std::string p = HasFolder(f) ? f : platform::JoinPath(folder, f);
    p += ".CDX";
    if (Result<std::string> on_disk = platform::ResolveExisting(ctx.env, p); on_disk.ok()) {
      p = *on_disk;
    }
    IndexSlot slot;
    slot.path = p;
    slot.expression = req.keys[i].expression;
    slots.push_back(std::move(slot));
  }

  DODU_ASSIGN_OR_RETURN(TableStamp stamp, table->Stamp());
  bool all_good = true;
  for (IndexSlot& s : slots) {
    CheckIndex(ctx.env, table->layout().fields(), stamp, s);
    all_good = all_good && s.state == IndexState::kGood;
  }

  // An append running at another station updates the index just before the
  // table's count, so a shared open can catch the two a record apart. Look
  // again with appends held off before deciding the index is stale.
  if (!all_good && !exclusive && slots[0].state != IndexState::kMissing) {
    WaitRule rule{2000, true, msg::WaitingFile()};
    if (WaitWhileLocked(ctx, rule, [&] { return table->LockTable(); }).ok()) {
      Result<TableStamp> again = table->Stamp();
      if (again.ok()) {
        stamp = *again;
        all_good = true;
        for (IndexSlot& s : slots) {
          if (s.state == IndexState::kMissing) {
            all_good = false;
            continue;
          }
          CheckIndex(ctx.env, table->layout().fields(), stamp, s);
          all_good = all_good && s.state == IndexState::kGood;
        }
      }
      table->UnlockTable();
    }
  }

  if (!all_good) {
    const bool pack = slots[0].state == IndexState::kMissing;
    for (IndexSlot& s : slots) s.index.reset();
    if (!exclusive) {
      table.reset();
      opened = OpenTable(ctx, *path, true);
      if (!opened.ok()) {
        ctx.sink.Box(kErrorBox, {msg::NotAvailable(name)}, "");
        return done(opened.status());
      }
      table = std::move(opened).value();
    }
    // Without its first index the table is packed; the packed table then
    // matches none of its old index files, so all are rebuilt.
    if (pack) DODU_RETURN_IF_ERROR(done(table->Pack()));
    DODU_ASSIGN_OR_RETURN(stamp, table->Stamp());
    for (IndexSlot& s : slots) {
      if (!pack && s.state == IndexState::kGood) continue;
      if (ctx.show_messages) {
        ctx.sink.StatusText(msg::CreatingIndex(platform::BaseName(DropExtension(s.path)) + ".cdx"));
      }
      // Built under a temporary name, so a crash never leaves half an index
      // under the real one.
      const std::string temp = Table::TempPathFor(s.path);
      {
        Result<CdxIndex> built = BuildIndexFile(ctx.env, table->file(), temp, s.expression, stamp);
        if (!built.ok()) return done(built.status());
      }
      DODU_RETURN_IF_ERROR(done(ctx.env.Rename(temp, s.path)));
    }
    if (!exclusive) {
      table.reset();
      opened = OpenTable(ctx, *path, false);
      if (!opened.ok()) {
        ctx.sink.Box(kErrorBox, {pack ? msg::NotAvailableAfterPack(name) : msg::NotAvailable(name)},
                     "");
        return done(opened.status());
      }
      table = std::move(opened).value();
      DODU_ASSIGN_OR_RETURN(stamp, table->Stamp());
    }
    for (IndexSlot& s : slots) {
      Result<CdxIndex> idx = CdxIndex::Open(ctx.env, s.path, table->layout().fields());
      if (!idx.ok()) return done(idx.status());
      s.index.emplace(std::move(idx).value());
    }
  }

  std::vector<std::unique_ptr<OrderIndex>> orders;
  for (IndexSlot& s : slots) {
    orders.push_back(std::make_unique<OrderIndex>(ctx.env, s.path, std::move(*s.index)));
  }
  std::string alias = ctx.alias.empty() ? Upper(name) : ctx.alias;
  ctx.alias.clear();
  areas.Place(req.area, std::move(alias), std::move(table), std::move(orders));
  return done(Status::Ok());
}

void SAI_ABRE(OpenerContext& ctx, WorkAreas& areas, int number) {
  if (ctx.show_messages) ctx.sink.StatusText("");
  if (WorkArea* a = areas.Get(number)) a->hide_deleted = true;
}

Status RET_FECHAJAN(OpenerContext& ctx, Status result) {
  if (ctx.show_messages) ctx.sink.StatusText("");
  return result;
}

void FECHA_PROV(WorkAreas& areas) {
  for (int n = 21; n <= 41; ++n) areas.Close(n);
}

void FECHA_TODO(WorkAreas& areas) {
  for (int n = 1; n <= 21; ++n) {
    if (n != 9) areas.Close(n);
  }
  FECHA_PROV(areas);
}

}  // namespace dodu::store
