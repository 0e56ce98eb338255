// The folder list and the switching of the current data folder.
#include "store/folder_list.h"

#include "core/codepage.h"
#include "store/catalogue.h"
#include "store/key_expr.h"
#include "store/lock_file.h"
#include "store/opener.h"
#include "store/opener_messages.h"
#include "store/rec_lock.h"

namespace dodu::store {

Status CRI_NDIR(OpenerContext& ctx, const std::string& folder, const std::string& label) {
  DODU_ASSIGN_OR_RETURN(std::string native, ctx.paths.ToNative(folder));
  if (Result<std::string> found = platform::ResolveExisting(ctx.env, native);
      found.ok() && ctx.env.IsDirectory(*found)) {
    return Status::Ok();
  }
  if (!ctx.Confirm({msg::NewFolderFor(label), msg::CreateNewFolder()})) {
    return Status::Cancelled(folder);
  }
  // CreateDir makes every missing level, as the level-by-level retry did.
  Status st = ctx.env.CreateDir(native);
  if (!st.ok() || !ctx.env.IsDirectory(native)) {
    ctx.sink.Box(static_cast<int>(platform::BoxStyle::kError), {msg::CannotCreateFolder(folder)},
                 "");
    return st.ok() ? Status::IoError(folder + ": not created") : st;
  }
  return Status::Ok();
}

bool IsTerminalRunning(OpenerContext& ctx, const std::string& terminal) {
  NameContext names = ctx.names();
  names.terminal = terminal;
  const std::string base = TableFileName(*FindTable(50), names);
  std::optional<std::string> path =
      FindExisting(ctx, platform::JoinPath(ctx.installation_folder, base + ".DBF"));
  if (!path) return false;
  Result<TableUse> use = ProbeTableUse(ctx.env, *path);
  return use.ok() && *use == TableUse::kExclusive;
}

std::string FolderListName(const OpenerContext& ctx, const std::string& native_folder) {
  std::string system = ctx.paths.ToSystem(native_folder);
  while (system.size() > 3 && (system.back() == '\\' || system.back() == '/')) system.pop_back();
  return UpperCp850(core::Utf8ToCp850(system));
}

Result<std::string> FolderFromList(const OpenerContext& ctx, const std::string& diretor) {
  std::string text = diretor;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (text.empty()) return Status::NotFound("empty folder entry");
  return ctx.paths.ToNative(core::Cp850ToUtf8(text));
}

namespace {

bool FolderExists(OpenerContext& ctx, const std::string& native) {
  Result<std::string> found = platform::ResolveExisting(ctx.env, native);
  return found.ok() && ctx.env.IsDirectory(*found);
}

}  // namespace

Status CleanFolderList(OpenerContext& ctx, WorkArea& list) {
  DODU_RETURN_IF_ERROR(list.Top());
  while (!list.eof()) {
    DODU_ASSIGN_OR_RETURN(Record r, list.Current());
    DODU_ASSIGN_OR_RETURN(std::string diretor, r.GetTrimmed("DIRETOR"));
    Result<std::string> native = FolderFromList(ctx, diretor);
    const bool present = native.ok() && FolderExists(ctx, *native);
    if (!present && !diretor.empty() &&
        ctx.Confirm({msg::FolderNotFound(diretor), msg::RemoveFromList()})) {
      if (REC_LOCK(ctx, list, 5).ok()) {
        Status st = list.table().SetDeleted(list.recno(), true);
        list.table().UnlockRecord(list.recno());
        DODU_RETURN_IF_ERROR(st);
      }
    }
    DODU_RETURN_IF_ERROR(list.Skip(1));
  }
  return list.Top();
}

Result<std::optional<std::string>> MUDADIR(OpenerContext& ctx, WorkAreas& areas,
                                           const std::string& folder, const std::string& cpf) {
  DODU_RETURN_IF_ERROR(CRI_NDIR(ctx, folder, kLabelData));
  DODU_ASSIGN_OR_RETURN(std::string native, ctx.paths.ToNative(folder));
  if (Result<std::string> on_disk = platform::ResolveExisting(ctx.env, native); on_disk.ok()) {
    native = *on_disk;
  }
  const TableDef* t09 = FindTable(9);
  const std::string base = TableFileName(*t09, ctx.names());
  OpenRequest req;
  req.area = 9;
  req.table = t09;
  req.number = 9;
  req.file = platform::JoinPath(native, base + ".DBF");
  for (const IndexDef& k : t09->keys) {
    req.keys.push_back({platform::JoinPath(native, IndexFileName(k, base)), k.expression});
  }
  Status st = ABREARQ(ctx, areas, req);
  WorkArea* reg = areas.Get(9);
  if (!st.ok() || reg == nullptr) {
    ctx.sink.Box(static_cast<int>(platform::BoxStyle::kError),
                 {msg::CouldNotOpen(), core::Utf8ToCp850(ctx.paths.ToSystem(req.file))}, "");
    return st.ok() ? Status::NotFound(req.file) : st;
  }
  std::optional<std::string> name;
  DODU_ASSIGN_OR_RETURN(bool found, reg->Seek(cpf));
  if (found) {
    DODU_ASSIGN_OR_RETURN(Record r, reg->Current());
    DODU_ASSIGN_OR_RETURN(std::string n, r.GetText("NOMECONTR"));
    name = n;
  } else {
    DODU_RETURN_IF_ERROR(reg->Top());
  }
  DODU_RETURN_IF_ERROR(reg->SetOrder(2));
  return name;
}

namespace {

// ROTADOANO of this terminal's settings record, when table 42 is open.
void StoreDataFolder(OpenerContext& ctx, WorkAreas& areas) {
  WorkArea* config = areas.Get(42);
  if (config == nullptr || config->order_count() == 0) return;
  (void)config->SetOrder(1);
  Result<bool> found = config->Seek(ctx.terminal);
  if (!found.ok() || !*found || !REC_LOCK(ctx, *config, 5).ok()) return;
  Result<Record> r = config->Current();
  if (r.ok() && r->PutText("ROTADOANO", FolderListName(ctx, ctx.data_folder)).ok()) {
    (void)config->WriteCurrent(*r);
  }
  config->table().UnlockRecord(config->recno());
}

}  // namespace

Status TROCASIM(OpenerContext& ctx, WorkAreas& areas, int mode, const std::string& cpf) {
  WorkArea* list = areas.Get(50);
  if (list == nullptr) return Status::NotFound("folder list not open");
  const RecNo here = list->recno();
  const bool on_record = !list->eof() && here.value != 0;

  // Every other selected entry is unselected.
  DODU_ASSIGN_OR_RETURN(uint32_t count, list->table().RefreshCount());
  for (uint32_t n = 1; n <= count; ++n) {
    if (on_record && n == here.value) continue;
    DODU_ASSIGN_OR_RETURN(Record r, list->table().Read(RecNo{n}));
    if (r.deleted()) continue;
    DODU_ASSIGN_OR_RETURN(std::string selec, r.GetTrimmed("SELEC"));
    if (selec != "S") continue;
    DODU_RETURN_IF_ERROR(list->GoTo(RecNo{n}));
    if (!REC_LOCK(ctx, *list, 5).ok()) continue;
    Status st = r.PutText("SELEC", "N");
    if (st.ok()) st = list->WriteCurrent(r);
    list->table().UnlockRecord(RecNo{n});
    DODU_RETURN_IF_ERROR(st);
  }
  if (on_record) {
    DODU_RETURN_IF_ERROR(list->GoTo(here));
  } else {
    DODU_RETURN_IF_ERROR(list->Top());
  }

  if (mode == 1) {
    if (list->eof()) {
      DODU_RETURN_IF_ERROR(ADD_REC(ctx, *list, 5));
    } else {
      DODU_RETURN_IF_ERROR(REC_LOCK(ctx, *list, 5));
    }
    const RecNo n = list->recno();
    auto unlock = [&](Status st) {
      list->table().UnlockRecord(n);
      return st;
    };
    Result<Record> r = list->Current();
    if (!r.ok()) return unlock(r.status());
    DODU_RETURN_IF_ERROR(unlock(r->PutText("SELEC", "S")));
    Result<std::string> diretor = r->GetTrimmed("DIRETOR");
    if (!diretor.ok()) return unlock(diretor.status());
    std::string folder;
    if (diretor->empty()) {
      DODU_RETURN_IF_ERROR(
          unlock(r->PutText("DIRETOR", FolderListName(ctx, ctx.installation_folder))));
      folder = ctx.installation_folder;
    } else {
      Result<std::string> native = FolderFromList(ctx, *diretor);
      if (!native.ok()) return unlock(native.status());
      DODU_RETURN_IF_ERROR(unlock(CRI_NDIR(ctx, *native, kLabelData)));
      folder = *native;
    }
    DODU_RETURN_IF_ERROR(unlock(list->WriteCurrent(*r)));
    list->table().UnlockRecord(n);
    if (Result<std::string> on_disk = platform::ResolveExisting(ctx.env, folder); on_disk.ok()) {
      folder = *on_disk;
    }
    ctx.data_folder = folder;
  }
  DODU_RETURN_IF_ERROR(MUDADIR(ctx, areas, ctx.data_folder, cpf).status());
  StoreDataFolder(ctx, areas);
  return Status::Ok();
}

}  // namespace dodu::store
