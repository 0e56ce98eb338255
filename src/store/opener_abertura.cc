// ABERTURA: catalogue number -> file, folder, mode and keys, and the start-up set.
#include <optional>
#include <string>

#include "core/codepage.h"
#include "platform/paths.h"
#include "store/folder_list.h"
#include "store/key_expr.h"
#include "store/opener.h"
#include "store/rec_lock.h"

namespace dodu::store {
namespace {

OpenRequest CatalogueRequest(OpenerContext& ctx, const TableDef& def, bool exclusive) {
  const std::string base = TableFileName(def, ctx.names());
  const std::string& folder = FolderPath(ctx, def.folder);
  OpenRequest req;
  req.area = def.number;
  req.number = def.number;
  req.table = &def;
  req.file = platform::JoinPath(folder, base + ".DBF");
  req.exclusive = def.mode == ShareMode::kExclusive || (def.mode == ShareMode::kCaller && exclusive);
  for (const IndexDef& k : def.keys) {
    req.keys.push_back({platform::JoinPath(folder, IndexFileName(k, base)), k.expression});
  }
  return req;
}

bool InstallationFileExists(OpenerContext& ctx, const std::string& name) {
  return platform::ResolveExisting(ctx.env, platform::JoinPath(ctx.installation_folder, name)).ok();
}

// A new folder list starts with the installation folder, selected.
Status SeedFolderList(OpenerContext& ctx, WorkArea& list) {
  DODU_ASSIGN_OR_RETURN(uint32_t count, list.table().RefreshCount());
  if (count > 0) return Status::Ok();
  DODU_RETURN_IF_ERROR(ADD_REC(ctx, list, 5));
  DODU_ASSIGN_OR_RETURN(Record r, list.Current());
  DODU_RETURN_IF_ERROR(r.PutText("SELEC", "S"));
  DODU_RETURN_IF_ERROR(r.PutText("DIRETOR", FolderListName(ctx, ctx.installation_folder)));
  Status st = list.WriteCurrent(r);
  list.table().UnlockRecord(list.recno());
  return st;
}

bool EndsWithSaiAbre(int n) {
  return n == 42 || n == 43 || (n >= 55 && n <= 57) || (n >= 59 && n <= 67) || n == 94;
}

Status StartUpSet(OpenerContext& ctx, WorkAreas& areas) {
  areas.CloseAll();
  DODU_RETURN_IF_ERROR(ABERTURA(ctx, areas, 50));
  if (WorkArea* list = areas.Get(50)) DODU_RETURN_IF_ERROR(CleanFolderList(ctx, *list));
  (void)ABERTURA(ctx, areas, 45);  // help texts are optional
  for (int n : {46, 47, 48, 49, 51, 52, 53, 54, 58}) {
    DODU_RETURN_IF_ERROR(ABERTURA(ctx, areas, n));
  }
  (void)ABERTURA(ctx, areas, 66);
  return Status::Ok();
}

}  // namespace

Status ABERTURA(OpenerContext& ctx, WorkAreas& areas, int number, bool exclusive,
                const std::string& file) {
  if (number == 0) return StartUpSet(ctx, areas);
  if (number == 41) {
    const TableDef* t21 = FindTable(21);
    OpenRequest req = CatalogueRequest(ctx, *t21, exclusive);
    req.area = 41;
    if (!file.empty()) {
      req.file = file;
      req.keys = {{"", "CPF"}, {"", "COD_CONTA"}};
    }
    return RET_FECHAJAN(ctx, ABREARQ(ctx, areas, req));
  }
  const TableDef* def = FindTable(number);
  if (def == nullptr) return Status::NotFound("no table " + std::to_string(number));
  if (number == 45 && !(InstallationFileExists(ctx, "HELPTXT.DBF") &&
                        InstallationFileExists(ctx, "HELPTXT.DBT"))) {
    return Status::Ok();
  }
  Status st = ABREARQ(ctx, areas, CatalogueRequest(ctx, *def, exclusive));
  if (st.ok() && number == 50) {
    if (WorkArea* list = areas.Get(50)) st = SeedFolderList(ctx, *list);
  }
  if (EndsWithSaiAbre(number)) {
    SAI_ABRE(ctx, areas, number);
    return st;
  }
  return RET_FECHAJAN(ctx, st);
}

Status OpenWorkCopy(OpenerContext& ctx, WorkAreas& areas, int table_number, bool exclusive) {
  const TableDef* w = FindWorkCopy(table_number);
  if (w == nullptr) return Status::NotFound("no work copy of table " + std::to_string(table_number));
  return RET_FECHAJAN(ctx, ABREARQ(ctx, areas, CatalogueRequest(ctx, *w, exclusive)));
}

}  // namespace dodu::store
